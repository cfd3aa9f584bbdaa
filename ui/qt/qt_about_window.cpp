#include "ui/qt/qt_about_window.h"

#include "ui/about/about_form.h"
#include "ui/about/about_layout.h"

#include <QCloseEvent>

namespace ui {

QtAboutWindow::QtAboutWindow(AboutForm &form)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      NativeWindow(form), m_controls(this, AboutLayout(), link())
{
    const layout::WindowDesign &design = AboutLayout();
    setObjectName(QLatin1String(design.name.data(), qsizetype(design.name.size())));
    setWindowTitle(qstr(design.caption));
    setFixedSize(layout::Pixels(design.clientWidth), layout::Pixels(design.clientHeight));
}

void QtAboutWindow::showWindow()
{
    show();
    activateWindow();
}

void QtAboutWindow::destroyWindow(bool eventUnderWay)
{
    ui::destroyWindow(this, eventUnderWay);
}

void QtAboutWindow::closeEvent(QCloseEvent *event)
{
    // The lifecycle unloads the window; the main window is shown again
    // inside the unload, before this one goes.
    event->ignore();
    link().closeRequested();
}

} // namespace ui
