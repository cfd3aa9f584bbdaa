#pragma once

#include "ui/controls.h"

#include <QPointer>

#include <functional>
#include <memory>

namespace ui {
class QtAboutWindow;
class QtMainWindow;
}

namespace app {

// The running program: the one instance of each window class and the
// services the procedures ask of the application (message boxes, showing
// a window, ending). frmMain is created and loaded by Start() and lives
// until the program ends; frmAbout is created on first use and loaded
// afresh each time it is shown, since closing it destroys its window.
class Program : public ui::Shell {
public:
    // `end` stops the program; by default it leaves the event loop, so the
    // windows are destroyed as main() returns. Tests pass their own.
    explicit Program(std::function<void()> end = {});
    ~Program() override;

    // Creates frmMain, loads it and shows it.
    void Start();

    ui::QtMainWindow *frmMain() const { return m_frmMain.get(); }
    // The loaded About window, or null when it is not loaded.
    ui::QtAboutWindow *frmAbout() const;

    void MsgBox(std::u16string_view prompt, std::u16string_view title = {}) override;
    void ShowForm(ui::FormId form) override;
    void End() override;

private:
    struct AboutInstance {
        QPointer<ui::QtAboutWindow> window; // null while not loaded
    };

    std::function<void()> m_end;
    std::unique_ptr<ui::QtMainWindow> m_frmMain;
    std::unique_ptr<AboutInstance> m_frmAbout;
};

// Sets the application's identity (name "Emberline", organisation
// "Velmora", version "1.00") and the window icon shared by every window.
void setApplicationIdentity();

} // namespace app
