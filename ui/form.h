#pragma once

#include "ui/controls.h"

#include <cstdint>
#include <functional>

namespace runtime {
class Error;
}

namespace ui {

class Forms;

// What both window classes share: the lifecycle they belong to, the routers
// through which a toolkit delivers every event (a window class overrides
// those it has procedures for; the others do nothing) and the one error
// dispatch. Every entry from a toolkit (a router, a load or unload) runs
// through run(), so no error ever unwinds into the toolkit: an error
// abandons the procedure and its callers and becomes a message, and the
// program goes on. After the program's end nothing runs.
class Form {
public:
    explicit Form(Forms &forms) : m_forms(forms) { }
    virtual ~Form() = default;
    Form(const Form &) = delete;
    Form &operator=(const Form &) = delete;

    void run(const std::function<void()> &procedure);

    // Routers. A toolkit reports:
    // - a button clicked or pressed (mouse, Enter, Space, access key);
    virtual void Click(Control) { }
    // - a character typed into a box, before the box takes it, whatever
    //   its code (Enter is 13); the form decides which codes it hears;
    virtual void KeyPress(Control, std::int16_t) { }
    // - the text of a box changed, typed or written by a procedure;
    virtual void textChanged(Control) { }
    // - a menu entry chosen by mouse, access key or shortcut;
    virtual void menuChosen(MenuItem) { }
    // - every move of the focus in the window, with None for anything that
    //   is not one of its controls;
    virtual void focusMoved(Control, Control) { }
    // - the close box, the system menu's Close or Alt+F4.
    virtual void closeRequested() { }

protected:
    // Shows an error that a procedure raised and none trapped.
    virtual void present(const runtime::Error &error);

    Forms &m_forms;
};

} // namespace ui
