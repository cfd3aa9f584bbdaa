#pragma once

#include "ui/controls.h"
#include "ui/event_link.h"

#include <memory>
#include <optional>
#include <string_view>

namespace ui::layout {
struct WindowDesign;
}

namespace ui {

class Form;

// What the window lifecycle (ui::Forms) asks of a toolkit: native windows
// built from the layout tables, modal message boxes and the end of the
// program. A toolkit implements these and nothing of the rules above them.

// A window as a toolkit builds it from a layout table, with every event of
// its controls sent through its link to the form. It only does what it is
// told: where the focus goes when it is shown again, whether an event
// counts, when it goes, are decided above it.
class NativeWindow {
public:
    explicit NativeWindow(Form &form) : m_link(form) { }
    virtual ~NativeWindow() = default;
    NativeWindow(const NativeWindow &) = delete;
    NativeWindow &operator=(const NativeWindow &) = delete;

    EventLink &link() { return m_link; }

    // Makes the window visible and active, modeless; the first time the
    // window system places it, later it comes back where it was.
    virtual void showWindow() = 0;
    // Hides the window; it stays loaded with every text as it is.
    virtual void hideWindow() = 0;
    // The control of this window that holds the focus (None when the focus
    // is on anything else), and a move of the focus to one of them.
    virtual Control focused() const = 0;
    virtual void focus(Control control) = 0;
    // The toolkit's box or label for the control named in the layout table.
    virtual std::unique_ptr<TextBox> textBox(std::string_view name) = 0;
    virtual std::unique_ptr<Label> label(std::string_view name) = 0;
    // Destroys the window and its controls; it is hidden at once. With
    // `eventUnderWay` one of the window's own events is still running
    // (the window was unloaded inside it): what that event's code still
    // uses must outlive it.
    virtual void destroyWindow(bool eventUnderWay) = 0;

protected:
    // Deletes this object now, or, inside one of its own events, as soon as
    // the outermost one has returned, since its code still runs on it.
    void deleteWhenIdle(bool eventUnderWay)
    {
        if (eventUnderWay)
            m_link.whenIdle([this] { delete this; });
        else
            delete this;
    }

private:
    EventLink m_link;
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // Builds the window `id` and its controls from its layout table, not
    // yet shown, with its events linked to the form. The window lives until
    // the lifecycle destroys it.
    virtual NativeWindow &createWindow(FormId id, const layout::WindowDesign &design, Form &form) = 0;
    // A modal message box with one OK button and no icon, owned by the
    // window the lifecycle names (the one shown) or by none; returns when
    // the user has closed it.
    virtual void messageBox(std::u16string_view prompt, std::u16string_view title, std::optional<FormId> owner) = 0;
    // Ends the program at once; no procedure runs afterwards.
    virtual void quit() = 0;
};

} // namespace ui
