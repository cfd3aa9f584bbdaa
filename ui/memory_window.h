#pragma once

#include "ui/controls.h"
#include "ui/layout.h"
#include "ui/window_system.h"

#include <cstddef>
#include <map>
#include <string>

namespace ui {

// A window held in memory, built from its layout table, as the window model
// (ui::WindowModel) runs the program without a display: the texts of its
// boxes and labels by name, each box's selection, the control with the
// focus and whether it is shown. It reports to its event link what a
// toolkit's window reports: every focus move after it has happened, every
// write that changes a box's text, and, as it goes, the focus leaving its
// control. What a user does to it is the model's part.
class MemoryWindow : public NativeWindow {
public:
    // A box's selection, [start, end) in UTF-16 code units; empty for a
    // caret.
    struct Selection {
        std::size_t start = 0, end = 0;
        bool operator==(const Selection &) const = default;
    };

    // `loaded` points at the window while it is loaded, else is null.
    MemoryWindow(Form &form, const layout::WindowDesign &design, MemoryWindow *&loaded);
    ~MemoryWindow() override;

    void showWindow() override { m_visible = true; }
    void hideWindow() override { m_visible = false; }
    Control focused() const override { return m_focus; }
    void focus(Control control) override { moveFocus(control); }
    std::unique_ptr<TextBox> textBox(std::string_view name) override;
    std::unique_ptr<Label> label(std::string_view name) override;
    void destroyWindow(bool eventUnderWay) override;

    // A focus move, reported the way a toolkit reports it: after the focus
    // has moved.
    void moveFocus(Control to);

    std::u16string &text(const char *name) { return m_texts[name]; }
    Selection &selection(Control box) { return m_selections[box]; }
    bool visible() const { return m_visible; }

private:
    class Box;
    class Caption;

    const layout::WindowDesign &m_design;
    MemoryWindow *&m_loaded;
    std::map<std::string, std::u16string> m_texts;
    std::map<Control, Selection> m_selections;
    Control m_focus = Control::None;
    bool m_visible = false;
};

} // namespace ui
