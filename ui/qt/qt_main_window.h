#pragma once

#include "ui/controls.h"
#include "ui/window_system.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <optional>

namespace ui {

class MainForm;

// The main window on Qt widgets, built from the main window's layout table.
// It forwards every event to the form's routers and decides nothing itself:
// each text change, each typed character, each click or press of a button,
// each menu entry, each focus move (with anything that is not one of its
// controls reported as None) and the close box.
class QtMainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit QtMainWindow(MainForm &form);
    ~QtMainWindow() override;

    // The window as the lifecycle owns it. Destroying the handle hides the
    // window and deletes it, later if one of its own events is under way.
    static std::unique_ptr<MainWindow> handle(QtMainWindow *window);

    Control controlOf(const QWidget *widget) const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    class Handle;

    template <class Event>
    void forward(Event event);
    void showFirstOrAgain();
    void hideKeepingFocus();
    void onFocusChanged(QWidget *old, QWidget *now);

    MainForm *m_form;
    int m_forwarding = 0;
    bool m_shown = false;
    QPointer<QWidget> m_savedFocus;
    std::optional<QPoint> m_savedPosition;
};

} // namespace ui
