#pragma once

#include "ui/win32/win32_window.h"
#include "ui/window_system.h"

#include <memory>

namespace ui {
class MainForm;
}

namespace ui::win32 {

// The main window on Win32, built from the main window's layout table, with
// its menu bar and the Ctrl shortcuts of its entries. It forwards each event
// to the form's routers: text changes, typed characters, clicks, menu
// entries, focus losses (with anything that is not one of its controls
// reported as None) and the close box.
class Win32MainWindow : public Win32Window {
public:
    Win32MainWindow(MainForm &form, HINSTANCE instance);
    ~Win32MainWindow() override;

    // The window as the lifecycle owns it.
    static std::unique_ptr<MainWindow> handle(Win32MainWindow *window);

    // The Ctrl shortcuts, for the message loop to translate while a message
    // is for this window (and only then: the hidden window must not take
    // the About window's keys).
    HACCEL accelerators() const { return m_accelerators; }

private:
    class Handle;

    void onClose() override;
    void onClicked(Control control) override;
    void onMenu(int index) override;
    void onChar(Control box, std::int16_t code) override;
    void onTextChanged(Control box) override;
    void onFocusLost(Control from, Control to) override;

    MainForm *m_form;
    HACCEL m_accelerators = nullptr;
};

} // namespace ui::win32
