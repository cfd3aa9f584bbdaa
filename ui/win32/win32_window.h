#pragma once

#include "ui/controls.h"
#include "ui/layout.h"

#include <windows.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace ui::win32 {

// A top-level Win32 window built from a layout table, with what both of
// the program's windows need so that Win32 delivers events the way the
// form's routers expect them:
// - every control a child of the window (the white panels are painted),
//   the focusable ones first so that the dialog manager's tab order is the
//   table's, fonts and pictures at the window's DPI, laid out again when
//   the DPI changes;
// - the edit boxes claim Enter (it reaches the key procedure as 13) and
//   report each typed character, each real change of their text and each
//   loss of the focus; the buttons take the focus before their press and
//   drop a press that did not keep it (a validation failed);
// - Enter on a focused button presses it; Escape and Enter elsewhere do
//   nothing (no default or cancel button);
// - the window remembers its focused control across deactivation.
// The subclasses forward to the virtual handlers below and decide nothing.
class Win32Window {
public:
    Win32Window(const layout::WindowDesign &design, HINSTANCE instance, DWORD style, HMENU menu);
    virtual ~Win32Window();
    Win32Window(const Win32Window &) = delete;
    Win32Window &operator=(const Win32Window &) = delete;

    HWND hwnd() const { return m_hwnd; }
    UINT dpi() const { return m_dpi; }
    // The control named in the layout table, or null.
    HWND control(std::string_view name) const;
    // The control of this window with events that `window` is, or None.
    Control controlOf(HWND window) const;
    Control focused() const { return controlOf(GetFocus()); }
    // The control that holds the focus, or held it when the window was
    // last active (a hidden window keeps it for its return).
    Control lastFocused() const;

    // Shows the window and activates it; the first time with the focus on
    // the first control in tab order, later with the focus it had.
    void showWindow();
    void hideWindow();
    // Destroys the window now; the object goes as soon as none of its own
    // events is under way.
    void destroyLater();

    // The registered class of these windows.
    static const wchar_t *ClassName();

protected:
    // Runs an event handler, counting it so that a window destroyed inside
    // its own event is deleted only afterwards.
    template <class Handler>
    void forward(Handler handler)
    {
        ++m_forwarding;
        handler();
        if (--m_forwarding == 0 && m_deletePending)
            delete this;
    }

    virtual void onClose() = 0;
    virtual void onClicked(Control) { }
    virtual void onMenu(int /*index*/) { }
    virtual void onChar(Control, std::int16_t) { }
    virtual void onTextChanged(Control) { }
    virtual void onFocusLost(Control /*from*/, Control /*to*/) { }

    static constexpr int ControlIdBase = 100; // never IDOK (1) or IDCANCEL (2)
    static constexpr int MenuIdBase = 1000;

private:
    struct Child {
        const layout::ControlDesign *design;
        HWND hwnd;
        int id;
        HBITMAP picture = nullptr;
        std::u16string lastText; // edit boxes: the text last reported
    };

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data);
    LRESULT handleControl(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void layoutControls();
    void fitClientArea();
    void paintPanels(HDC dc);
    Child *child(HWND window);
    const Child *child(HWND window) const;

    const layout::WindowDesign &m_design;
    HINSTANCE m_instance;
    HWND m_hwnd = nullptr;
    UINT m_dpi = 96;
    std::vector<Child> m_children;
    std::vector<HWND> m_nameLabels; // hidden labels that name the boxes for screen readers
    std::map<const layout::Font *, HFONT> m_fonts;
    HBRUSH m_white;
    HWND m_savedFocus = nullptr;
    bool m_shown = false;
    int m_forwarding = 0;
    bool m_deletePending = false;
};

} // namespace ui::win32
