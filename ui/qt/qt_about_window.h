#pragma once

#include "ui/window_system.h"

#include <QWidget>

#include <memory>

namespace ui {

class AboutForm;

// The About window on Qt widgets, built from the About window's layout
// table: close box only, fixed size. It forwards OK and the close box (Alt+F4,
// the system menu) to the form's routers.
class QtAboutWindow : public QWidget {
    Q_OBJECT
public:
    explicit QtAboutWindow(AboutForm &form);
    ~QtAboutWindow() override;

    // The window as the lifecycle owns it. Destroying the handle hides the
    // window and deletes it, later if one of its own events is under way.
    static std::unique_ptr<AboutWindow> handle(QtAboutWindow *window);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    class Handle;

    template <class Event>
    void forward(Event event);

    AboutForm *m_form;
    int m_forwarding = 0;
};

} // namespace ui
