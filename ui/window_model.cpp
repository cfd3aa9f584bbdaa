#include "ui/window_model.h"

#include "ui/about/about_form.h"
#include "ui/layout.h"
#include "ui/main/main_form.h"
#include "ui/main/main_layout.h"

namespace ui {

namespace {

bool isButton(Control c)
{
    return c == Control::cmdCalc || c == Control::cmdReset || c == Control::cmdExit;
}

class Caption : public Label {
public:
    std::u16string caption() const override { return m_caption; }
    void setCaption(std::u16string_view caption) override { m_caption = caption; }

private:
    std::u16string m_caption;
};

} // namespace

class WindowModel::Main : public MainWindow {
public:
    Main(WindowModel &model, MainForm &form) : m_model(model), m_form(form) { m_model.m_main = this; }
    ~Main() override { m_model.m_main = nullptr; }

    class Box : public TextBox {
    public:
        Box(Main &window, Control control) : m_window(window), m_control(control) { }
        void setFocus() override { m_window.moveFocus(m_control); }

    protected:
        std::u16string readText() const override { return m_text; }
        void writeText(std::u16string_view text) override
        {
            m_text = text;
            m_window.m_form.TextChanged(m_control);
        }

    private:
        Main &m_window;
        Control m_control;
        std::u16string m_text;
    };

    void show() override
    {
        if (!m_shown)
            m_focus = layout::TabOrder(MainLayout()).front()->id;
        m_shown = m_visible = true;
    }
    void hide() override { m_visible = false; }
    TextBox &txtT() override { return m_txtT; }
    TextBox &txtL() override { return m_txtL; }
    Label &lblLT() override { return m_lblLT; }
    Label &lblF() override { return m_lblF; }
    Control focused() const override { return m_focus; }

    // A focus move, reported the way a toolkit reports it: after the focus
    // has moved.
    void moveFocus(Control to)
    {
        if (to == m_focus)
            return;
        const Control from = m_focus;
        m_focus = to;
        m_form.FocusMoved(from, to);
    }

    Box *box(Control control)
    {
        return control == Control::txtT ? &m_txtT : control == Control::txtL ? &m_txtL : nullptr;
    }

    WindowModel &m_model;
    MainForm &m_form;
    Box m_txtT{*this, Control::txtT};
    Box m_txtL{*this, Control::txtL};
    Caption m_lblLT;
    Caption m_lblF;
    Control m_focus = Control::None;
    bool m_shown = false;
    bool m_visible = false;
};

class WindowModel::About : public AboutWindow {
public:
    About(WindowModel &model, AboutForm &form) : m_model(model), m_form(form) { m_model.m_about = this; }
    ~About() override { m_model.m_about = nullptr; }

    void show() override { m_visible = true; }
    void hide() override { m_visible = false; }
    Label &lblTheLabel() override { return m_label; }

    WindowModel &m_model;
    AboutForm &m_form;
    Caption m_label;
    bool m_visible = false;
};

WindowModel::WindowModel()
{
    m_forms.Start();
}

WindowModel::~WindowModel() = default;

std::unique_ptr<MainWindow> WindowModel::createMainWindow(MainForm &form)
{
    return std::make_unique<Main>(*this, form);
}

std::unique_ptr<AboutWindow> WindowModel::createAboutWindow(AboutForm &form)
{
    return std::make_unique<About>(*this, form);
}

void WindowModel::messageBox(std::u16string_view prompt, std::u16string_view title)
{
    m_messages.push_back({std::u16string(prompt), std::u16string(title)});
}

std::u16string WindowModel::text(Control box) const
{
    if (!m_main)
        return {};
    return box == Control::txtT ? m_main->m_txtT.text() : m_main->m_txtL.text();
}

std::u16string WindowModel::lblLT() const
{
    return m_main ? m_main->m_lblLT.caption() : std::u16string();
}

std::u16string WindowModel::lblF() const
{
    return m_main ? m_main->m_lblF.caption() : std::u16string();
}

Control WindowModel::focus() const
{
    return m_main ? m_main->m_focus : Control::None;
}

bool WindowModel::mainVisible() const
{
    return m_main && m_main->m_visible;
}

bool WindowModel::aboutVisible() const
{
    return m_about && m_about->m_visible;
}

std::u16string WindowModel::aboutText() const
{
    return m_about ? m_about->m_label.caption() : std::u16string();
}

void WindowModel::setAboutText(std::u16string_view text)
{
    if (m_about)
        m_about->m_label.setCaption(text);
}

bool WindowModel::mainUsable() const
{
    return mainVisible() && !ended();
}

void WindowModel::typeText(std::u16string_view characters)
{
    for (char16_t c : characters) {
        if (!mainUsable())
            return;
        const Control target = m_main->m_focus;
        Main::Box *box = m_main->box(target);
        if (!box)
            return;
        m_main->m_form.KeyPress(target, static_cast<std::int16_t>(c));
        // A single-line box takes no line break; the key procedure may have
        // moved the focus (an error message hands it to a box) or ended the
        // program.
        if (c != u'\r' && c != u'\n' && mainUsable() && m_main->m_focus == target)
            box->setText(box->text() + c);
    }
}

void WindowModel::pasteText(std::u16string_view text)
{
    if (!mainUsable())
        return;
    if (Main::Box *box = m_main->box(m_main->m_focus))
        box->setText(text);
}

void WindowModel::replaceText(std::u16string_view text)
{
    if (!mainUsable())
        return;
    const Control target = m_main->m_focus;
    Main::Box *box = m_main->box(target);
    if (!box)
        return;
    if (text.empty()) {
        box->setText(u"");
        return;
    }
    // The first key replaces the selection, the others follow it.
    m_main->m_form.KeyPress(target, static_cast<std::int16_t>(text.front()));
    if (mainUsable() && m_main->m_focus == target)
        box->setText(text.substr(0, 1));
    typeText(text.substr(1));
}

void WindowModel::pressEnter()
{
    pressOnFocus(u'\r');
}

void WindowModel::pressSpace()
{
    pressOnFocus(u' ');
}

// Enter and Space type into a box and press a focused button.
void WindowModel::pressOnFocus(char16_t key)
{
    if (!mainUsable())
        return;
    if (m_main->box(m_main->m_focus))
        typeText(std::u16string_view(&key, 1));
    else if (isButton(m_main->m_focus))
        m_main->m_form.Click(m_main->m_focus);
}

void WindowModel::pressEscape()
{
    // No control and no cancel button does anything with Escape.
    if (mainUsable() && m_main->box(m_main->m_focus))
        m_main->m_form.KeyPress(m_main->m_focus, 27);
}

void WindowModel::tab()
{
    moveInTabOrder(1);
}

void WindowModel::backTab()
{
    moveInTabOrder(layout::TabOrder(MainLayout()).size() - 1);
}

void WindowModel::moveInTabOrder(std::size_t step)
{
    if (!mainUsable())
        return;
    const auto order = layout::TabOrder(MainLayout());
    for (std::size_t i = 0; i < order.size(); ++i)
        if (order[i]->id == m_main->m_focus)
            return m_main->moveFocus(order[(i + step) % order.size()]->id);
}

void WindowModel::click(Control control)
{
    if (!mainUsable())
        return;
    m_main->moveFocus(control);
    if (isButton(control) && mainUsable())
        m_main->m_form.Click(control);
}

void WindowModel::accessKey(Control button)
{
    click(button);
}

void WindowModel::menu(MenuItem item)
{
    if (mainUsable())
        m_main->m_form.MenuChosen(item);
}

void WindowModel::closeMain()
{
    if (mainUsable())
        m_main->m_form.CloseRequested();
}

void WindowModel::clickAboutOK()
{
    if (m_about && !ended())
        m_about->m_form.Click(Control::cmdOK);
}

void WindowModel::closeAbout()
{
    if (m_about && !ended())
        m_about->m_form.CloseRequested();
}

} // namespace ui
