#include "ui/win32/win32_about_window.h"

#include "ui/about/about_form.h"
#include "ui/about/about_layout.h"
#include "ui/win32/win32_adapters.h"
#include "ui/win32/win32_support.h"

namespace ui::win32 {

class Win32AboutWindow::Handle : public AboutWindow {
public:
    explicit Handle(Win32AboutWindow *window) : m_window(window), m_label(window->control("lblTheLabel")) { }

    ~Handle() override
    {
        m_window->m_form = nullptr;
        m_window->destroyLater();
    }

    void show() override { m_window->showWindow(); }
    void hide() override { m_window->hideWindow(); }
    Label &lblTheLabel() override { return m_label; }

private:
    Win32AboutWindow *m_window;
    Win32Label m_label;
};

Win32AboutWindow::Win32AboutWindow(AboutForm &form, HINSTANCE instance)
    : Win32Window(AboutLayout(), instance, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, nullptr), m_form(&form)
{
}

std::unique_ptr<AboutWindow> Win32AboutWindow::handle(Win32AboutWindow *window)
{
    return std::make_unique<Handle>(window);
}

void Win32AboutWindow::onClose()
{
    if (m_form)
        m_form->CloseRequested();
}

void Win32AboutWindow::onClicked(Control control)
{
    if (m_form)
        m_form->Click(control);
}

} // namespace ui::win32
