#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace ui::qt {

// The widget subclasses that make Qt deliver events the way the procedures
// expect them, and show texts and pictures the way the windows hold them.

// A caption as the program holds it (lone carriage returns between lines)
// turned into the text Qt draws with line breaks.
QString displayText(std::u16string_view caption);

// A single-line input box that reports every typed character before taking
// it; Enter as code 13.
//
// It keeps its selection while another control of its window has the focus
// (a QLineEdit drops it), without drawing it meanwhile, and gets it back when
// the program or a window's return gives it the focus again. Tab and
// Shift+Tab into it select its whole text; a click places the caret. Like a
// command button, it drops a press (a double click's second one too) that
// did not keep the focus: a validation refused the box it left.
class InputBox : public QLineEdit {
    Q_OBJECT
public:
    using KeyHandler = std::function<void(std::int16_t)>;
    explicit InputBox(QWidget *parent);
    void setKeyHandler(KeyHandler handler) { m_keyHandler = std::move(handler); }
    // A write by the program: the caret after the new text, and nothing
    // kept from before.
    void writeText(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    struct Selection {
        int anchor = 0;
        int cursor = 0;
    };

    KeyHandler m_keyHandler;
    std::optional<Selection> m_kept; // while another control has the focus
};

// A command button whose every press first moves the focus to it, as the
// form's Click rule expects: an access key moves the focus, then clicks. A
// mouse press that finds the focus handed back to a box (its validation
// failed while Qt gave the focus, before delivering the press) is dropped:
// delivered after the message box, it would leave the button stuck down
// under X. Enter and Space press it when focused; Enter with Ctrl or Alt
// held does not.
class CommandButton : public QPushButton {
    Q_OBJECT
public:
    CommandButton(const QString &caption, QWidget *parent);

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
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

// A picture label showing a bitmap at its natural size in logical pixels,
// never stretched, drawn for the device pixel ratio of the screen it is on:
// when its window moves to a screen of another ratio it takes the bitmap
// drawn for that one.
class PictureLabel : public QLabel {
    Q_OBJECT
public:
    PictureLabel(QWidget *parent, const QString &resourceName);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Takes the bitmap for the ratio now, unless the one shown is for it.
    void render();

    QString m_resourceName;
};

QLabel *makePicture(QWidget *parent, const QString &resourceName);

} // namespace ui::qt
