#pragma once

#include "ui/forms.h"
#include "ui/window_system.h"

#include <QPointer>

#include <array>
#include <functional>

namespace ui::qt {
class QtWindow;
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
    void start();

    ui::Forms &forms() { return m_forms; }
    // The widgets of the loaded windows, or null.
    ui::qt::QtWindow *mainWidget() const { return widget(ui::FormId::Main); }
    ui::qt::QtWindow *aboutWidget() const { return widget(ui::FormId::About); }

    ui::NativeWindow &createWindow(ui::FormId id, const ui::layout::WindowDesign &design, ui::Form &form) override;
    void messageBox(std::u16string_view prompt, std::u16string_view title,
                    std::optional<ui::FormId> owner) override;
    void quit() override;

private:
    ui::qt::QtWindow *widget(ui::FormId id) const;

    std::function<void()> m_end;
    std::array<QPointer<ui::qt::QtWindow>, 2> m_windows; // by FormId
    ui::Forms m_forms{*this};
};

// Sets the application's identity (name, organisation and version) and the
// window icon shared by every window.
void setApplicationIdentity();

} // namespace app
