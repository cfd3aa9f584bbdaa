#include "ui/qt/qt_about_window.h"

#include "ui/about/about_form.h"
#include "ui/about/about_layout.h"
#include "ui/qt/qt_adapters.h"
#include "ui/qt/qt_layout.h"
#include "ui/qt/qt_widgets.h"

#include <QCloseEvent>
#include <QPointer>

namespace ui {

class QtAboutWindow::Handle : public AboutWindow {
public:
    explicit Handle(QtAboutWindow *window)
        : m_window(window), m_label(window->findChild<CaptionLabel *>(QStringLiteral("lblTheLabel")))
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

    void show() override
    {
        m_window->show();
        m_window->activateWindow();
    }
    void hide() override { m_window->hide(); }
    Label &lblTheLabel() override { return m_label; }

private:
    QPointer<QtAboutWindow> m_window;
    QtLabel m_label;
};

QtAboutWindow::QtAboutWindow(AboutForm &form)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_form(&form)
{
    const layout::WindowDesign &design = AboutLayout();
    setObjectName(QLatin1String(design.name.data(), qsizetype(design.name.size())));
    setWindowTitle(qstr(design.caption));
    setFixedSize(layout::Pixels(design.clientWidth), layout::Pixels(design.clientHeight));

    const QHash<QString, QWidget *> controls = buildControls(this, design);
    auto *ok = static_cast<QPushButton *>(controls.value(QStringLiteral("cmdOK")));
    connect(ok, &QPushButton::clicked, this, [this] { forward([](AboutForm &f) { f.Click(Control::cmdOK); }); });
    ok->setFocus(Qt::OtherFocusReason);
}

QtAboutWindow::~QtAboutWindow() = default;

std::unique_ptr<AboutWindow> QtAboutWindow::handle(QtAboutWindow *window)
{
    return std::make_unique<Handle>(window);
}

template <class Event>
void QtAboutWindow::forward(Event event)
{
    if (!m_form)
        return;
    ++m_forwarding;
    event(*m_form);
    --m_forwarding;
}

void QtAboutWindow::closeEvent(QCloseEvent *event)
{
    // The lifecycle unloads the window; the main window is shown again
    // inside the unload, before this one goes.
    event->ignore();
    forward([](AboutForm &f) { f.CloseRequested(); });
}

} // namespace ui
