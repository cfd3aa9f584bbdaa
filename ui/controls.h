#pragma once

#include <string>
#include <string_view>

namespace ui {

// What an event procedure may do with the controls and windows around it.
// The procedures see nothing else of the toolkit: the Qt windows implement
// these on real widgets, the window model in memory for fast tests.

class TextBox {
public:
    virtual ~TextBox() = default;
    virtual std::u16string text() const = 0;
    // Writing a different text runs the box's change procedure before
    // returning; writing the text it already holds changes nothing.
    virtual void setText(std::u16string_view text) = 0;
    virtual void setFocus() = 0;
};

class Label {
public:
    virtual ~Label() = default;
    // The caption as the program set it; a carriage return in it is a line
    // break on screen.
    virtual std::u16string caption() const = 0;
    virtual void setCaption(std::u16string_view caption) = 0;
};

// A form's own window.
class FormWindow {
public:
    virtual ~FormWindow() = default;
    // Hides the window; it stays loaded with every text as it is.
    virtual void hide() = 0;
    // Destroys the window after running the form's unload procedure (which
    // may cancel).
    virtual void unload() = 0;
};

enum class FormId { Main, About };

// The application-wide services: modal messages, the window instances and
// the end of the program.
class Shell {
public:
    virtual ~Shell() = default;
    // A modal message with one OK button and no icon. An empty title gives
    // the application title.
    virtual void MsgBox(std::u16string_view prompt, std::u16string_view title = {}) = 0;
    // Shows the one instance of a form, modeless, creating and loading it
    // first when needed; a loaded but hidden form just becomes visible.
    virtual void ShowForm(FormId form) = 0;
    // Ends the program at once; no procedure runs afterwards.
    virtual void End() = 0;
};

inline constexpr std::u16string_view ApplicationTitle = u"Emberline";

} // namespace ui
