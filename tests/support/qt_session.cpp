#include "qt_session.h"

#include "ui/qt/qt_widgets.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWindow>

namespace test_support {

namespace {

// Hands every event of the application to a function first.
class EventWatcher : public QObject {
public:
    explicit EventWatcher(std::function<void(QObject *, QEvent *)> heard) : m_heard(std::move(heard))
    {
        qApp->installEventFilter(this);
    }
    ~EventWatcher() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        m_heard(watched, event);
        return false;
    }

private:
    std::function<void(QObject *, QEvent *)> m_heard;
};

} // namespace

QtSession::QtSession(std::function<void()> end)
    : program([this, end = std::move(end)] {
          ++endCalls;
          if (end)
              end();
      })
{
    m_watcher = std::make_unique<EventWatcher>([this](QObject *watched, QEvent *event) {
        if (event->type() == QEvent::Show)
            if (auto *box = qobject_cast<QMessageBox *>(watched); box && box->isWindow())
                boxShown(box);
    });
    program.start();
    main = program.mainWidget();
    giveKeyboardToShownWindow();
}

QtSession::~QtSession() = default;

void QtSession::settle()
{
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    // A bound on the rounds, should something keep posting forever.
    for (int round = 0; round < 1000; ++round) {
        QGuiApplication::sync();
        bool handled = false;
        while (dispatcher->processEvents(QEventLoop::AllEvents))
            handled = true;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (!handled)
            return;
    }
    qWarning("events kept coming after 1000 rounds");
}

bool QtSession::waitFor(const std::function<bool()> &condition)
{
    if (condition())
        return true;
    // Each event that comes wakes the wait, the bound's own included.
    QTimer bound;
    bound.setSingleShot(true);
    bound.start(10000);
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    while (!condition()) {
        if (!bound.isActive())
            return false;
        dispatcher->processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void QtSession::giveKeyboardToShownWindow()
{
    QWidget *shown = shownWindow();
    if (!shown || QGuiApplication::focusWindow() == shown->windowHandle())
        return;
    shown->activateWindow();
    if (!waitFor([shown] { return QGuiApplication::focusWindow() == shown->windowHandle(); }))
        qWarning("the window shown did not take the keyboard");
    settle();
}

QWidget *QtSession::widget(const QString &name) const
{
    return main->findChild<QWidget *>(name);
}

QString QtSession::text(const char *box) const
{
    return main->findChild<QLineEdit *>(QLatin1String(box))->text();
}

ui::qt::CaptionLabel *QtSession::label(const char *name) const
{
    return main->findChild<ui::qt::CaptionLabel *>(QLatin1String(name));
}

QString QtSession::caption(const char *name) const
{
    return label(name)->text();
}

bool QtSession::aboutVisible() const
{
    return about() && about()->isVisible();
}

QWidget *QtSession::shownWindow() const
{
    if (ended())
        return nullptr;
    if (aboutVisible())
        return about();
    return main && main->isVisible() ? main : nullptr;
}

QStringList QtSession::messages() const
{
    QStringList list;
    for (const SeenBox &b : boxes)
        list << b.title + QStringLiteral(": ") + QString(b.text).replace(QChar(10), QChar(13));
    return list;
}

void QtSession::boxShown(QMessageBox *box)
{
    auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
    const SeenBox seen{box->windowTitle(), box->text(), box->icon(), int(box->buttons().size()),
                       label ? label->text() : QString()};
    boxes.push_back(seen);
    if (onBox)
        onBox(seen);
    if (boxes.size() > maxBoxes)
        qFatal("message boxes keep coming back; the last: %s", qPrintable(seen.text));
    // Runs in the box's own event loop, once the show has returned to it.
    QMetaObject::invokeMethod(
            m_watcher.get(), [this, guard = QPointer<QMessageBox>(box)] { answerBox(guard); }, Qt::QueuedConnection);
}

void QtSession::answerBox(const QPointer<QMessageBox> &box)
{
    if (!box || !box->isVisible())
        return;
    if (answer != Answer::Ok) {
        // A user answers once the box is the window that has the keyboard.
        const bool keyboard = waitFor([&box] { return !box || QGuiApplication::focusWindow() == box->windowHandle(); });
        if (!box)
            return;
        const QString what = box->windowTitle() + QStringLiteral(": ") + box->text().section(QChar(10), 0, 0);
        if (!keyboard)
            answerFaults << QStringLiteral("no keyboard for the box \"%1\"").arg(what);
        else if (!answerAsUser(box))
            answerFaults << QStringLiteral("the answer left open the box \"%1\"").arg(what);
        if (!box || !box->isVisible())
            return;
    }
    if (QAbstractButton *ok = box->button(QMessageBox::Ok))
        ok->click();
    else
        box->done(0);
}

bool QtSession::answerAsUser(QMessageBox *box)
{
    const QPointer<QMessageBox> guard(box);
    QWindow *window = box->windowHandle();
    switch (answer) {
    case Answer::Enter:
        QTest::keyClick(window, Qt::Key_Return);
        break;
    case Answer::Space:
        QTest::keyClick(window, Qt::Key_Space);
        break;
    case Answer::Escape:
        QTest::keyClick(window, Qt::Key_Escape);
        break;
    case Answer::Click:
        // Through the window at the button's place, as the pointer gives it.
        if (QAbstractButton *ok = box->button(QMessageBox::Ok))
            QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, ok->mapTo(box, ok->rect().center()));
        break;
    case Answer::Ok:
        break;
    }
    return !guard || !guard->isVisible();
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
