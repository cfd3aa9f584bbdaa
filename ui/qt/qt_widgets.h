#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace ui {

// The widget subclasses that make Qt deliver events the way the procedures
// expect them, and show texts and pictures the way the windows hold them.

// A caption as the program holds it (lone carriage returns between lines)
// turned into the text Qt draws with line breaks.
QString displayText(std::u16string_view caption);

// A single-line input box that reports every typed character before taking
// it; Enter as code 13.
class InputBox : public QLineEdit {
    Q_OBJECT
public:
    using KeyHandler = std::function<void(std::int16_t)>;
    explicit InputBox(QWidget *parent);
    void setKeyHandler(KeyHandler handler) { m_keyHandler = std::move(handler); }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    KeyHandler m_keyHandler;
};

// A command button whose every press first moves the focus to it, as the
// form's Click rule expects: an access key moves the focus, then clicks. A
// mouse press that finds the focus handed back to a box (its validation
// failed while Qt gave the focus, before delivering the press) is dropped:
// delivered after the message box, it would leave the button stuck down
// under X. Enter and Space press it when focused.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    CommandButton(const QString &caption, QWidget *parent);

protected:
    bool event(QEvent *event) override;
};

// Breaks a button caption at a space when it does not fit on one line, as
// classic command buttons wrap their captions; the access key is kept.
void wrapCaptionToFit(QPushButton *button, const QString &caption);

// A label that keeps the caption exactly as set, carriage returns included,
// and draws it as plain text with line breaks. Its size never follows its
// text: a long caption is clipped at the right edge.
class CaptionLabel : public QLabel {
    Q_OBJECT
public:
    explicit CaptionLabel(QWidget *parent);
    std::u16string caption() const { return m_caption; }
    void setCaption(std::u16string_view caption);

private:
    std::u16string m_caption;
};

// A picture label showing a bitmap at its natural size, never stretched.
QLabel *makePicture(QWidget *parent, const QString &resourceName);

} // namespace ui
