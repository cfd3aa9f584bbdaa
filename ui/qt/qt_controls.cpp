#include "ui/qt/qt_controls.h"

#include "resources/qt_pictures.h"

#include <QEvent>
#include <QFileInfo>
#include <QFont>
#include <QKeyEvent>
#include <QPixmap>
#include <QtMath>

#include <limits>

namespace ui {

QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(qRound(left / 15.0), qRound(top / 15.0), qRound(width / 15.0), qRound(height / 15.0));
}

void installFontSubstitutions()
{
    QFont::insertSubstitution(QStringLiteral("Garamond"), QStringLiteral("EB Garamond"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

QFont windowFont(const QString &family, qreal points, bool bold)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

QString displayText(const std::u16string &caption)
{
    QString shown = QString::fromStdU16String(caption);
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
    // Enter (main or keypad) and Ctrl+M arrive as a carriage return.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter
            || event->text() == QStringLiteral("\r");
    if (m_keyHandler) {
        if (enter)
            m_keyHandler(13);
        else if (!event->text().isEmpty() && event->text().at(0).isPrint())
            m_keyHandler(static_cast<std::int16_t>(event->text().at(0).unicode()));
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
        // An access key moves the focus first, then clicks at once.
        setFocus(Qt::ShortcutFocusReason);
        if (window()->focusWidget() == this)
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

std::u16string QtTextBox::text() const
{
    return m_edit->text().toStdU16String();
}

void QtTextBox::setText(std::u16string_view text)
{
    const QString value = QString::fromUtf16(text.data(), qsizetype(text.size()));
    if (value == m_edit->text())
        return;
    m_edit->setText(value);
}

void QtTextBox::setFocus()
{
    m_edit->setFocus(Qt::OtherFocusReason);
}

QLabel *makePicture(QWidget *parent, const QString &objectName, const QString &resource,
                    int leftTwips, int topTwips, const QString &accessibleName)
{
    auto *picture = new QLabel(parent);
    picture->setObjectName(objectName);
    const QPixmap pixmap = resources::picture(QFileInfo(resource).completeBaseName(), picture->devicePixelRatioF());
    picture->setPixmap(pixmap);
    picture->setGeometry(QRect(twipsRect(leftTwips, topTwips, 0, 0).topLeft(), pixmap.deviceIndependentSize().toSize()));
    picture->setAccessibleName(accessibleName);
    return picture;
}

} // namespace ui
