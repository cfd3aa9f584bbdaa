#pragma once

#include "ui/controls.h"

class QLineEdit;

namespace ui {

class CaptionLabel;

// The control interfaces on Qt widgets.

// A QLineEdit as a TextBox: a write emits textChanged, which the window
// forwards to the form before the write returns.
class QtTextBox : public TextBox {
public:
    explicit QtTextBox(QLineEdit *edit) : m_edit(edit) { }
    void setFocus() override;
    void selectAll() override;

protected:
    std::u16string readText() const override;
    void writeText(std::u16string_view text) override;

private:
    QLineEdit *m_edit;
};

class QtLabel : public Label {
public:
    explicit QtLabel(CaptionLabel *label) : m_label(label) { }
    std::u16string caption() const override;
    void setCaption(std::u16string_view caption) override;

private:
    CaptionLabel *m_label;
};

} // namespace ui
