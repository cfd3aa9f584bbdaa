#include "app/win32/win32_program.h"

#include "ui/about/about_form.h"
#include "ui/about/about_layout.h"
#include "ui/main/main_form.h"
#include "ui/main/main_layout.h"
#include "ui/win32/win32_support.h"
#include "ui/win32/win32_window.h"

namespace app {

Win32Program::Win32Program(HINSTANCE instance, std::function<void()> end)
    : m_instance(instance), m_end(std::move(end))
{
    if (!m_end)
        m_end = [] { PostQuitMessage(0); };
}

Win32Program::~Win32Program() = default;

void Win32Program::Start()
{
    m_forms.Start();
}

int Win32Program::Run()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (preTranslate(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return int(message.wParam);
}

bool Win32Program::preTranslate(MSG &message) const
{
    HWND top = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (!top)
        return false;
    // TranslateAcceleratorW sends the command to the window it is given,
    // whatever window the key was for: only the main window's own keys.
    const ui::win32::Win32Window *main = mainWindow(); // null once unloaded
    if (main && top == main->hwnd() && TranslateAcceleratorW(top, main->accelerators(), &message))
        return true;
    return IsDialogMessageW(top, &message) != FALSE;
}

HWND Win32Program::frmMain() const
{
    return m_forms.isLoaded(ui::FormId::Main) && m_main ? m_main->hwnd() : nullptr;
}

HWND Win32Program::frmAbout() const
{
    return m_forms.isLoaded(ui::FormId::About) && m_about ? m_about->hwnd() : nullptr;
}

ui::win32::Win32Window *Win32Program::mainWindow() const
{
    return m_forms.isLoaded(ui::FormId::Main) ? m_main : nullptr;
}

ui::win32::Win32Window *Win32Program::aboutWindow() const
{
    return m_forms.isLoaded(ui::FormId::About) ? m_about : nullptr;
}

ui::NativeWindow &Win32Program::createMainWindow(ui::MainForm &form)
{
    m_main = new ui::win32::Win32Window(ui::MainLayout(), form, m_instance);
    return *m_main;
}

ui::NativeWindow &Win32Program::createAboutWindow(ui::AboutForm &form)
{
    m_about = new ui::win32::Win32Window(ui::AboutLayout(), form, m_instance);
    return *m_about;
}

void Win32Program::messageBox(std::u16string_view prompt, std::u16string_view title)
{
    // Owned by the program's window that is active (it is disabled while the
    // box is up), else by the main window while it is shown.
    HWND owner = GetActiveWindow();
    const HWND main = frmMain();
    const HWND about = frmAbout();
    if (owner != main && owner != about)
        owner = main && IsWindowVisible(main) ? main : nullptr;
    MessageBoxW(owner, ui::win32::wide(prompt).c_str(), ui::win32::wide(title).c_str(), MB_OK);
}

void Win32Program::quit()
{
    m_end();
}

} // namespace app
