#pragma once

#include "ui/qt/qt_layout.h"
#include "ui/window_system.h"

#include <QMainWindow>
#include <QPointer>

#include <optional>

namespace ui {

class MainForm;

// The main window on Qt widgets, built from the main window's layout table
// with its menu bar; every event of its controls goes through the event
// link to the form. Shown again, it comes back where it was. While hidden it
// keeps the focus child it had: Qt moves it on when the hidden window is
// activated (a closing menu hands the activation back to it), a focus child
// that is not visible counting as none.
class QtMainWindow : public QMainWindow, public NativeWindow {
    Q_OBJECT
public:
    explicit QtMainWindow(MainForm &form);

    Control controlOf(const QWidget *widget) const { return m_controls.controlOf(widget); }

    void showWindow() override;
    void hideWindow() override;
    Control focused() const override { return m_controls.focused(); }
    void focus(Control control) override { m_controls.focus(control); }
    std::unique_ptr<TextBox> textBox(std::string_view name) override { return m_controls.textBox(name); }
    std::unique_ptr<Label> label(std::string_view name) override { return m_controls.label(name); }
    void destroyWindow(bool eventUnderWay) override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QtControls m_controls;
    std::optional<QPoint> m_savedPosition;
    QPointer<QWidget> m_hiddenFocus;
};

} // namespace ui
