#include "ui/window_model.h"

#include <array>

namespace ui {

namespace {

constexpr std::array<Control, 5> TabOrder = {Control::txtT, Control::txtL, Control::cmdCalc,
                                             Control::cmdReset, Control::cmdExit};

bool isButton(Control c)
{
    return c == Control::cmdCalc || c == Control::cmdReset || c == Control::cmdExit;
}

} // namespace

void WindowModel::Box::setText(std::u16string_view text)
{
    if (text == m_text)
        return;
    m_text = text;
    MainForm &form = *m_model.m_main;
    if (m_control == Control::txtT)
        form.Run([&form] { form.txtT_Change(); });
    else
        form.Run([&form] { form.txtL_Change(); });
}

void WindowModel::AboutWindow::unload()
{
    std::int16_t cancel = 0;
    m_model.m_about->form.Form_Unload(cancel);
    if (cancel == 0)
        m_model.m_unloadedAbout = std::move(m_model.m_about);
}

WindowModel::About::About(WindowModel &model)
    : window(model), form(AboutControls{lblTheLabel, window}, model)
{
}

WindowModel::WindowModel()
{
    ShowForm(FormId::Main);
    m_focus = Control::txtT;
}

WindowModel::~WindowModel() = default;

std::u16string WindowModel::text(Control control) const
{
    return control == Control::txtT ? m_txtT.text() : m_txtL.text();
}

std::u16string WindowModel::aboutText() const
{
    return m_about ? m_about->lblTheLabel.caption() : std::u16string();
}

WindowModel::Box *WindowModel::box(Control control)
{
    if (control == Control::txtT)
        return &m_txtT;
    if (control == Control::txtL)
        return &m_txtL;
    return nullptr;
}

void WindowModel::moveFocus(Control to)
{
    if (to == m_focus)
        return;
    // As in Qt, the focus has already moved when the control that lost it
    // hears of it.
    const Control from = m_focus;
    m_focus = to;
    if (m_main)
        m_main->FocusMoved(from, to);
}

void WindowModel::keyPress(std::int16_t code)
{
    MainForm &form = *m_main;
    if (m_focus == Control::txtT)
        form.Run([&form, code]() mutable { form.txtT_KeyPress(code); });
    else if (m_focus == Control::txtL)
        form.Run([&form, code]() mutable { form.txtL_KeyPress(code); });
}

void WindowModel::typeText(std::u16string_view characters)
{
    for (char16_t c : characters) {
        Box *target = box(m_focus);
        if (!target || !mainUsable())
            return;
        keyPress(static_cast<std::int16_t>(c));
        // A single-line box takes no line break; the key procedure may have
        // moved the focus (an error message hands it to a box).
        if (c != u'\r' && c != u'\n' && box(m_focus) == target)
            target->setText(target->text() + c);
    }
}

void WindowModel::pasteText(std::u16string_view text)
{
    if (!mainUsable())
        return;
    if (Box *target = box(m_focus))
        target->setText(text);
}

void WindowModel::replaceText(std::u16string_view text)
{
    if (!mainUsable())
        return;
    Box *target = box(m_focus);
    if (!target)
        return;
    if (text.empty()) {
        target->setText(u"");
        return;
    }
    // The first key replaces the selection, the others follow it.
    keyPress(static_cast<std::int16_t>(text.front()));
    if (box(m_focus) == target)
        target->setText(text.substr(0, 1));
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
    if (box(m_focus))
        typeText(std::u16string_view(&key, 1));
    else if (isButton(m_focus))
        buttonAction(m_focus);
}

void WindowModel::pressEscape()
{
    if (!mainUsable())
        return;
    // No control and no cancel button does anything with Escape.
    if (box(m_focus))
        keyPress(27);
}

void WindowModel::tab()
{
    moveInTabOrder(1);
}

void WindowModel::backTab()
{
    moveInTabOrder(TabOrder.size() - 1);
}

void WindowModel::moveInTabOrder(std::size_t step)
{
    if (!mainUsable())
        return;
    for (std::size_t i = 0; i < TabOrder.size(); ++i)
        if (TabOrder[i] == m_focus)
            return moveFocus(TabOrder[(i + step) % TabOrder.size()]);
}

void WindowModel::click(Control control)
{
    if (!mainUsable())
        return;
    moveFocus(control);
    // A failed validation has handed the focus back to its box: the
    // button is not pressed.
    if (isButton(control) && m_focus == control)
        buttonAction(control);
}

void WindowModel::accessKey(Control button)
{
    click(button);
}

void WindowModel::buttonAction(Control button)
{
    MainForm &form = *m_main;
    switch (button) {
    case Control::cmdCalc:
        form.Run([&form] { form.cmdCalc_Click(); });
        break;
    case Control::cmdReset:
        form.Run([&form] { form.cmdReset_Click(); });
        break;
    case Control::cmdExit:
        form.Run([&form] { form.cmdExit_Click(); });
        break;
    default:
        break;
    }
}

void WindowModel::menu(Menu item)
{
    if (!mainUsable())
        return;
    MainForm &form = *m_main;
    switch (item) {
    case Menu::Calc:
        form.Run([&form] { form.mnuCalc_Click(); });
        break;
    case Menu::Reset:
        form.Run([&form] { form.mnuReset_Click(); });
        break;
    case Menu::Exit:
        form.Run([&form] { form.mnuExit_Click(); });
        break;
    case Menu::Instructions:
        form.Run([&form] { form.mnuInstructions_Click(); });
        break;
    case Menu::About:
        form.Run([&form] { form.mnuAbout_Click(); });
        break;
    }
}

void WindowModel::closeMain()
{
    // frmMain has no unload procedure; with no window left the program ends.
    if (!mainUsable())
        return;
    m_mainVisible = false;
    m_ended = true;
}

void WindowModel::clickAboutOK()
{
    if (m_about)
        m_about->form.cmdOK_Click();
    m_unloadedAbout.reset();
}

void WindowModel::closeAbout()
{
    if (m_about)
        m_about->window.unload();
    m_unloadedAbout.reset();
}

void WindowModel::MsgBox(std::u16string_view prompt, std::u16string_view title)
{
    m_messages.push_back({std::u16string(prompt), std::u16string(title.empty() ? ApplicationTitle : title)});
}

void WindowModel::ShowForm(FormId form)
{
    if (form == FormId::Main) {
        if (!m_main) {
            m_main = std::make_unique<MainForm>(MainControls{m_txtT, m_txtL, m_lblLT, m_lblF, m_mainWindow}, *this);
            ++m_mainLoads;
            m_main->Run([this] { m_main->Form_Load(); });
        }
        m_mainVisible = true;
        return;
    }
    if (!m_about) {
        m_about = std::make_unique<About>(*this);
        ++m_aboutLoads;
        m_about->form.Form_Load();
    }
}

void WindowModel::End()
{
    m_ended = true;
}

} // namespace ui
