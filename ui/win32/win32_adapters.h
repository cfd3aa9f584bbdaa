#pragma once

#include "ui/controls.h"
#include "ui/win32/win32_support.h"

#include <windows.h>

namespace ui::win32 {

// The control interfaces on Win32 controls.

// An edit control as a TextBox: a write sends EN_CHANGE, which reaches the
// form before SetWindowTextW returns.
class Win32TextBox : public TextBox {
public:
    explicit Win32TextBox(HWND edit) : m_edit(edit) { }
    void setFocus() override { SetFocus(m_edit); }
    void selectAll() override { SendMessageW(m_edit, EM_SETSEL, 0, -1); }

protected:
    std::u16string readText() const override { return windowText(m_edit); }
    // The caret goes after the new text, as in the other toolkits' boxes
    // (a Windows edit puts it before), so that typing goes on after it.
    void writeText(std::u16string_view text) override
    {
        SetWindowTextW(m_edit, wide(text).c_str());
        if (IsWindow(m_edit))
            SendMessageW(m_edit, EM_SETSEL, text.size(), text.size());
    }

private:
    HWND m_edit;
};

// A static control as a Label: the caption is kept as the program set it,
// and written with its line breaks the way Win32 draws them.
class Win32Label : public Label {
public:
    explicit Win32Label(HWND label) : m_label(label) { }
    std::u16string caption() const override { return m_caption; }
    void setCaption(std::u16string_view caption) override
    {
        m_caption = caption;
        SetWindowTextW(m_label, displayText(caption).c_str());
    }

private:
    HWND m_label;
    std::u16string m_caption;
};

} // namespace ui::win32
