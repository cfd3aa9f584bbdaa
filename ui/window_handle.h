#pragma once

#include "ui/controls.h"
#include "ui/window_system.h"

#include <memory>

namespace ui {

// The window handle: a loaded window as the lifecycle and the procedures
// hold it, whatever the toolkit: the native window and the controls the
// procedures use, made by the toolkit from the names in the layout table.
// Destroying it unloads the native window: the form hears nothing more from
// it, and it goes at once or, when this happens inside one of its own
// events, once that event is over.
class WindowHandle {
public:
    explicit WindowHandle(NativeWindow &native) : m_native(native) { }
    virtual ~WindowHandle();
    WindowHandle(const WindowHandle &) = delete;
    WindowHandle &operator=(const WindowHandle &) = delete;

    void show() { m_native.showWindow(); }
    void hide() { m_native.hideWindow(); }
    Control focused() const { return m_native.focused(); }
    void focus(Control control) { m_native.focus(control); }
    // The window's input box for a control, or null.
    virtual TextBox *box(Control) { return nullptr; }

protected:
    NativeWindow &m_native;
};

// frmMain loaded: the two input boxes and the two result labels its
// procedures use.
class MainWindowHandle : public WindowHandle {
public:
    explicit MainWindowHandle(NativeWindow &native);

    TextBox &txtT() { return *m_txtT; }
    TextBox &txtL() { return *m_txtL; }
    Label &lblLT() { return *m_lblLT; }
    Label &lblF() { return *m_lblF; }
    TextBox *box(Control control) override;

private:
    std::unique_ptr<TextBox> m_txtT;
    std::unique_ptr<TextBox> m_txtL;
    std::unique_ptr<Label> m_lblLT;
    std::unique_ptr<Label> m_lblF;
};

// frmAbout loaded: the label that takes the About text.
class AboutWindowHandle : public WindowHandle {
public:
    explicit AboutWindowHandle(NativeWindow &native);

    Label &lblTheLabel() { return *m_lblTheLabel; }

private:
    std::unique_ptr<Label> m_lblTheLabel;
};

} // namespace ui
