#include "app/win32/win32_program.h"

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

void Win32Program::start()
{
    m_forms.start();
}

int Win32Program::run()
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

ui::win32::Win32Window *Win32Program::window(ui::FormId id) const
{
    return m_forms.isLoaded(id) ? m_windows[std::size_t(id)] : nullptr;
}

HWND Win32Program::mainHwnd() const
{
    const ui::win32::Win32Window *main = mainWindow();
    return main ? main->hwnd() : nullptr;
}

HWND Win32Program::aboutHwnd() const
{
    const ui::win32::Win32Window *about = aboutWindow();
    return about ? about->hwnd() : nullptr;
}

ui::NativeWindow &Win32Program::createWindow(ui::FormId id, const ui::layout::WindowDesign &design, ui::Form &form)
{
    auto *window = new ui::win32::Win32Window(design, form, m_instance);
    m_windows[std::size_t(id)] = window;
    return *window;
}

void Win32Program::messageBox(std::u16string_view prompt, std::u16string_view title, std::optional<ui::FormId> owner)
{
    // The owner is disabled while the box is up, and active again after it.
    const ui::win32::Win32Window *parent = owner ? window(*owner) : nullptr;
    MessageBoxW(parent ? parent->hwnd() : nullptr, ui::win32::wide(prompt).c_str(), ui::win32::wide(title).c_str(),
                MB_OK);
}

void Win32Program::quit()
{
    m_end();
}

} // namespace app
