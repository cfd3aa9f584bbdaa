#include "qt_session.h"

#include "ui/qt/qt_widgets.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QWindow>

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
    if (m_seen != box) {
        m_seen = box;
        m_polls = 0;
        auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        const SeenBox seen{box->windowTitle(), box->text(), box->icon(), int(box->buttons().size()),
                           label ? label->text() : QString()};
        boxes.push_back(seen);
        if (onBox)
            onBox(seen);
        if (boxes.size() > maxBoxes) { // a box that keeps coming back fails the test instead of hanging it
            m_answerer.stop();
            return;
        }
    }
    if (answer != Answer::Ok) {
        // A user answers once the box is the window that has the keyboard.
        // The answerer's rounds each run after the events before them, so a
        // box that has not become that window after this many rounds never
        // does.
        if (QGuiApplication::focusWindow() != box->windowHandle() && ++m_polls < 200)
            return;
        const QString what = box->windowTitle() + QStringLiteral(": ") + box->text().section(QChar(10), 0, 0);
        if (QGuiApplication::focusWindow() != box->windowHandle())
            answerFaults << QStringLiteral("the box \"%1\" never took the keyboard").arg(what);
        else if (!answerAsUser(box))
            answerFaults << QStringLiteral("the answer left the box \"%1\" open").arg(what);
        else
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
