#include "ui/memory_window.h"

namespace ui {

class MemoryWindow::Box : public TextBox {
public:
    Box(MemoryWindow &window, Control control, std::u16string &text)
        : m_window(window), m_control(control), m_text(text)
    {
    }
    void setFocus() override { m_window.moveFocus(m_control); }
    void selectAll() override { m_window.selection(m_control) = {0, m_text.size()}; }

protected:
    std::u16string readText() const override { return m_text; }
    void writeText(std::u16string_view text) override
    {
        m_text = text;
        m_window.selection(m_control) = {m_text.size(), m_text.size()};
        m_window.link().textChanged(m_control);
    }

private:
    MemoryWindow &m_window;
    Control m_control;
    std::u16string &m_text;
};

class MemoryWindow::Caption : public Label {
public:
    explicit Caption(std::u16string &caption) : m_caption(caption) { }
    std::u16string caption() const override { return m_caption; }
    void setCaption(std::u16string_view caption) override { m_caption = caption; }

private:
    std::u16string &m_caption;
};

MemoryWindow::MemoryWindow(Form &form, const layout::WindowDesign &design, MemoryWindow *&loaded)
    : NativeWindow(form), m_design(design), m_loaded(loaded)
{
    m_loaded = this;
}

MemoryWindow::~MemoryWindow()
{
    if (m_loaded == this)
        m_loaded = nullptr;
}

std::unique_ptr<TextBox> MemoryWindow::textBox(std::string_view name)
{
    return std::make_unique<Box>(*this, layout::find(m_design, name)->id, m_texts[std::string(name)]);
}

std::unique_ptr<Label> MemoryWindow::label(std::string_view name)
{
    return std::make_unique<Caption>(m_texts[std::string(name)]);
}

void MemoryWindow::destroyWindow(bool eventUnderWay)
{
    // Gone for the user at once. Like a toolkit's window as it goes, it
    // reports the focus leaving its control: the window is unloaded, so
    // the form hears nothing of it. The object outlives the event that
    // unloaded it.
    m_visible = false;
    m_loaded = nullptr;
    moveFocus(Control::None);
    deleteWhenIdle(eventUnderWay);
}

void MemoryWindow::moveFocus(Control to)
{
    if (to == m_focus)
        return;
    const Control from = m_focus;
    m_focus = to;
    link().focusMoved(from, to);
}

} // namespace ui
