#pragma once

#include "ui/controls.h"

#include <memory>
#include <string_view>

namespace ui {

class AboutForm;
class MainForm;

// What the window lifecycle (ui::Forms) asks of a toolkit: native windows
// built from the layout tables, modal message boxes and the end of the
// program. A toolkit implements these and nothing of the rules above them.

// A loaded window. Destroying the object destroys the window and its
// controls.
class FormWindow {
public:
    virtual ~FormWindow() = default;
    // Makes the window visible, modeless. The first time, the window system
    // places it and the focus is on the first control in tab order; after
    // a hide, it comes back where it was with the focus where it was.
    virtual void show() = 0;
    // Hides the window; it stays loaded with every text as it is.
    virtual void hide() = 0;
};

class MainWindow : public FormWindow {
public:
    virtual TextBox &txtT() = 0;
    virtual TextBox &txtL() = 0;
    virtual Label &lblLT() = 0;
    virtual Label &lblF() = 0;
    // The control of this window that holds the focus (None when the focus
    // is on anything else).
    virtual Control focused() const = 0;
};

class AboutWindow : public FormWindow {
public:
    virtual Label &lblTheLabel() = 0;
};

class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // Builds the window and its controls from the form's layout table, not
    // yet shown, with its events forwarded to the form's routers.
    virtual std::unique_ptr<MainWindow> createMainWindow(MainForm &form) = 0;
    virtual std::unique_ptr<AboutWindow> createAboutWindow(AboutForm &form) = 0;
    // A modal message box with one OK button and no icon, owned by the
    // active window of the program; returns when the user has closed it.
    virtual void messageBox(std::u16string_view prompt, std::u16string_view title) = 0;
    // Ends the program at once; no procedure runs afterwards.
    virtual void quit() = 0;
};

} // namespace ui
