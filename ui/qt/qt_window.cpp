#include "ui/qt/qt_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>
#include <QWindow>

namespace ui::qt {

namespace {

// Qt's default title bar has every box; a design without the minimize or
// maximize box gets the close box and what it does ask for.
Qt::WindowFlags titleBarFlags(const layout::WindowDesign &design)
{
    if (design.minimizeBox && design.maximizeBox)
        return Qt::Window;
    Qt::WindowFlags flags = Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (design.minimizeBox)
        flags |= Qt::WindowMinimizeButtonHint;
    if (design.maximizeBox)
        flags |= Qt::WindowMaximizeButtonHint;
    return flags;
}

// The client area: a fixed size below the menu bar, which the window fits.
QWidget *makeClient(QMainWindow *window, const layout::WindowDesign &design)
{
    auto *client = new QWidget(window);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(layout::pixels(design.clientWidth), layout::pixels(design.clientHeight));
    window->setCentralWidget(client);
    window->layout()->setSizeConstraint(QLayout::SetFixedSize);
    return client;
}

} // namespace

QtWindow::QtWindow(const layout::WindowDesign &design, Form &form)
    : QMainWindow(nullptr, titleBarFlags(design)), NativeWindow(form),
      m_controls(makeClient(this, design), design, link())
{
    setObjectName(QLatin1String(design.name.data(), qsizetype(design.name.size())));
    setWindowTitle(qstr(design.caption));
    if (!design.menus.empty())
        m_controls.buildMenus(menuBar());
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (!isVisible() && m_hiddenFocus && now && now != m_hiddenFocus && now->window() == this)
            m_hiddenFocus->setFocus(Qt::OtherFocusReason);
    });
}

void QtWindow::showWindow()
{
    // Shown while another window is still up, the window would otherwise be
    // placed afresh by the window manager. (The offscreen platform places
    // nothing, so no test there can tell.)
    if (m_savedPosition) {
        if (QWindow *native = windowHandle())
            native->setPosition(*m_savedPosition);
    }
    show();
    activateWindow();
}

void QtWindow::hideWindow()
{
    m_savedPosition = geometry().topLeft();
    if (controlOf(focusWidget()) != Control::None)
        m_hiddenFocus = focusWidget();
    hide();
}

void QtWindow::destroyWindow(bool eventUnderWay)
{
    // Inside one of its own events the window goes once that event has
    // returned to Qt, which still uses the widgets.
    hide();
    if (eventUnderWay)
        deleteLater();
    else
        delete this;
}

void QtWindow::closeEvent(QCloseEvent *event)
{
    // The lifecycle decides what closing does (the About window is unloaded,
    // showing the main window again before it goes); the window goes when it
    // says.
    event->ignore();
    link().closeRequested();
}

} // namespace ui::qt
