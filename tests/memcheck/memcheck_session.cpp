// One scripted session with the real program, started and ended the way
// app/main.cpp does it, for valgrind's memcheck (scripts/memcheck.sh) and as
// a quick test of its own: start, type 5800 and 1 and calculate, enter a
// wavelength that is no number and answer its message, open About and come
// back, Exit. Every step checks what the windows then show; the program's
// own end (the event loop returning) finishes the session, so everything the
// program allocates is freed, or reported, as the program itself would.
//
// Exit status 0 when every step showed what it should and the event loop
// ended through Exit; 1 when a step failed; 2 when the session got stuck.

#include "qt_session.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <cstdio>

namespace {

class Script {
public:
    explicit Script(test_support::QtSession &session) : m_session(session), m_program(session.program)
    {
        // A box that keeps coming back ends the session.
        m_session.onBox = [this](const test_support::SeenBox &) {
            if (m_session.boxes.size() > 10)
                stop(1);
        };
    }

    bool passed() const { return m_failures == 0 && m_finished; }

    void run()
    {
        m_main = m_program.mainWidget();
        if (!check(m_main != nullptr, "the main window exists"))
            return stop(1);
        check(QApplication::activeWindow() == m_main, "the main window becomes active");
        check(focusName() == QLatin1String("txtT"), "the focus starts in txtT");
        check(text("txtT") == QLatin1String("0") && text("txtL") == QLatin1String("0"), "both boxes start at 0");

        // 5800 K, 1 µm, Enter.
        replaceText("5800");
        key(Qt::Key_Tab);
        check(focusName() == QLatin1String("txtL"), "Tab moves to txtL");
        replaceText("1");
        key(Qt::Key_Return);
        check(caption("lblF") == QLatin1String("0.7201"), "F(0-1 um, 5800 K) shows 0.7201");
        check(caption("lblLT") == QLatin1String("5800"), "lambda T shows 5800");
        check(m_session.boxes.isEmpty(), "a good calculation shows no message");

        // A wavelength that is no number: leaving the box shows the message,
        // which is answered, and the focus comes back.
        replaceText("abc");
        check(caption("lblF").isEmpty(), "an edit empties the results");
        key(Qt::Key_Tab);
        settle();
        check(m_session.messages() == QStringList{QStringLiteral("Emberline: The value for wavelength must be a number.")},
              "the wavelength message was shown once");
        check(focusName() == QLatin1String("txtL"), "the focus is back in txtL");
        check(!QApplication::activeModalWidget(), "no message box is left open");
        replaceText("1");
        key(Qt::Key_Return);
        check(caption("lblF") == QLatin1String("0.7201"), "calculating again shows 0.7201");

        // Help > About, then OK.
        QTest::keyClick(m_main->focusWidget(), Qt::Key_H, Qt::AltModifier);
        if (!check(QTest::qWaitFor([] { return QApplication::activePopupWidget() != nullptr; }, 60000),
                   "Alt+H opens the Help menu"))
            return stop(1);
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_A);
        settle();
        ui::qt::QtWindow *about = m_program.aboutWidget();
        if (!check(about && about->isVisible(), "About shows the About window"))
            return stop(1);
        check(!m_main->isVisible(), "the main window is hidden behind About");
        QTest::mouseClick(about->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
        settle();
        check(m_main->isVisible(), "OK brings the main window back");
        check(m_program.aboutWidget() == nullptr, "OK unloads the About window");
        m_main->activateWindow();
        check(QTest::qWaitForWindowActive(m_main), "the main window is active again");
        check(text("txtT") == QLatin1String("5800") && text("txtL") == QLatin1String("1"),
              "the boxes keep their texts across About");

        // Exit: the program ends through its own End(), leaving the event loop.
        m_expectingEnd = true;
        QTest::mouseClick(m_main->findChild<QPushButton *>(QStringLiteral("cmdExit")), Qt::LeftButton);
    }

    void finish(int status)
    {
        m_finished = m_expectingEnd && status == 0 && m_session.ended();
        check(m_finished, "Exit ends the event loop");
        check(m_session.boxes.size() == 1, "no other message box appeared");
    }

    bool check(bool condition, const char *what)
    {
        if (!condition) {
            ++m_failures;
            std::fprintf(stderr, "FAIL: %s\n", what);
        }
        return condition;
    }

private:
    void stop(int status) { QCoreApplication::exit(status); }

    QString focusName() const
    {
        const QWidget *focus = m_main->focusWidget();
        return focus ? focus->objectName() : QString();
    }
    QString text(const char *name) const { return m_main->findChild<QLineEdit *>(QLatin1String(name))->text(); }
    QString caption(const char *name) const { return m_main->findChild<QLabel *>(QLatin1String(name))->text(); }

    void key(Qt::Key k)
    {
        QTest::keyClick(m_main->focusWidget(), k);
        settle();
    }

    void replaceText(const char *text)
    {
        QWidget *box = m_main->focusWidget();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, QString::fromLatin1(text));
        settle();
    }

    static void settle() { test_support::QtSession::settle(); }

    test_support::QtSession &m_session;
    app::Program &m_program;
    ui::qt::QtWindow *m_main = nullptr;
    int m_failures = 0;
    bool m_expectingEnd = false;
    bool m_finished = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    app::setApplicationIdentity();
    QApplication::setCursorFlashTime(0);

    // Valgrind runs the program some fifty times slower; past this the
    // session is stuck rather than slow.
    QTimer::singleShot(600000, &application, [] {
        std::fputs("FAIL: the session did not end within 10 minutes\n", stderr);
        QCoreApplication::exit(2);
    });

    int status = 0;
    {
        // The program's own end: leaving the event loop.
        test_support::QtSession session([] { QCoreApplication::exit(0); });
        Script script(session);
        QTimer::singleShot(0, &application, [&script] { script.run(); });
        status = QApplication::exec();
        script.finish(status);
        if (status == 0 && !script.passed())
            status = 1;
    }
    std::puts(status == 0 ? "memcheck session: every step passed" : "memcheck session: FAILED");
    return status;
}
