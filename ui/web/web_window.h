#pragma once

#include "ui/controls.h"
#include "ui/layout.h"
#include "ui/window_system.h"

#include <cstdint>
#include <map>

namespace ui::web {

// A window of the page, built in HTML from a layout table: its controls at
// their twips positions, the menu bar above its client area, the page's
// title its caption while it is shown. The page (the scripts listed in
// ui/web/CMakeLists.txt) forwards every event of its elements here as it
// happens, one at a time, and this sends it through the event link to the
// form, which decides what it does. What the program does to the window
// itself (a text written, the focus moved) is reported to the link from
// here, as a toolkit's own controls report it.
class WebWindow : public NativeWindow {
public:
    WebWindow(const layout::WindowDesign &design, Form &form);
    ~WebWindow() override;

    // The number the page knows this window by.
    int handle() const { return m_handle; }
    // The window a number stands for while it is loaded, or null.
    static WebWindow *fromHandle(int handle);

    void showWindow() override;
    void hideWindow() override;
    Control focused() const override;
    void focus(Control control) override;
    std::unique_ptr<TextBox> textBox(std::string_view name) override;
    std::unique_ptr<Label> label(std::string_view name) override;
    void destroyWindow(bool eventUnderWay) override;

private:
    static std::map<int, WebWindow *> &windows();

    const layout::WindowDesign &m_design;
    int m_handle;
};

} // namespace ui::web
