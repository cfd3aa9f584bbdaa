#pragma once

#include "ui/qt/qt_layout.h"
#include "ui/window_system.h"

#include <QMainWindow>
#include <QPointer>

#include <optional>

namespace ui::qt {

// A window on Qt widgets, built from a layout table: its controls on a client
// area of the designed size, with the menu bar above it when the design has
// menus, and the title bar's boxes the design asks for. Every event of its
// controls and its close box goes through the event link to the form. Shown
// again, it comes back where it was. While hidden it keeps the focus child it
// had: Qt moves it on when the hidden window is activated (a closing menu
// hands the activation back to it), a focus child that is not visible
// counting as none.
class QtWindow : public QMainWindow, public NativeWindow {
    Q_OBJECT
public:
    QtWindow(const layout::WindowDesign &design, Form &form);

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

} // namespace ui::qt
