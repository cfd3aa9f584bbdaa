#pragma once

#include "ui/forms.h"
#include "ui/window_system.h"

#include <windows.h>

#include <array>
#include <functional>

namespace ui::win32 {
class Win32Window;
}

namespace app {

// The Windows program: the window system the lifecycle runs on (Win32
// windows, MessageBoxW, the message loop and its end) and the lifecycle.
class Win32Program : public ui::WindowSystem {
public:
    // `end` stops the program; by default it ends the message loop, so the
    // windows are destroyed as wWinMain returns. Tests pass their own.
    explicit Win32Program(HINSTANCE instance, std::function<void()> end = {});
    ~Win32Program() override;

    // Creates frmMain, loads it and shows it.
    void start();
    // Runs the message loop until the program ends; returns its exit code.
    int run();
    // What the loop does with a message before dispatching it: the main
    // window's shortcuts (only for its own messages), then the dialog
    // manager's keys for the window the message is for.
    bool preTranslate(MSG &message) const;

    ui::Forms &forms() { return m_forms; }
    // The loaded windows, or null: the window objects and their handles.
    ui::win32::Win32Window *mainWindow() const { return window(ui::FormId::Main); }
    ui::win32::Win32Window *aboutWindow() const { return window(ui::FormId::About); }
    HWND mainHwnd() const;
    HWND aboutHwnd() const;

    ui::NativeWindow &createWindow(ui::FormId id, const ui::layout::WindowDesign &design, ui::Form &form) override;
    void messageBox(std::u16string_view prompt, std::u16string_view title,
                    std::optional<ui::FormId> owner) override;
    void quit() override;

private:
    ui::win32::Win32Window *window(ui::FormId id) const;

    HINSTANCE m_instance;
    std::function<void()> m_end;
    std::array<ui::win32::Win32Window *, 2> m_windows{}; // by FormId, destroyed by the lifecycle
    ui::Forms m_forms{*this};
};

} // namespace app
