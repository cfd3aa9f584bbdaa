// A seeded monkey run over the real windows: thousands of random key
// strokes, pastes, clicks, access keys, shortcuts and menu picks, with the
// windows' invariants checked after every single one:
//  - exactly one of the two windows (main, About) is on screen;
//  - no message box and no menu is left open;
//  - the main window's focus is on txtT, txtL, cmdCalc, cmdReset or cmdExit;
//  - the results lblF and lblLT are both empty or both shown, and shown
//    results are exactly what calc::CalculateValues gives for the texts now
//    in the boxes (any change of a text empties them);
//  - the main window comes back from About with its texts and results as
//    they were, and Reset leaves "0" in both boxes and no results;
//  - the process lives (a crash prints the actions that led to it).
// Every message box is answered with OK as it appears. Exit (button, Alt+X,
// Ctrl+Q, File > Exit) ends the program through an injected end function;
// the run then goes on with a new program.
//
// The run is reproducible from its seed. A failing run prints the seed, the
// actions so far in a replayable form and a shortened replay that still
// fails the same way.
//
//   EMBERLINE_MONKEY_SEED=<n>            seed (decimal or 0x hex); default fixed
//   EMBERLINE_MONKEY_ACTIONS=<n>         number of random actions (default 10000)
//   EMBERLINE_MONKEY_REPLAY='<actions>'  run exactly these actions instead
//   EMBERLINE_MONKEY_SHRINK_SECONDS=<n>  time allowed to shorten a failing
//                                        replay (default 120, 0 = off)
//   EMBERLINE_MONKEY_TRACE=1             print every action and the state it met
//
// Actions are tokens separated by ';':
//   type=<text>           the characters typed into the focus widget
//   set=<text>            Ctrl+A, then the characters typed
//   key=<k>               bs del home end left right tab backtab enter
//                         kpenter space esc, on the focus widget
//   ctrl=<X>, alt=<X>     Ctrl+X, Alt+X on the focus widget
//   paste=<p>/<u>*<n>/<s> the text p + n times u + s through the clipboard
//                         and Ctrl+V
//   click=<w>, dclick=<w>, tclick=<w>
//                         mouse click, double and triple click on a control
//                         (txtT, txtL, cmdCalc, cmdReset, cmdExit, About's cmdOK)
//   menu=<M>:<i>          Alt+M, then key i on the menu (esc: Escape twice)
//   close=about, close=main
// for instance: type=58e2;key=tab;paste=0./0*400/1;alt=C;menu=H:A;key=enter

#include "calc/calculation.h"
#include "qt_session.h"
#include "runtime/error.h"
#include "ui/qt/qt_widgets.h"

#include <QtTest>
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QStyleHints>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>

namespace {

// ---------------------------------------------------------------------------
// Reproducible randomness: splitmix64, the same numbers on every platform
// and standard library.

class Rng {
public:
    explicit Rng(quint64 seed) : m_state(seed) { }

    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return int(next() % quint64(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool percent(int p) { return below(100) < p; }
    QChar pick(const char *pool) { return QLatin1Char(pool[below(int(std::strlen(pool)))]); }

private:
    quint64 m_state;
};

// Picks an index by weight.
int weighted(Rng &rng, std::initializer_list<int> weights)
{
    int total = 0;
    for (int w : weights)
        total += w;
    int r = rng.below(total);
    int index = 0;
    for (int w : weights) {
        if (r < w)
            return index;
        r -= w;
        ++index;
    }
    return index - 1;
}

// ---------------------------------------------------------------------------
// What a crash leaves behind: the seed and every action up to the fatal one,
// written from the signal handler.

std::string g_crashHeader;
std::string g_crashActions;
std::size_t g_crashSessionStart = 0; // where the actions of the running session begin
struct sigaction g_previous[32];
const int g_fatalSignals[] = {SIGSEGV, SIGABRT, SIGFPE, SIGBUS, SIGILL};

void writeAll(const std::string &text)
{
    const char *p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(STDERR_FILENO, p, left);
        if (n <= 0)
            return;
        p += n;
        left -= std::size_t(n);
    }
}

extern "C" void onFatalSignal(int sig)
{
    writeAll("\n*** tst_monkey: fatal signal during the monkey run\n");
    writeAll(g_crashHeader);
    writeAll("\nreplay: EMBERLINE_MONKEY_REPLAY='");
    writeAll(g_crashActions);
    writeAll("'\n");
    if (g_crashSessionStart > 0 && g_crashSessionStart < g_crashActions.size()) {
        // Sessions share nothing, so the running session's actions alone
        // most likely do it again.
        writeAll("this session only: EMBERLINE_MONKEY_REPLAY='");
        writeAll(g_crashActions.substr(g_crashSessionStart));
        writeAll("'\n");
    }
    // Hand over to whoever handled the signal before (Qt Test's reporter).
    sigaction(sig, &g_previous[sig], nullptr);
    raise(sig);
}

class CrashReporter {
public:
    CrashReporter()
    {
        struct sigaction action = {};
        action.sa_handler = onFatalSignal;
        sigemptyset(&action.sa_mask);
        for (int sig : g_fatalSignals)
            sigaction(sig, &action, &g_previous[sig]);
    }
    ~CrashReporter()
    {
        for (int sig : g_fatalSignals)
            sigaction(sig, &g_previous[sig], nullptr);
    }
};

// ---------------------------------------------------------------------------
// Texts for the actions.

// Characters a user types: digits most of all, then what numbers are made
// of, then anything else on the keyboard. Never ';', '/', '*' or '='
// (the replay format's separators) nor a quote.
const char *const DigitPool = "0123456789";
const char *const NumberPool = "0123456789.-eE +";
const char *const AnyPool = "0123456789.-eE +abcdfghijklmnopqrstuvwxyzABCDXYZ,_#()!?:";

QString typedText(Rng &rng)
{
    QString text;
    switch (weighted(rng, {50, 30, 20})) {
    case 0: { // something number-like
        if (rng.percent(20))
            text += QLatin1Char('-');
        for (int i = rng.between(1, 5); i > 0; --i)
            text += rng.pick(DigitPool);
        if (rng.percent(40)) {
            text += QLatin1Char('.');
            for (int i = rng.between(0, 3); i > 0; --i)
                text += rng.pick(DigitPool);
        }
        if (rng.percent(25)) {
            text += rng.pick("eE");
            if (rng.percent(40))
                text += rng.pick("-+");
            for (int i = rng.between(0, 3); i > 0; --i)
                text += rng.pick(DigitPool);
        }
        break;
    }
    case 1:
        for (int i = rng.between(1, 5); i > 0; --i)
            text += rng.pick(NumberPool);
        break;
    default:
        for (int i = rng.between(1, 6); i > 0; --i)
            text += rng.pick(AnyPool);
        break;
    }
    return text;
}

QString shortNumber(Rng &rng)
{
    static const char *const numbers[] = {"5800", "1", "0", "0.5", "1e3", "2.5E-1", "-3", "1e308",
                                          "1e-320", "1e309", "300", "0.0001", "14387.96", ".5", "5."};
    return QLatin1String(numbers[rng.below(int(std::size(numbers)))]);
}

// A pasted text as prefix, a unit repeated `count` times and a suffix, so
// that texts of thousands of characters stay short in a replay.
struct PasteText {
    QString prefix;
    QString unit;
    int count = 0;
    QString suffix;

    QString text() const { return prefix + unit.repeated(count) + suffix; }
    QString token() const
    {
        return QStringLiteral("paste=%1/%2*%3/%4").arg(prefix, unit).arg(count).arg(suffix);
    }
    static std::optional<PasteText> parse(const QString &argument)
    {
        const QStringList parts = argument.split(QLatin1Char('/'));
        if (parts.size() != 3)
            return std::nullopt;
        const qsizetype star = parts[1].lastIndexOf(QLatin1Char('*'));
        if (star < 0)
            return std::nullopt;
        bool ok = false;
        const int count = parts[1].mid(star + 1).toInt(&ok);
        if (!ok || count < 0)
            return std::nullopt;
        return PasteText{parts[0], parts[1].left(star), count, parts[2]};
    }
};

int repeatCount(Rng &rng, int unitLength, int fixedLength)
{
    const int most = (10000 - fixedLength) / unitLength;
    switch (weighted(rng, {30, 25, 45})) {
    case 0:
        return rng.between(0, 20);
    case 1: // around the double range and the 16-bit text length
        return std::min(most, rng.between(300, 330));
    default:
        return rng.between(0, most);
    }
}

PasteText pasteText(Rng &rng)
{
    PasteText p;
    switch (rng.below(9)) {
    case 0: // a long integer
        p = {QString(), QStringLiteral("9"), 0, QString()};
        break;
    case 1: // a tiny fraction
        p = {QStringLiteral("0."), QStringLiteral("0"), 0, QStringLiteral("1")};
        break;
    case 2: // many zeros and an exponent that brings them back
        p = {QStringLiteral("1"), QStringLiteral("0"), 0,
             QStringLiteral("e-%1").arg(rng.between(0, 10300))};
        break;
    case 3: // a number inside a sea of spaces
        p = {QString(), QStringLiteral(" "), 0, shortNumber(rng)};
        break;
    case 4: // an ordinary short number
        return PasteText{shortNumber(rng), QString(), 0, QString()};
    case 5: { // junk
        QString unit;
        for (int i = rng.between(1, 4); i > 0; --i)
            unit += rng.pick(AnyPool);
        p = {QString(), unit, 0, QString()};
        break;
    }
    case 6: // an exponent with many digits
        p = {QStringLiteral("1e"), QStringLiteral("0"), 0, QString::number(rng.between(0, 400))};
        break;
    case 7: // a repeated fraction
        p = {rng.percent(30) ? QStringLiteral("-") : QString(), QStringLiteral("5"), 0, QStringLiteral(".5")};
        break;
    default: // typed-looking text, pasted
        return PasteText{typedText(rng), QString(), 0, QString()};
    }
    p.count = repeatCount(rng, int(p.unit.size()), int(p.prefix.size() + p.suffix.size()));
    return p;
}

QString shortened(const QString &text)
{
    QString shown = text;
    shown.replace(QChar(13), QStringLiteral("\\r")).replace(QChar(10), QStringLiteral("\\n"));
    if (shown.size() <= 40)
        return QLatin1Char('"') + shown + QLatin1Char('"');
    return QStringLiteral("\"%1...\" (%2 characters)").arg(shown.left(30)).arg(text.size());
}

// ---------------------------------------------------------------------------
// The program under test, with its end intercepted.
using Session = test_support::QtSession;

struct Failure {
    QString invariant; // a short name, the same for the same kind of fault
    QString detail;
    int index = -1;    // the action after which it was seen
};

struct Counters {
    int sessions = 1;
    int ends = 0;
    int closedByCloseBox = 0;
    int messages = 0;
    int calculations = 0;   // actions after which results appeared
    int aboutShown = 0;
    int aboutClosed = 0;
    int pastes = 0;
    int skipped = 0;        // actions that did not apply to the state they met
    int noActiveWindow = 0; // actions that found no active window to type into
    int reactivations = 0;  // windows activated after the active one went away
    qsizetype longestText = 0;
    QMap<QString, int> messageKinds; // how often each message was shown
};

// Runs actions on a session, answers every message box as it appears,
// starts a new session when the program ends, and checks the invariants.
class Driver {
public:
    explicit Driver(bool clipboardWorks) : m_clipboardWorks(clipboardWorks)
    {
        g_crashActions.clear();
        g_crashSessionStart = 0;
        newSession();
    }

    ~Driver()
    {
        m_session.reset();
        settle();
    }

    const Counters &counters() const { return m_counters; }
    const QStringList &actions() const { return m_actions; }
    const QList<QStringList> &messages() const { return m_messages; }

    // Performs one action and checks the invariants after it.
    std::optional<Failure> step(const QString &token)
    {
        m_actions << token;
        m_messages << QStringList();
        if (!g_crashActions.empty())
            g_crashActions += ';';
        g_crashActions += token.toStdString();
        m_boxesThisAction = 0;
        m_menuFailure.clear();
        const bool hadResults = !m_session->label("lblF")->caption().empty();
        if (m_trace)
            fprintf(stderr, "#%d %s  [%s]\n", int(m_actions.size()), qPrintable(token), qPrintable(describeState()));

        const int endsBefore = m_session->endCalls;
        const MainState before = mainState();
        const bool aboutBefore = m_session->aboutVisible();
        if (!aboutBefore)
            m_beforeAbout = before;
        const bool mayReset = isResetAction(token) && !aboutBefore
                && QApplication::activeWindow() == m_session->main;
        perform(token);
        settle();
        if (m_session->activateVisibleWindow())
            ++m_counters.reactivations;

        std::optional<Failure> failure = checkTransient();
        if (!failure && !m_menuFailure.isEmpty())
            failure = Failure{QStringLiteral("menu"), m_menuFailure};
        if (failure) {
            failure->index = int(m_actions.size()) - 1;
            return failure;
        }
        if (m_session->endCalls != endsBefore) {
            m_counters.ends += !m_closedMain;
            m_counters.closedByCloseBox += m_closedMain;
            m_closedMain = false;
            m_session.reset();
            settle();
            newSession();
            ++m_counters.sessions;
            g_crashSessionStart = g_crashActions.size() + 1;
            m_messages.last() << QStringLiteral("(program ended; new session)");
        } else if (!hadResults && !m_session->label("lblF")->caption().empty()) {
            ++m_counters.calculations;
        }
        failure = checkWindows();
        if (!failure && aboutBefore && m_session->main->isVisible() && mainState() != m_beforeAbout)
            failure = Failure{QStringLiteral("About round trip"),
                              QStringLiteral("the main window came back as %1, not as %2")
                                      .arg(mainState().describe(), m_beforeAbout.describe())};
        if (!failure && mayReset && m_boxesThisAction == 0 && m_session->endCalls == endsBefore
            && mainState() != MainState{QStringLiteral("0"), QStringLiteral("0"), {}, {}})
            failure = Failure{QStringLiteral("reset"),
                              QStringLiteral("Reset left %1").arg(mainState().describe())};
        if (failure)
            failure->index = int(m_actions.size()) - 1;
        m_counters.longestText = std::max({m_counters.longestText, m_session->text("txtT").size(),
                                           m_session->text("txtL").size()});
        return failure;
    }

    // A random action that fits the state the windows are in.
    QString generate(Rng &rng)
    {
        if (m_session->aboutVisible()) {
            switch (weighted(rng, {12, 8, 8, 8, 8, 6, 4, 4, 4, 3, 3, 3})) {
            case 0: return QStringLiteral("click=cmdOK");
            case 1: return QStringLiteral("key=enter");
            case 2: return QStringLiteral("key=space");
            case 3: return QStringLiteral("alt=O");
            case 4: return QStringLiteral("close=about");
            case 5: return QStringLiteral("type=") + typedText(rng);
            case 6: return QStringLiteral("key=tab");
            case 7: return QStringLiteral("key=backtab");
            case 8: return QStringLiteral("key=esc");
            case 9: return QStringLiteral("ctrl=") + rng.pick("ALRI");
            case 10: return QStringLiteral("alt=") + rng.pick("CRXFH");
            default: return QStringLiteral("click=") + QLatin1String(rng.percent(50) ? "txtT" : "cmdCalc");
            }
        }
        switch (weighted(rng, {240, 50, 25, 15, 15, 10, 10, 40, 50, 80, 50, 60, 20, 15,
                               90, 40, 12, 12, 25, 10, 10, 22, 4, 4, 8, 8, 2, 15, 8, 10, 100})) {
        case 0: return QStringLiteral("type=") + typedText(rng);
        case 1: return QStringLiteral("key=bs");
        case 2: return QStringLiteral("key=del");
        case 3: return QStringLiteral("key=home");
        case 4: return QStringLiteral("key=end");
        case 5: return QStringLiteral("key=left");
        case 6: return QStringLiteral("key=right");
        case 7: return QStringLiteral("ctrl=A");
        case 8: return pasteText(rng).token();
        case 9: return QStringLiteral("key=tab");
        case 10: return QStringLiteral("key=backtab");
        case 11: return QStringLiteral("key=enter");
        case 12: return QStringLiteral("key=space");
        case 13: return QStringLiteral("key=esc");
        case 14: {
            static const char *const boxes[] = {"txtT", "txtL"};
            return QStringLiteral("click=") + QLatin1String(boxes[rng.below(2)]);
        }
        case 15: {
            static const char *const buttons[] = {"cmdCalc", "cmdReset", "cmdExit"};
            return QStringLiteral("click=") + QLatin1String(buttons[weighted(rng, {12, 6, 1})]);
        }
        case 16: return QStringLiteral("alt=C");
        case 17: return QStringLiteral("alt=R");
        case 18: return QStringLiteral("ctrl=L");
        case 19: return QStringLiteral("ctrl=R");
        case 20: return QStringLiteral("ctrl=I");
        case 21: return QStringLiteral("menu=H:A");
        case 22: return QStringLiteral("menu=H:I");
        case 23: return QLatin1String(rng.percent(50) ? "menu=H:esc" : "menu=F:esc");
        case 24: return QStringLiteral("alt=X");
        case 25: return QLatin1String(rng.percent(50) ? "ctrl=Q" : "menu=F:X");
        case 26: return QStringLiteral("close=main");
        case 27: return QStringLiteral("ctrl=") + rng.pick("ZYXCV"); // undo, redo, cut, copy, paste
        case 28: return QStringLiteral("key=kpenter");
        case 29: {
            static const char *const targets[] = {"txtT", "txtL", "cmdCalc", "cmdReset", "cmdExit"};
            return QLatin1String(rng.percent(70) ? "dclick=" : "tclick=")
                    + QLatin1String(targets[weighted(rng, {4, 4, 4, 2, 1})]);
        }
        default: return QStringLiteral("set=") + typedText(rng);
        }
    }

    QString describeState() const
    {
        const Session &s = *m_session;
        QWidget *focus = s.main->focusWidget();
        QWidget *active = QApplication::activeWindow();
        QString cursor;
        if (auto *edit = qobject_cast<QLineEdit *>(focus))
            cursor = QStringLiteral(" cursor=%1 selected=%2").arg(edit->cursorPosition()).arg(edit->selectedText().size());
        return QStringLiteral("txtT=%1 txtL=%2 lblF=%3 lblLT=%4 focus=%5%9 active=%6 main %7, About %8")
                .arg(shortened(s.text("txtT")), shortened(s.text("txtL")),
                     shortened(QString::fromStdU16String(s.label("lblF")->caption())),
                     shortened(QString::fromStdU16String(s.label("lblLT")->caption())),
                     focus ? focus->objectName() + QLatin1Char('(') + QLatin1String(focus->metaObject()->className())
                                     + QLatin1Char(')')
                           : QStringLiteral("none"),
                     active ? active->objectName() : QStringLiteral("none"),
                     QLatin1String(s.main->isVisible() ? "visible" : "hidden"),
                     QLatin1String(!s.about() ? "not loaded" : s.aboutVisible() ? "visible" : "hidden"))
                .arg(cursor);
    }

private:
    static void settle() { Session::settle(); }

    // The texts and captions of the main window.
    struct MainState {
        QString txtT, txtL, lblF, lblLT;
        bool operator==(const MainState &) const = default;
        QString describe() const
        {
            return QStringLiteral("txtT=%1 txtL=%2 lblF=%3 lblLT=%4")
                    .arg(shortened(txtT), shortened(txtL), shortened(lblF), shortened(lblLT));
        }
    };

    MainState mainState() const
    {
        const Session &s = *m_session;
        return {s.text("txtT"), s.text("txtL"), QString::fromStdU16String(s.label("lblF")->caption()),
                QString::fromStdU16String(s.label("lblLT")->caption())};
    }

    // Reset by its button, access key or shortcut: when no message came
    // up (a validation on the way to the button may refuse it), the boxes
    // hold "0" and the results are empty.
    static bool isResetAction(const QString &token)
    {
        return token == QLatin1String("click=cmdReset") || token == QLatin1String("dclick=cmdReset")
                || token == QLatin1String("tclick=cmdReset") || token == QLatin1String("alt=R")
                || token == QLatin1String("ctrl=R");
    }

    void newSession()
    {
        m_session = std::make_unique<Session>(1);
        m_session->maxBoxes = std::numeric_limits<qsizetype>::max();
        m_session->onBox = [this](const test_support::SeenBox &box) { countBox(box); };
        settle();
    }

    void countBox(const test_support::SeenBox &box)
    {
        ++m_counters.messages;
        ++m_counters.messageKinds[box.text.section(QLatin1Char('\n'), 0, 0).left(50)];
        ++m_boxesThisAction;
        if (!m_messages.isEmpty())
            m_messages.last() << box.title + QStringLiteral(": ") + box.text.left(60);
        if (m_boxesThisAction > 20) {
            // A box that keeps coming back would hang the run: stop it here
            // with the actions that led to it.
            const QString report = QStringLiteral("message boxes keep coming back (%1 in one action): %2")
                                           .arg(m_boxesThisAction)
                                           .arg(box.text);
            qFatal("%s", qPrintable(report));
        }
    }

    // The widget keys go to: the focus widget of the active window, or of
    // the visible window when none is active.
    QWidget *target()
    {
        if (QWidget *w = QApplication::focusWidget())
            return w;
        ++m_counters.noActiveWindow;
        QWidget *window = m_session->aboutVisible() ? static_cast<QWidget *>(m_session->about())
                                                     : static_cast<QWidget *>(m_session->main);
        return window->focusWidget() ? window->focusWidget() : window;
    }

    void perform(const QString &token)
    {
        const qsizetype eq = token.indexOf(QLatin1Char('='));
        const QString verb = token.left(eq);
        const QString argument = eq < 0 ? QString() : token.mid(eq + 1);
        Session &s = *m_session;

        if (verb == QLatin1String("type")) {
            QTest::keyClicks(target(), argument);
        } else if (verb == QLatin1String("set")) {
            QWidget *w = target();
            QTest::keyClick(w, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(w, argument);
        } else if (verb == QLatin1String("key")) {
            static const QHash<QString, QPair<Qt::Key, Qt::KeyboardModifiers>> keys = {
                {QStringLiteral("bs"), {Qt::Key_Backspace, Qt::NoModifier}},
                {QStringLiteral("del"), {Qt::Key_Delete, Qt::NoModifier}},
                {QStringLiteral("home"), {Qt::Key_Home, Qt::NoModifier}},
                {QStringLiteral("end"), {Qt::Key_End, Qt::NoModifier}},
                {QStringLiteral("left"), {Qt::Key_Left, Qt::NoModifier}},
                {QStringLiteral("right"), {Qt::Key_Right, Qt::NoModifier}},
                {QStringLiteral("tab"), {Qt::Key_Tab, Qt::NoModifier}},
                {QStringLiteral("backtab"), {Qt::Key_Backtab, Qt::ShiftModifier}},
                {QStringLiteral("enter"), {Qt::Key_Return, Qt::NoModifier}},
                {QStringLiteral("kpenter"), {Qt::Key_Enter, Qt::KeypadModifier}},
                {QStringLiteral("space"), {Qt::Key_Space, Qt::NoModifier}},
                {QStringLiteral("esc"), {Qt::Key_Escape, Qt::NoModifier}},
            };
            const auto key = keys.value(argument, {Qt::Key_unknown, Qt::NoModifier});
            if (key.first == Qt::Key_unknown)
                qFatal("unknown key in action %s", qPrintable(token));
            QTest::keyClick(target(), key.first, key.second);
        } else if (verb == QLatin1String("ctrl") || verb == QLatin1String("alt")) {
            const Qt::Key key = Qt::Key(argument.at(0).toUpper().unicode());
            QTest::keyClick(target(), key, verb == QLatin1String("ctrl") ? Qt::ControlModifier : Qt::AltModifier);
        } else if (verb == QLatin1String("paste")) {
            const std::optional<PasteText> paste = PasteText::parse(argument);
            if (!paste)
                qFatal("malformed action %s", qPrintable(token));
            ++m_counters.pastes;
            QWidget *w = target();
            if (m_clipboardWorks) {
                QApplication::clipboard()->setText(paste->text());
                QTest::keyClick(w, Qt::Key_V, Qt::ControlModifier);
            } else if (auto *edit = qobject_cast<QLineEdit *>(w)) {
                edit->insert(paste->text());
            }
        } else if (verb == QLatin1String("click") || verb == QLatin1String("dclick")
                   || verb == QLatin1String("tclick")) {
            QWidget *w = argument == QLatin1String("cmdOK")
                    ? (s.about() ? s.about()->findChild<QWidget *>(QStringLiteral("cmdOK")) : nullptr)
                    : s.widget(qPrintable(argument));
            if (!w || !w->isVisible()) {
                ++m_counters.skipped;
                return;
            }
            // What a mouse delivers: press and release, then for a double
            // click the double-click event and a release, then for a triple
            // click one more press and release, all at the control's centre.
            const int presses = verb == QLatin1String("click") ? 1 : verb == QLatin1String("dclick") ? 2 : 3;
            QPointer<QWidget> guard(w);
            for (int i = 1; i <= presses && guard && guard->isVisible(); ++i) {
                if (i == 2)
                    QTest::mouseDClick(w, Qt::LeftButton);
                else
                    QTest::mousePress(w, Qt::LeftButton);
                if (guard && guard->isVisible())
                    QTest::mouseRelease(w, Qt::LeftButton);
            }
            if (presses > 1) {
                // A box takes a press soon after a double click for a triple
                // click, by a wall-clock timer of one double-click interval
                // (made 1 ms for this run). Let it run out now, so that the
                // next action meets the same box however fast it comes.
                QTest::qSleep(3);
                QCoreApplication::processEvents();
            }
        } else if (verb == QLatin1String("menu")) {
            openMenu(argument);
        } else if (verb == QLatin1String("close")) {
            if (argument == QLatin1String("about")) {
                if (!s.aboutVisible()) {
                    ++m_counters.skipped;
                    return;
                }
                s.about()->close();
            } else {
                if (!s.main->isVisible()) {
                    ++m_counters.skipped;
                    return;
                }
                const int endsBefore = s.endCalls;
                s.main->close();
                m_closedMain = s.endCalls != endsBefore;
            }
        } else {
            qFatal("unknown action %s", qPrintable(token));
        }

        const bool about = s.aboutVisible();
        if (about && !m_aboutWasVisible)
            ++m_counters.aboutShown;
        if (!about && m_aboutWasVisible)
            ++m_counters.aboutClosed;
        m_aboutWasVisible = about;
    }

    // Opens a menu by its access key and picks an item by its letter, or
    // leaves the menu again with Escape (once for the menu, once for the
    // menu bar's own keyboard mode).
    void openMenu(const QString &argument)
    {
        const QChar title = argument.at(0);
        const QString item = argument.mid(2);
        QWidget *w = target();
        const bool canOpen = m_session->main->isVisible() && QApplication::activeWindow() == m_session->main;
        QTest::keyClick(w, Qt::Key(title.unicode()), Qt::AltModifier);
        QWidget *popup = nullptr;
        for (int i = 0; i < 20 && !(popup = QApplication::activePopupWidget()); ++i)
            QCoreApplication::processEvents();
        if (!popup) {
            if (canOpen)
                m_menuFailure = QStringLiteral("Alt+%1 opened no menu on the active main window").arg(title);
            else
                ++m_counters.skipped;
            return;
        }
        if (item == QLatin1String("esc")) {
            QTest::keyClick(popup, Qt::Key_Escape);
            QTest::keyClick(m_session->main->menuBar(), Qt::Key_Escape);
        } else {
            QTest::keyClick(popup, Qt::Key(item.at(0).unicode()));
        }
    }

    // What must hold right after the action, before a new session replaces
    // an ended one.
    std::optional<Failure> checkTransient()
    {
        if (QWidget *modal = QApplication::activeModalWidget())
            return Failure{QStringLiteral("modal left open"),
                           QStringLiteral("%1 \"%2\" is still open").arg(modal->metaObject()->className(),
                                                                        modal->windowTitle())};
        if (QWidget *popup = QApplication::activePopupWidget())
            return Failure{QStringLiteral("popup left open"),
                           QStringLiteral("%1 is still open").arg(popup->metaObject()->className())};
        return std::nullopt;
    }

    std::optional<Failure> checkWindows()
    {
        Session &s = *m_session;
        const bool mainVisible = s.main->isVisible();
        const bool aboutVisible = s.aboutVisible();
        if (mainVisible == aboutVisible)
            return Failure{QStringLiteral("windows"),
                           QStringLiteral("main %1 and About %2: exactly one must be visible")
                                   .arg(QLatin1String(mainVisible ? "visible" : "hidden"),
                                        QLatin1String(aboutVisible ? "visible" : "hidden"))};

        QWidget *focus = s.main->focusWidget();
        static const QStringList controls = {QStringLiteral("txtT"), QStringLiteral("txtL"),
                                             QStringLiteral("cmdCalc"), QStringLiteral("cmdReset"),
                                             QStringLiteral("cmdExit")};
        if (!focus || focus->window() != s.main || !controls.contains(focus->objectName()))
            return Failure{QStringLiteral("focus"),
                           QStringLiteral("the main window's focus is on %1")
                                   .arg(focus ? focus->objectName() + QLatin1Char(' ')
                                                        + QLatin1String(focus->metaObject()->className())
                                              : QStringLiteral("nothing"))};

        const ui::CaptionLabel *lblF = s.label("lblF");
        const ui::CaptionLabel *lblLT = s.label("lblLT");
        const std::u16string f = lblF->caption();
        const std::u16string lt = lblLT->caption();
        if (lblF->text() != QString::fromStdU16String(f) || lblLT->text() != QString::fromStdU16String(lt))
            return Failure{QStringLiteral("caption drawn"),
                           QStringLiteral("a label shows other text than its caption")};
        if (f.empty() != lt.empty())
            return Failure{QStringLiteral("results half shown"),
                           QStringLiteral("lblF=%1 lblLT=%2").arg(shortened(QString::fromStdU16String(f)),
                                                                shortened(QString::fromStdU16String(lt)))};
        if (!f.empty()) {
            const QString t = s.text("txtT");
            const QString l = s.text("txtL");
            calc::CalculationState fresh;
            try {
                const calc::ResultTexts expected = calc::CalculateValues(fresh, t.toStdU16String(), l.toStdU16String());
                if (expected.fraction != f || expected.product != lt)
                    return Failure{QStringLiteral("results differ"),
                                   QStringLiteral("shown lblF=%1 lblLT=%2, the texts in the boxes give %3 and %4")
                                           .arg(shortened(QString::fromStdU16String(f)),
                                                shortened(QString::fromStdU16String(lt)),
                                                shortened(QString::fromStdU16String(expected.fraction)),
                                                shortened(QString::fromStdU16String(expected.product)))};
            } catch (const runtime::Error &error) {
                return Failure{QStringLiteral("results for failing texts"),
                               QStringLiteral("results lblF=%1 lblLT=%2 are shown, but the texts in the boxes "
                                              "fail to calculate (%3)")
                                       .arg(shortened(QString::fromStdU16String(f)),
                                            shortened(QString::fromStdU16String(lt)),
                                            QLatin1String(error.what()))};
            }
        }
        return std::nullopt;
    }

    bool m_clipboardWorks;
    bool m_trace = qEnvironmentVariableIntValue("EMBERLINE_MONKEY_TRACE") != 0;
    std::unique_ptr<Session> m_session;
    MainState m_beforeAbout;
    QStringList m_actions;
    QList<QStringList> m_messages;
    Counters m_counters;
    int m_boxesThisAction = 0;
    QString m_menuFailure;
    bool m_closedMain = false;
    bool m_aboutWasVisible = false;
};

// ---------------------------------------------------------------------------

quint64 seedFromEnvironment()
{
    const QByteArray value = qgetenv("EMBERLINE_MONKEY_SEED");
    if (value.isEmpty())
        return 20260514;
    bool ok = false;
    const quint64 seed = value.startsWith("0x") ? value.mid(2).toULongLong(&ok, 16) : value.toULongLong(&ok);
    if (!ok)
        qFatal("EMBERLINE_MONKEY_SEED is not a number: %s", value.constData());
    return seed;
}

int intFromEnvironment(const char *name, int fallback)
{
    const QByteArray value = qgetenv(name);
    if (value.isEmpty())
        return fallback;
    bool ok = false;
    const int n = value.toInt(&ok);
    if (!ok || n < 0)
        qFatal("%s is not a count: %s", name, value.constData());
    return n;
}

QStringList splitReplay(const QString &replay)
{
    QStringList actions = replay.split(QLatin1Char(';'));
    actions.removeAll(QString());
    return actions;
}

} // namespace

class TestMonkey : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void randomUserActions();

private:
    std::optional<Failure> replay(const QStringList &actions);
    QStringList shrink(QStringList actions, const Failure &failure, int lastSessionStart);
    void report(std::unique_ptr<Driver> driver, const Failure &failure, const QString &origin, int lastSessionStart);

    bool m_clipboardWorks = false;
};

void TestMonkey::initTestCase()
{
    test_support::quietOffscreenPlatform();
    app::setApplicationIdentity();
    QApplication::setCursorFlashTime(0);
    // Timing must not decide what an action does: a double click is made of
    // events sent at once, and the triple-click window of a box after it
    // closes before the next action (see Driver::perform).
    QGuiApplication::styleHints()->setMouseDoubleClickInterval(1);
    // A paste goes through the clipboard, like a user's; in-process the
    // offscreen clipboard holds the text. Should it not, the text is
    // inserted at the cursor instead.
    QLineEdit probe;
    probe.show();
    probe.activateWindow();
    if (!QTest::qWaitForWindowActive(&probe, 1000))
        qWarning("the probe window did not become active");
    QApplication::clipboard()->setText(QStringLiteral("probe 12.5"));
    QTest::keyClick(&probe, Qt::Key_V, Qt::ControlModifier);
    m_clipboardWorks = probe.text() == QLatin1String("probe 12.5");
    if (!m_clipboardWorks)
        qWarning("the clipboard does not paste here; pastes insert the text instead");
}

std::optional<Failure> TestMonkey::replay(const QStringList &actions)
{
    Driver driver(m_clipboardWorks);
    for (const QString &action : actions) {
        if (std::optional<Failure> failure = driver.step(action))
            return failure;
    }
    return std::nullopt;
}

// Shortens a failing list of actions to one that fails the same invariant:
// first the actions of earlier sessions go, then ever smaller runs of
// actions, as long as the time allows.
QStringList TestMonkey::shrink(QStringList actions, const Failure &failure, int lastSessionStart)
{
    const int seconds = intFromEnvironment("EMBERLINE_MONKEY_SHRINK_SECONDS", 120);
    if (seconds == 0)
        return actions;
    QElapsedTimer clock;
    clock.start();
    const auto stillFails = [&](const QStringList &candidate) {
        const std::optional<Failure> f = replay(candidate);
        return f && f->invariant == failure.invariant;
    };
    actions = actions.mid(0, failure.index + 1);
    if (lastSessionStart > 0 && stillFails(actions.mid(lastSessionStart)))
        actions = actions.mid(lastSessionStart);
    const auto inTime = [&] { return clock.elapsed() < seconds * 1000; };
    for (qsizetype chunk = actions.size() / 2; chunk >= 1 && inTime(); chunk /= 2) {
        // The failing action itself stays; runs of `chunk` actions before
        // it are tried away one after another.
        for (qsizetype start = 0; start + chunk < actions.size() && inTime();) {
            QStringList candidate = actions;
            candidate.remove(start, chunk);
            if (stillFails(candidate))
                actions = candidate;
            else
                start += chunk;
        }
    }
    return actions;
}

void TestMonkey::report(std::unique_ptr<Driver> driver, const Failure &failure, const QString &origin,
                        int lastSessionStart)
{
    const QStringList actions = driver->actions();
    QString text;
    text += QStringLiteral("\n*** monkey failure: %1: %2\n").arg(failure.invariant, failure.detail);
    text += QStringLiteral("%1, after action #%2 (%3)\n").arg(origin).arg(failure.index + 1).arg(actions.value(failure.index));
    text += QStringLiteral("state: %1\n").arg(driver->describeState());
    text += QStringLiteral("last actions (with the messages they raised):\n");
    for (qsizetype i = std::max<qsizetype>(0, actions.size() - 15); i < actions.size(); ++i)
        text += QStringLiteral("  #%1 %2   %3\n").arg(i + 1).arg(actions[i], driver->messages()[i].join(QStringLiteral(" / ")));
    text += QStringLiteral("replay: EMBERLINE_MONKEY_REPLAY='%1'\n").arg(actions.join(QLatin1Char(';')));
    fprintf(stderr, "%s", qPrintable(text));
    fflush(stderr);

    // The replays run on windows of their own; this run's are gone first.
    driver.reset();
    g_crashHeader = "while shortening the replay above, a shorter one stopped the run";
    const QStringList shortest = shrink(actions, failure, lastSessionStart);
    const std::optional<Failure> again = replay(shortest);
    fprintf(stderr, "shortened replay (%d actions, %s): EMBERLINE_MONKEY_REPLAY='%s'\n", int(shortest.size()),
            again ? qPrintable(again->invariant + QStringLiteral(": ") + again->detail) : "does not fail on its own",
            qPrintable(shortest.join(QLatin1Char(';'))));
    fflush(stderr);
}

void TestMonkey::randomUserActions()
{
    const QString replayText = qEnvironmentVariable("EMBERLINE_MONKEY_REPLAY");
    const QStringList scripted = splitReplay(replayText);
    const quint64 seed = seedFromEnvironment();
    const int count = scripted.isEmpty() ? intFromEnvironment("EMBERLINE_MONKEY_ACTIONS", 10000) : int(scripted.size());
    const QString origin = scripted.isEmpty()
            ? QStringLiteral("seed %1 (EMBERLINE_MONKEY_SEED=%1), %2 actions").arg(seed).arg(count)
            : QStringLiteral("replay of %1 actions").arg(count);

    CrashReporter crashReporter;
    g_crashHeader = origin.toStdString();
    g_crashActions.clear();

    QElapsedTimer clock;
    clock.start();
    Rng rng(seed);
    auto driver = std::make_unique<Driver>(m_clipboardWorks);
    int lastSessionStart = 0;
    std::optional<Failure> failure;
    for (int i = 0; i < count && !failure; ++i) {
        const QString action = scripted.isEmpty() ? driver->generate(rng) : scripted[i];
        const int sessions = driver->counters().sessions;
        failure = driver->step(action);
        if (driver->counters().sessions != sessions)
            lastSessionStart = i + 1;
    }

    const Counters c = driver->counters();
    qInfo("%s: %lld ms; %d sessions (%d ends, %d closed main windows), %d results shown, %d messages, "
          "About shown %d / closed %d, %d pastes (longest box text %lld), %d actions met no window to act "
          "on, %d found no active window, %d reactivations",
          qPrintable(origin), clock.elapsed(), c.sessions, c.ends, c.closedByCloseBox, c.calculations,
          c.messages, c.aboutShown, c.aboutClosed, c.pastes, qlonglong(c.longestText), c.skipped,
          c.noActiveWindow, c.reactivations);

    for (auto it = c.messageKinds.cbegin(); it != c.messageKinds.cend(); ++it)
        qInfo("%6d x %s", it.value(), qPrintable(it.key()));

    if (failure) {
        report(std::move(driver), *failure, origin, lastSessionStart);
        QFAIL(qPrintable(QStringLiteral("%1 (%2, action #%3)").arg(failure->invariant, origin).arg(failure->index + 1)));
    }

    // A run that never reached the interesting states says nothing: a
    // default-sized run must have calculated, refused input, visited About
    // and ended the program.
    if (scripted.isEmpty() && count >= 2000) {
        QVERIFY(c.calculations > 0);
        QVERIFY(c.messages > 0);
        QVERIFY(c.aboutShown > 0 && c.aboutClosed > 0);
        QVERIFY(c.ends > 0);
        QVERIFY(c.pastes > 0);
    }
}

QTEST_MAIN(TestMonkey)
#include "tst_monkey.moc"
