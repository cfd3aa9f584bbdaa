#include "ui/qt/qt_widgets.h"

#include "resources/qt_pictures.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPixmap>

#include <limits>

namespace ui {

QString displayText(std::u16string_view caption)
{
    QString shown = QString::fromUtf16(caption.data(), qsizetype(caption.size()));
    shown.replace(QChar(13), QChar(10));
    return shown;
}

InputBox::InputBox(QWidget *parent) : QLineEdit(parent)
{
    // A QLineEdit cuts its text at 32767 characters unless told otherwise;
    // these boxes take whatever is typed or pasted.
    setMaxLength(std::numeric_limits<int>::max());
}

void InputBox::keyPressEvent(QKeyEvent *event)
{
    // Enter (main or keypad) and Ctrl+M arrive as a carriage return, any
    // other key that types as its character's code. Enter with Ctrl types a
    // line feed, as a native box has it; with Alt it types nothing.
    const bool enterKey = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (m_keyHandler) {
        if (enterKey) {
            if (!(event->modifiers() & Qt::AltModifier))
                m_keyHandler((event->modifiers() & Qt::ControlModifier) ? 10 : 13);
        } else if (!event->text().isEmpty()) {
            m_keyHandler(static_cast<std::int16_t>(event->text().at(0).unicode()));
        }
    }
    QLineEdit::keyPressEvent(event);
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
        // not stay here, a validation failed and the press is dropped.
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

QLabel *makePicture(QWidget *parent, const QString &resourceName)
{
    auto *picture = new QLabel(parent);
    // The bitmap drawn for the display's pixel ratio, shown at its 1x size
    // in logical pixels.
    const QPixmap pixmap = resources::picture(resourceName, picture->devicePixelRatioF());
    picture->setPixmap(pixmap);
    picture->resize(pixmap.deviceIndependentSize().toSize());
    return picture;
}

} // namespace ui
