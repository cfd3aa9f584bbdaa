#pragma once

#include "ui/controls.h"

#include <string>

namespace ui::web {

class WebWindow;

// The control interfaces on the page's elements.

// An <input> as a TextBox. Setting the value of an input fires no event in
// a browser, so a write reports the change to the form itself, before it
// returns, as the other toolkits' boxes do.
class WebTextBox : public TextBox {
public:
    WebTextBox(WebWindow &window, std::string name, Control id);
    void setFocus() override;
    void selectAll() override;

protected:
    std::u16string readText() const override;
    void writeText(std::u16string_view text) override;

private:
    WebWindow &m_window;
    std::string m_name;
    Control m_id;
};

// A label or output element as a Label: the caption is kept as the program
// set it and shown with its carriage returns as line breaks.
class WebLabel : public Label {
public:
    WebLabel(WebWindow &window, std::string name);
    std::u16string caption() const override { return m_caption; }
    void setCaption(std::u16string_view caption) override;

private:
    WebWindow &m_window;
    std::string m_name;
    std::u16string m_caption;
    // The caption as the page shows it, its line breaks as line feeds. Kept
    // here rather than built in a local: the module comes out about 500
    // bytes smaller.
    std::u16string m_shown;
};

} // namespace ui::web
