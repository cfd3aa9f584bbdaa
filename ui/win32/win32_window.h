#pragma once

#include "ui/controls.h"
#include "ui/layout.h"
#include "ui/window_system.h"

#include <windows.h>

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace ui::win32 {

// A top-level Win32 window built from a layout table (the main window with
// its menu bar and Ctrl shortcuts, or the About window with the close box
// only), with what both of the program's windows need so that Win32
// delivers events the way the form's routers expect them:
// - every control a child of the window (the white panels are painted),
//   the focusable ones first so that the dialog manager's tab order is the
//   table's, fonts and pictures at the window's DPI, laid out again when
//   the DPI changes;
// - the edit boxes claim Enter (it reaches the key procedure as 13) and
//   report each typed character, each change of their text and each loss
//   of the focus; the buttons and the boxes take the focus before a click
//   and drop a click that did not keep it (a validation failed), so that a
//   refused click neither presses a button nor moves a box's caret;
// - Enter on a focused button presses it; Escape and Enter elsewhere do
//   nothing (no default or cancel button); a letter typed on a button, or
//   Enter with Ctrl held, does nothing (only Alt+letter is an access key);
// - the window gives the focus back to the control that had it when it is
//   activated again.
// Every event goes through the event link; nothing is decided here.
class Win32Window : public NativeWindow {
public:
    Win32Window(const layout::WindowDesign &design, Form &form, HINSTANCE instance);
    ~Win32Window() override;

    HWND hwnd() const { return m_hwnd; }
    UINT dpi() const { return m_dpi; }
    // The control named in the layout table, or null.
    HWND control(std::string_view name) const;
    // The control of this window with events that `window` is, or None.
    Control controlOf(HWND window) const;
    // The control that holds the focus, or held it when the window was
    // last active.
    Control lastFocused() const;
    // The Ctrl shortcuts of the menus, for the message loop to translate
    // while a message is for this window (and only then: the hidden main
    // window must not take the About window's keys); null without menus.
    HACCEL accelerators() const { return m_accelerators; }

    void showWindow() override;
    void hideWindow() override;
    Control focused() const override { return controlOf(GetFocus()); }
    void focus(Control control) override;
    std::unique_ptr<TextBox> textBox(std::string_view name) override;
    std::unique_ptr<Label> label(std::string_view name) override;
    void destroyWindow(bool eventUnderWay) override;

    // The registered class of these windows.
    static const wchar_t *className();

private:
    struct Child {
        const layout::ControlDesign *design;
        HWND hwnd;
        int id;
        HBITMAP picture = nullptr;
    };

    static constexpr int ControlIdBase = 100; // never IDOK (1) or IDCANCEL (2)
    static constexpr int MenuIdBase = 1000;

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data);
    LRESULT handleControl(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createMenus();
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
    HACCEL m_accelerators = nullptr;
    std::vector<Child> m_children;
    std::vector<HWND> m_nameLabels; // hidden labels that name the boxes for screen readers
    std::map<const layout::Font *, HFONT> m_fonts;
    HBRUSH m_white;
    HWND m_savedFocus = nullptr;
};

} // namespace ui::win32
