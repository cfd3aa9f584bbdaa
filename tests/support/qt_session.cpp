#include "qt_session.h"

#include "ui/qt/qt_widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

namespace test_support {

QtSession::QtSession(int answerEveryMs, std::function<void()> end)
    : program([this, end = std::move(end)] {
          ++endCalls;
          if (end)
              end();
      })
{
    m_answerer.setInterval(answerEveryMs);
    QObject::connect(&m_answerer, &QTimer::timeout, [this] { answerBox(); });
    m_answerer.start();
    program.Start();
    main = program.frmMain();
    main->activateWindow();
    if (!QTest::qWaitForWindowActive(main, 1000))
        qWarning("the main window did not become active");
}

QtSession::~QtSession()
{
    m_answerer.stop();
}

void QtSession::settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

bool QtSession::activateVisibleWindow()
{
    QWidget *active = QApplication::activeWindow();
    if (active && active->isVisible())
        return false;
    QWidget *window = aboutVisible() ? static_cast<QWidget *>(about())
                                     : main->isVisible() ? static_cast<QWidget *>(main) : nullptr;
    if (!window)
        return false;
    window->activateWindow();
    settle();
    return true;
}

QWidget *QtSession::widget(const QString &name) const
{
    return main->findChild<QWidget *>(name);
}

QString QtSession::text(const char *box) const
{
    return main->findChild<QLineEdit *>(QLatin1String(box))->text();
}

ui::CaptionLabel *QtSession::label(const char *name) const
{
    return main->findChild<ui::CaptionLabel *>(QLatin1String(name));
}

QString QtSession::caption(const char *name) const
{
    return label(name)->text();
}

bool QtSession::aboutVisible() const
{
    return about() && about()->isVisible();
}

QStringList QtSession::messages() const
{
    QStringList list;
    for (const SeenBox &b : boxes)
        list << b.title + QStringLiteral(": ") + QString(b.text).replace(QChar(10), QChar(13));
    return list;
}

void QtSession::answerBox()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    const SeenBox seen{box->windowTitle(), box->text(), box->icon(), int(box->buttons().size()),
                       label ? label->text() : QString()};
    boxes.push_back(seen);
    if (onBox)
        onBox(seen);
    if (boxes.size() > maxBoxes) // a box that keeps coming back fails the test instead of hanging it
        m_answerer.stop();
    if (QAbstractButton *ok = box->button(QMessageBox::Ok))
        ok->click();
    else
        box->done(0);
}

namespace {

QtMessageHandler g_previousHandler = nullptr;

void quietPlatform(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support")))
        return;
    g_previousHandler(type, context, message);
}

} // namespace

void quietOffscreenPlatform()
{
    if (!g_previousHandler)
        g_previousHandler = qInstallMessageHandler(quietPlatform);
}

} // namespace test_support
