#pragma once

#include <string>
#include <string_view>

namespace ui {

// What an event procedure may do with the controls around it. The
// procedures see nothing else of a toolkit: each toolkit implements these on
// its own controls, the window model in memory for fast tests.

// An input box. The same-text rule lives here, once, for every toolkit:
// writing the text the box already holds changes nothing and runs no
// change procedure (some native boxes report a change even then).
class TextBox {
public:
    virtual ~TextBox() = default;

    std::u16string text() const { return readText(); }
    // Writing a different text runs the box's change procedure before
    // returning.
    void setText(std::u16string_view text)
    {
        if (text != readText())
            writeText(text);
    }
    virtual void setFocus() = 0;
    // Selects the whole text, as a box does when it takes the focus from
    // the keyboard, so that typing replaces it.
    virtual void selectAll() = 0;

protected:
    virtual std::u16string readText() const = 0;
    // Puts a text that differs from the present one into the native box;
    // the toolkit reports the change to the form before this returns.
    virtual void writeText(std::u16string_view text) = 0;
};

class Label {
public:
    virtual ~Label() = default;
    // The caption as the program set it; a carriage return in it is a line
    // break on screen.
    virtual std::u16string caption() const = 0;
    virtual void setCaption(std::u16string_view caption) = 0;
};

enum class FormId { Main, About };

// The controls that events come from: the five focusable controls of the
// main window and the About window's button. None stands for anything that
// is not a control of the window concerned (its menu bar, a message box,
// another window, no focus at all).
enum class Control { None, txtT, txtL, cmdCalc, cmdReset, cmdExit, cmdOK };

// The entries of the main window's menus that have a procedure.
enum class MenuItem { None, mnuCalc, mnuReset, mnuExit, mnuInstructions, mnuAbout };

} // namespace ui
