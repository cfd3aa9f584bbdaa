#pragma once

#include "ui/qt/qt_layout.h"
#include "ui/window_system.h"

#include <QWidget>

namespace ui {

class AboutForm;

// The About window on Qt widgets, built from the About window's layout
// table: close box only, fixed size. Its OK button and its close box (Alt+F4,
// the system menu) go through the event link to the form.
class QtAboutWindow : public QWidget, public NativeWindow {
    Q_OBJECT
public:
    explicit QtAboutWindow(AboutForm &form);

    void showWindow() override;
    void hideWindow() override { hide(); }
    Control focused() const override { return m_controls.focused(); }
    void focus(Control control) override { m_controls.focus(control); }
    std::unique_ptr<TextBox> textBox(std::string_view name) override { return m_controls.textBox(name); }
    std::unique_ptr<Label> label(std::string_view name) override { return m_controls.label(name); }
    void destroyWindow(bool eventUnderWay) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QtControls m_controls;
};

} // namespace ui
