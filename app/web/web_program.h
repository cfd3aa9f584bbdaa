#pragma once

#include "ui/forms.h"
#include "ui/window_system.h"

namespace ui::web {
class WebWindow;
}

namespace app {

// The browser program: the window system the lifecycle runs on (windows of
// the page, the page's modal message box, the page's end) and the
// lifecycle. It lives as long as the page.
class WebProgram : public ui::WindowSystem {
public:
    WebProgram();
    ~WebProgram() override;

    // Creates frmMain, loads it and shows it.
    void start();

    // The windows are destroyed by the lifecycle.
    ui::NativeWindow &createWindow(ui::FormId id, const ui::layout::WindowDesign &design, ui::Form &form) override;
    // Returns once the user has closed the box: the module waits unwound
    // meanwhile, and the page keeps every event from it. The page has one
    // box over every window, so the owner changes nothing.
    void messageBox(std::u16string_view prompt, std::u16string_view title,
                    std::optional<ui::FormId> owner) override;
    void quit() override;

private:
    ui::Forms m_forms{*this};
};

} // namespace app
