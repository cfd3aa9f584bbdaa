#pragma once

#include "ui/controls.h"

namespace ui::qt {

class CaptionLabel;
class InputBox;

// The control interfaces on Qt widgets.

// An input box as a TextBox: a write emits textChanged, which the window
// forwards to the form before the write returns.
class QtTextBox : public TextBox {
public:
    explicit QtTextBox(InputBox *edit) : m_edit(edit) { }
    void setFocus() override;
    void selectAll() override;

protected:
    std::u16string readText() const override;
    void writeText(std::u16string_view text) override;

private:
    InputBox *m_edit;
};

class QtLabel : public Label {
public:
    explicit QtLabel(CaptionLabel *label) : m_label(label) { }
    std::u16string caption() const override;
    void setCaption(std::u16string_view caption) override;

private:
    CaptionLabel *m_label;
};

} // namespace ui::qt
