#pragma once

#include "ui/forms.h"
#include "ui/window_system.h"

#include <QPointer>

#include <functional>

namespace ui {
class QtAboutWindow;
class QtMainWindow;
}

namespace app {

// The Qt program: the window system the lifecycle runs on (Qt windows,
// QMessageBox, the end of the event loop) and the lifecycle itself.
class Program : public ui::WindowSystem {
public:
    // `end` stops the program; by default it leaves the event loop, so the
    // windows are destroyed as main() returns. Tests pass their own.
    explicit Program(std::function<void()> end = {});
    ~Program() override;

    // Creates frmMain, loads it and shows it.
    void Start();

    ui::Forms &forms() { return m_forms; }
    // The loaded windows' widgets, or null.
    ui::QtMainWindow *frmMain() const;
    ui::QtAboutWindow *frmAbout() const;

    ui::NativeWindow &createMainWindow(ui::MainForm &form) override;
    ui::NativeWindow &createAboutWindow(ui::AboutForm &form) override;
    void messageBox(std::u16string_view prompt, std::u16string_view title) override;
    void quit() override;

private:
    std::function<void()> m_end;
    QPointer<ui::QtMainWindow> m_main;
    QPointer<ui::QtAboutWindow> m_about;
    ui::Forms m_forms{*this};
};

// Sets the application's identity (name, organisation and version) and the
// window icon shared by every window.
void setApplicationIdentity();

} // namespace app
