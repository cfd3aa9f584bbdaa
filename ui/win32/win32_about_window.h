#pragma once

#include "ui/win32/win32_window.h"
#include "ui/window_system.h"

#include <memory>

namespace ui {
class AboutForm;
}

namespace ui::win32 {

// The About window on Win32, built from the About window's layout table:
// title bar with the close box only, fixed size. It forwards OK (click,
// Enter, Space, Alt+O) and the close box (Alt+F4, the system menu) to the
// form's routers; Escape does nothing.
class Win32AboutWindow : public Win32Window {
public:
    Win32AboutWindow(AboutForm &form, HINSTANCE instance);

    // The window as the lifecycle owns it.
    static std::unique_ptr<AboutWindow> handle(Win32AboutWindow *window);

private:
    class Handle;

    void onClose() override;
    void onClicked(Control control) override;

    AboutForm *m_form;
};

} // namespace ui::win32
