#pragma once

#include "ui/controls.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>

#include <functional>

namespace ui {

// The Qt side of the control interfaces, and the widget subclasses that
// make Qt deliver events the way the procedures expect them.

// Twips (15 to a pixel at 96 dpi) to a pixel rectangle.
QRect twipsRect(int left, int top, int width, int height);

// Makes the window fonts resolve to the closest installed faces: EB Garamond
// for Garamond, Liberation Sans for MS Sans Serif. Safe to call repeatedly.
void installFontSubstitutions();

// A font of the windows: family, size in points, bold (700) or regular (400).
QFont windowFont(const QString &family, qreal points, bool bold);

// A caption as the program holds it (lone carriage returns between lines)
// turned into the text Qt draws with line breaks.
QString displayText(const std::u16string &caption);

// A single-line input box that reports every typed character to its key
// procedure before taking it; Enter reaches it as code 13.
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

// A command button that acts only once it holds the focus: a mouse press or
// an access key first moves the focus to it, which validates the box it
// leaves; when that validation hands the focus back to its box, the button
// is neither pressed nor clicked. Enter and Space press it when focused.
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

// A QLineEdit as a TextBox: writing a different text emits textChanged,
// which the window maps onto the change procedure before setText returns.
class QtTextBox : public TextBox {
public:
    explicit QtTextBox(QLineEdit *edit) : m_edit(edit) { }
    std::u16string text() const override;
    void setText(std::u16string_view text) override;
    void setFocus() override;

private:
    QLineEdit *m_edit;
};

class QtLabel : public Label {
public:
    explicit QtLabel(CaptionLabel *label) : m_label(label) { }
    std::u16string caption() const override { return m_label->caption(); }
    void setCaption(std::u16string_view caption) override { m_label->setCaption(caption); }

private:
    CaptionLabel *m_label;
};

// A picture at its natural size, never stretched, named for screen readers
// by the text it shows.
QLabel *makePicture(QWidget *parent, const QString &objectName, const QString &resource,
                    int leftTwips, int topTwips, const QString &accessibleName);

} // namespace ui
