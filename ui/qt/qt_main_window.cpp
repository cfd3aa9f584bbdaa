#include "ui/qt/qt_main_window.h"

#include "ui/main/main_form.h"
#include "ui/main/main_layout.h"
#include "ui/qt/qt_adapters.h"
#include "ui/qt/qt_layout.h"
#include "ui/qt/qt_widgets.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>
#include <QWindow>

namespace ui {

class QtMainWindow::Handle : public MainWindow {
public:
    explicit Handle(QtMainWindow *window)
        : m_window(window),
          m_txtT(window->findChild<InputBox *>(QStringLiteral("txtT"))),
          m_txtL(window->findChild<InputBox *>(QStringLiteral("txtL"))),
          m_lblLT(window->findChild<CaptionLabel *>(QStringLiteral("lblLT"))),
          m_lblF(window->findChild<CaptionLabel *>(QStringLiteral("lblF")))
    {
    }

    ~Handle() override
    {
        if (!m_window)
            return;
        m_window->m_form = nullptr;
        m_window->hide();
        if (m_window->m_forwarding > 0)
            m_window->deleteLater();
        else
            delete m_window.data();
    }

    void show() override { m_window->showFirstOrAgain(); }
    void hide() override { m_window->hideKeepingFocus(); }
    TextBox &txtT() override { return m_txtT; }
    TextBox &txtL() override { return m_txtL; }
    Label &lblLT() override { return m_lblLT; }
    Label &lblF() override { return m_lblF; }
    Control focused() const override { return m_window->controlOf(m_window->focusWidget()); }

private:
    QPointer<QtMainWindow> m_window;
    QtTextBox m_txtT;
    QtTextBox m_txtL;
    QtLabel m_lblLT;
    QtLabel m_lblF;
};

QtMainWindow::QtMainWindow(MainForm &form) : m_form(&form)
{
    const layout::WindowDesign &design = MainLayout();
    setObjectName(QLatin1String(design.name.data(), qsizetype(design.name.size())));
    setWindowTitle(qstr(design.caption));

    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(layout::Pixels(design.clientWidth), layout::Pixels(design.clientHeight));
    setCentralWidget(client);
    const QHash<QString, QWidget *> controls = buildControls(client, design);
    buildMenus(menuBar(), design, [this](MenuItem item) { forward([item](MainForm &f) { f.MenuChosen(item); }); });
    // The client area has a fixed size; the window fits it and the menu bar.
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    for (const char *name : {"txtT", "txtL"}) {
        auto *box = static_cast<InputBox *>(controls.value(QLatin1String(name)));
        const Control id = controlOf(box);
        connect(box, &QLineEdit::textChanged, this, [this, id] { forward([id](MainForm &f) { f.TextChanged(id); }); });
        box->setKeyHandler([this, id](std::int16_t code) { forward([id, code](MainForm &f) { f.KeyPress(id, code); }); });
    }
    for (const char *name : {"cmdCalc", "cmdReset", "cmdExit"}) {
        auto *button = static_cast<QPushButton *>(controls.value(QLatin1String(name)));
        const Control id = controlOf(button);
        connect(button, &QPushButton::clicked, this, [this, id] { forward([id](MainForm &f) { f.Click(id); }); });
    }
    connect(qApp, &QApplication::focusChanged, this, &QtMainWindow::onFocusChanged);
    controls.value(QStringLiteral("txtT"))->setFocus(Qt::OtherFocusReason);
}

QtMainWindow::~QtMainWindow()
{
    // The focus leaves the boxes while the widgets go; nothing may validate.
    disconnect(qApp, &QApplication::focusChanged, this, nullptr);
    m_form = nullptr;
}

std::unique_ptr<MainWindow> QtMainWindow::handle(QtMainWindow *window)
{
    return std::make_unique<Handle>(window);
}

template <class Event>
void QtMainWindow::forward(Event event)
{
    if (!m_form)
        return;
    ++m_forwarding;
    event(*m_form);
    --m_forwarding;
}

Control QtMainWindow::controlOf(const QWidget *widget) const
{
    if (!widget || widget->window() != this)
        return Control::None;
    const QString name = widget->objectName();
    for (const layout::ControlDesign &design : MainLayout().controls)
        if (design.id != Control::None && name == QLatin1String(design.name.data(), qsizetype(design.name.size())))
            return design.id;
    return Control::None;
}

void QtMainWindow::onFocusChanged(QWidget *old, QWidget *now)
{
    const Control from = controlOf(old);
    const Control to = controlOf(now);
    if (from != Control::None || to != Control::None)
        forward([from, to](MainForm &f) { f.FocusMoved(from, to); });
}

void QtMainWindow::closeEvent(QCloseEvent *event)
{
    // The lifecycle decides what closing does; the window goes when it says.
    event->ignore();
    forward([](MainForm &f) { f.CloseRequested(); });
}

void QtMainWindow::hideKeepingFocus()
{
    m_savedFocus = focusWidget();
    m_savedPosition = geometry().topLeft();
    hide();
}

void QtMainWindow::showFirstOrAgain()
{
    if (m_shown) {
        // A menu closing over the hidden window can move its focus child;
        // it goes back to where it was (the window is hidden and inactive,
        // so no focus event fires).
        if (m_savedFocus)
            m_savedFocus->setFocus(Qt::OtherFocusReason);
        // Shown while the About window is still up, the window would
        // otherwise be placed afresh by the window manager.
        if (m_savedPosition) {
            if (QWindow *native = windowHandle())
                native->setPosition(*m_savedPosition);
        }
    }
    m_shown = true;
    show();
    activateWindow();
}

} // namespace ui
