#pragma once

#include "ui/forms.h"
#include "ui/window_system.h"

#include <windows.h>

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
    void Start();
    // Runs the message loop until the program ends; returns its exit code.
    int Run();
    // What the loop does with a message before dispatching it: the main
    // window's shortcuts (only for its own messages), then the dialog
    // manager's keys for the window the message is for.
    bool preTranslate(MSG &message) const;

    ui::Forms &forms() { return m_forms; }
    // The loaded windows, or null.
    HWND frmMain() const;
    HWND frmAbout() const;
    ui::win32::Win32Window *mainWindow() const;
    ui::win32::Win32Window *aboutWindow() const;

    ui::NativeWindow &createMainWindow(ui::MainForm &form) override;
    ui::NativeWindow &createAboutWindow(ui::AboutForm &form) override;
    void messageBox(std::u16string_view prompt, std::u16string_view title) override;
    void quit() override;

private:
    HINSTANCE m_instance;
    std::function<void()> m_end;
    ui::win32::Win32Window *m_main = nullptr;   // destroyed by the lifecycle
    ui::win32::Win32Window *m_about = nullptr;
    ui::Forms m_forms{*this};
};

} // namespace app
