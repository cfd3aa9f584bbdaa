#include "ui/qt/qt_main_window.h"

#include "ui/main/main_form.h"
#include "ui/main/main_layout.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>
#include <QWindow>

namespace ui {

namespace {

// The client area: a fixed size below the menu bar, which the window fits.
QWidget *makeClient(QMainWindow *window, const layout::WindowDesign &design)
{
    auto *client = new QWidget(window);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(layout::Pixels(design.clientWidth), layout::Pixels(design.clientHeight));
    window->setCentralWidget(client);
    window->layout()->setSizeConstraint(QLayout::SetFixedSize);
    return client;
}

} // namespace

QtMainWindow::QtMainWindow(MainForm &form)
    : NativeWindow(form), m_controls(makeClient(this, MainLayout()), MainLayout(), link())
{
    const layout::WindowDesign &design = MainLayout();
    setObjectName(QLatin1String(design.name.data(), qsizetype(design.name.size())));
    setWindowTitle(qstr(design.caption));
    m_controls.buildMenus(menuBar());
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (!isVisible() && m_hiddenFocus && now && now != m_hiddenFocus && now->window() == this)
            m_hiddenFocus->setFocus(Qt::OtherFocusReason);
    });
}

void QtMainWindow::showWindow()
{
    // Shown while the About window is still up, the window would otherwise
    // be placed afresh by the window manager.
    if (m_savedPosition) {
        if (QWindow *native = windowHandle())
            native->setPosition(*m_savedPosition);
    }
    show();
    activateWindow();
}

void QtMainWindow::hideWindow()
{
    m_savedPosition = geometry().topLeft();
    if (controlOf(focusWidget()) != Control::None)
        m_hiddenFocus = focusWidget();
    hide();
}

void QtMainWindow::destroyWindow(bool eventUnderWay)
{
    ui::destroyWindow(this, eventUnderWay);
}

void QtMainWindow::closeEvent(QCloseEvent *event)
{
    // The lifecycle decides what closing does; the window goes when it says.
    event->ignore();
    link().closeRequested();
}

} // namespace ui
