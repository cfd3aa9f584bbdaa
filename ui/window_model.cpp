#include "ui/window_model.h"

#include "ui/layout.h"
#include "ui/main/main_layout.h"

#include <algorithm>

namespace ui {

namespace {

bool isButton(Control c)
{
    return c == Control::cmdCalc || c == Control::cmdReset || c == Control::cmdExit;
}

const char *boxName(Control box)
{
    return box == Control::txtT ? "txtT" : "txtL";
}

} // namespace

WindowModel::WindowModel()
{
    m_forms.start();
}

WindowModel::~WindowModel() = default;

NativeWindow &WindowModel::createWindow(FormId id, const layout::WindowDesign &design, Form &form)
{
    return *new MemoryWindow(form, design, id == FormId::Main ? m_main : m_about);
}

void WindowModel::messageBox(std::u16string_view prompt, std::u16string_view title, std::optional<FormId> owner)
{
    m_messages.push_back({std::u16string(prompt), std::u16string(title), owner});
}

std::u16string WindowModel::text(Control box) const
{
    return m_main ? m_main->text(boxName(box)) : std::u16string();
}

std::u16string WindowModel::lblLT() const
{
    return m_main ? m_main->text("lblLT") : std::u16string();
}

std::u16string WindowModel::lblF() const
{
    return m_main ? m_main->text("lblF") : std::u16string();
}

Control WindowModel::focus() const
{
    return m_main ? m_main->focused() : Control::None;
}

bool WindowModel::mainVisible() const
{
    return m_main && m_main->visible();
}

bool WindowModel::aboutVisible() const
{
    return m_about && m_about->visible();
}

std::u16string WindowModel::aboutText() const
{
    return m_about ? m_about->text("lblTheLabel") : std::u16string();
}

WindowModel::Selection WindowModel::selection(Control box) const
{
    return m_main ? m_main->selection(box) : Selection{};
}

void WindowModel::placeCaret(Control box, Selection selection)
{
    if (m_main)
        m_main->selection(box) = selection;
}

void WindowModel::setAboutText(std::u16string_view text)
{
    if (m_about)
        m_about->text("lblTheLabel") = text;
}

bool WindowModel::mainUsable() const
{
    return mainVisible() && !ended();
}

Control WindowModel::typingTarget() const
{
    if (!mainUsable())
        return Control::None;
    const Control focus = m_main->focused();
    return focus == Control::txtT || focus == Control::txtL ? focus : Control::None;
}

void WindowModel::edit(Control box, std::u16string text, Selection selection)
{
    m_main->text(boxName(box)) = std::move(text);
    m_main->selection(box) = selection;
    m_main->link().textChanged(box);
}

bool WindowModel::replaceSelection(std::u16string_view text)
{
    const Control target = typingTarget();
    if (target == Control::None)
        return false;
    std::u16string content = m_main->text(boxName(target));
    const Selection s = m_main->selection(target);
    const std::size_t start = std::min(s.start, content.size());
    const std::size_t end = std::min(std::max(s.end, start), content.size());
    content.replace(start, end - start, text);
    const std::size_t caret = start + text.size();
    edit(target, std::move(content), {caret, caret});
    return true;
}

void WindowModel::typeText(std::u16string_view characters)
{
    for (char16_t c : characters) {
        const Control target = typingTarget();
        if (target == Control::None) {
            // A focused button, the About window's OK included, takes Enter
            // and Space as a press, and no other character.
            if (c == u'\r' || c == u' ')
                pressOnFocus(c);
            continue;
        }
        m_main->link().keyPress(target, static_cast<std::int16_t>(c));
        // A single-line box takes no line break; the key procedure may have
        // moved the focus (an error message hands it to a box) or ended the
        // program.
        if (c != u'\r' && c != u'\n' && typingTarget() == target)
            replaceSelection(std::u16string_view(&c, 1));
    }
}

void WindowModel::pasteText(std::u16string_view text)
{
    replaceSelection(text);
}

void WindowModel::selectAll()
{
    if (const Control target = typingTarget(); target != Control::None)
        m_main->selection(target) = {0, m_main->text(boxName(target)).size()};
}

void WindowModel::home()
{
    if (const Control target = typingTarget(); target != Control::None)
        m_main->selection(target) = {0, 0};
}

void WindowModel::end()
{
    if (const Control target = typingTarget(); target != Control::None) {
        const std::size_t size = m_main->text(boxName(target)).size();
        m_main->selection(target) = {size, size};
    }
}

void WindowModel::backspace()
{
    const Control target = typingTarget();
    if (target == Control::None)
        return;
    Selection &s = m_main->selection(target);
    if (s.start == s.end) {
        if (s.start == 0)
            return; // nothing before the caret: no edit
        --s.start;
    }
    replaceSelection({});
}

void WindowModel::deleteKey()
{
    const Control target = typingTarget();
    if (target == Control::None)
        return;
    Selection &s = m_main->selection(target);
    if (s.start == s.end) {
        if (s.end >= m_main->text(boxName(target)).size())
            return; // nothing after the caret: no edit
        ++s.end;
    }
    replaceSelection({});
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
    if (!mainUsable()) {
        // About's OK, its one control, has the focus.
        if (aboutVisible() && !ended())
            clickAboutOK();
        return;
    }
    if (typingTarget() != Control::None)
        typeText(std::u16string_view(&key, 1));
    else if (isButton(m_main->focused()))
        m_main->link().click(m_main->focused());
}

void WindowModel::pressEscape()
{
    // A box reports the key like any other; no control and no cancel
    // button does anything with it.
    if (const Control target = typingTarget(); target != Control::None)
        m_main->link().keyPress(target, 27);
}

void WindowModel::tab()
{
    moveInTabOrder(1);
}

void WindowModel::backTab()
{
    moveInTabOrder(layout::tabOrder(mainLayout()).size() - 1);
}

void WindowModel::moveInTabOrder(std::size_t step)
{
    if (!mainUsable())
        return;
    const auto order = layout::tabOrder(mainLayout());
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (order[i]->id != m_main->focused())
            continue;
        // A box reached from the keyboard has its whole text selected.
        const Control to = order[(i + step) % order.size()]->id;
        if (to == Control::txtT || to == Control::txtL)
            m_main->selection(to) = {0, m_main->text(boxName(to)).size()};
        return m_main->moveFocus(to);
    }
}

void WindowModel::click(Control control)
{
    if (!mainUsable())
        return;
    m_main->moveFocus(control);
    if (isButton(control) && mainUsable())
        m_main->link().click(control);
    // A box clicked right of its text gets the caret at its end.
    if (!isButton(control) && mainUsable() && m_main->focused() == control) {
        const std::size_t size = m_main->text(boxName(control)).size();
        m_main->selection(control) = {size, size};
    }
}

void WindowModel::accessKey(Control button)
{
    click(button);
}

void WindowModel::altKey(char16_t letter)
{
    const char16_t upper = letter >= u'a' && letter <= u'z' ? char16_t(letter - u'a' + u'A') : letter;
    if (mainUsable()) {
        if (upper == u'C') accessKey(Control::cmdCalc);
        else if (upper == u'R') accessKey(Control::cmdReset);
        else if (upper == u'X') accessKey(Control::cmdExit);
    } else if (upper == u'O') {
        clickAboutOK();
    }
}

void WindowModel::menu(MenuItem item)
{
    if (mainUsable())
        m_main->link().menuChosen(item);
}

void WindowModel::closeMain()
{
    if (mainUsable())
        m_main->link().closeRequested();
}

void WindowModel::clickAboutOK()
{
    if (m_about && !ended())
        m_about->link().click(Control::cmdOK);
}

void WindowModel::closeAbout()
{
    if (m_about && !ended())
        m_about->link().closeRequested();
}

} // namespace ui
