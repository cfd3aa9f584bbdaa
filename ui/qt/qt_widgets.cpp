#include "ui/qt/qt_widgets.h"

#include "resources/qt_pictures.h"
#include "ui/layout.h"

#include <QEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>

#include <algorithm>
#include <limits>
#include <utility>

namespace ui::qt {

QString displayText(std::u16string_view caption)
{
    const std::u16string shown = layout::withLineBreaks(caption, u"\n");
    return QString::fromUtf16(shown.data(), qsizetype(shown.size()));
}

InputBox::InputBox(QWidget *parent) : QLineEdit(parent)
{
    // A QLineEdit cuts its text at 32767 characters unless told otherwise;
    // these boxes take whatever is typed or pasted.
    setMaxLength(std::numeric_limits<int>::max());
}

void InputBox::keyPressEvent(QKeyEvent *event)
{
    // With Alt held (AltGr aside, which Windows reports as Ctrl+Alt) Enter
    // or a character types nothing and is reported to no one: it is an
    // access key, or nothing. A QLineEdit would type the character.
    const bool enterKey = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool typing = enterKey || (!event->text().isEmpty() && event->text().at(0).isPrint());
    if (typing && (event->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) == Qt::AltModifier) {
        event->ignore();
        return;
    }
    // Enter (main or keypad) and Ctrl+M arrive as a carriage return, any
    // other key that types as its character's code. Enter with Ctrl types a
    // line feed, as a native box has it.
    if (m_keyHandler) {
        if (enterKey)
            m_keyHandler((event->modifiers() & Qt::ControlModifier) ? 10 : 13);
        else if (!event->text().isEmpty())
            m_keyHandler(static_cast<std::int16_t>(event->text().at(0).unicode()));
    }
    QLineEdit::keyPressEvent(event);
}

void InputBox::writeText(const QString &text)
{
    m_kept.reset();
    setText(text);
}

void InputBox::focusOutEvent(QFocusEvent *event)
{
    // A QLineEdit drops its selection when the focus goes to another
    // control (it keeps it when its window loses the keyboard or a menu
    // opens). The box keeps it here, undrawn, for the focus's return.
    m_kept.reset();
    if (hasSelectedText()) {
        const int start = selectionStart();
        const int end = selectionEnd();
        const int cursor = cursorPosition();
        m_kept = Selection{cursor == start ? end : start, cursor};
    }
    QLineEdit::focusOutEvent(event);
}

void InputBox::focusInEvent(QFocusEvent *event)
{
    const std::optional<Selection> kept = std::exchange(m_kept, std::nullopt);
    QLineEdit::focusInEvent(event);
    switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        // The whole text, even over a selection kept from before.
        selectAll();
        break;
    case Qt::MouseFocusReason:
        break; // the press places the caret
    default:
        // The program or a window's return gives the focus back.
        if (kept && !hasSelectedText() && std::max(kept->anchor, kept->cursor) <= text().size())
            setSelection(kept->anchor, kept->cursor - kept->anchor);
        break;
    }
}

void InputBox::mousePressEvent(QMouseEvent *event)
{
    // Qt gives the focus before it delivers the press; if the focus did not
    // stay here, a validation failed and the press is dropped.
    if (window()->focusWidget() != this)
        return;
    QLineEdit::mousePressEvent(event);
}

void InputBox::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double click, likewise.
    if (window()->focusWidget() != this)
        return;
    QLineEdit::mouseDoubleClickEvent(event);
}

CommandButton::CommandButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent)
{
    // Outside a dialog a QPushButton ignores Enter unless it is auto-default.
    setAutoDefault(true);
}

bool CommandButton::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        // Qt gives the focus before it delivers the press; if the focus did
        // not stay here, a validation failed and the press is dropped. The
        // form would drop the click anyway: this keeps the button from
        // staying down under X after the message box (offscreen, no button
        // ever stays down, so no test there can tell).
        if (window()->focusWidget() != this)
            return true;
        break;
    case QEvent::Shortcut:
        // An access key moves the focus first (which validates the box it
        // leaves), then presses; the form drops the press if the focus did
        // not stay.
        setFocus(Qt::ShortcutFocusReason);
        click();
        return true;
    default:
        break;
    }
    return QPushButton::event(event);
}

void CommandButton::keyPressEvent(QKeyEvent *event)
{
    // A QPushButton takes Enter whatever the modifiers held.
    const bool enterKey = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enterKey && (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        event->ignore();
        return;
    }
    QPushButton::keyPressEvent(event);
}

void wrapCaptionToFit(QPushButton *button, const QString &caption)
{
    button->setText(caption);
    if (button->sizeHint().width() <= button->width())
        return;
    for (qsizetype i = caption.lastIndexOf(QLatin1Char(' ')); i > 0; i = caption.lastIndexOf(QLatin1Char(' '), i - 1)) {
        QString wrapped = caption;
        wrapped[i] = QLatin1Char('\n');
        button->setText(wrapped);
        if (button->sizeHint().width() <= button->width())
            return;
    }
    button->setText(caption);
}

CaptionLabel::CaptionLabel(QWidget *parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void CaptionLabel::setCaption(std::u16string_view caption)
{
    m_caption = caption;
    setText(displayText(m_caption));
}

PictureLabel::PictureLabel(QWidget *parent, const QString &resourceName)
    : QLabel(parent), m_resourceName(resourceName)
{
    render();
    resize(pixmap().deviceIndependentSize().toSize());
}

void PictureLabel::render()
{
    const qreal ratio = devicePixelRatioF();
    if (!pixmap().isNull() && qFuzzyCompare(pixmap().devicePixelRatio(), ratio))
        return;
    setPixmap(resources::picture(m_resourceName, ratio));
}

bool PictureLabel::event(QEvent *event)
{
    // Sent to every widget of a window that has moved to another screen.
    if (event->type() == QEvent::ScreenChangeInternal)
        render();
    return QLabel::event(event);
}

void PictureLabel::paintEvent(QPaintEvent *event)
{
    // The ratio can also change on the same screen (its scale set anew):
    // the window is then painted again, for the new one.
    render();
    QLabel::paintEvent(event);
}

QLabel *makePicture(QWidget *parent, const QString &resourceName)
{
    return new PictureLabel(parent, resourceName);
}

} // namespace ui::qt
