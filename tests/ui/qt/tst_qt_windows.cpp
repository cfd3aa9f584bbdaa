#include "../scenarios.h"
#include "monkey.h"
#include "qt_session.h"
#include "ui/about/about_layout.h"
#include "ui/layout.h"
#include "ui/main/main_layout.h"
#include "ui/qt/qt_layout.h"
#include "ui/qt/qt_widgets.h"

#include <QtTest>
#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStyleHints>
#include <QWindow>

#include <memory>

namespace {

using test_support::QtSession;
using test_support::SeenBox;

QString qs(const std::u16string &text) { return QString::fromStdU16String(text); }
QString qs(std::string_view name) { return QString::fromLatin1(name.data(), qsizetype(name.size())); }

// A rectangle of the layout table in pixels at 96 dpi.
QRect pixels(const ui::layout::Rect &twips)
{
    using ui::layout::pixels;
    return QRect(pixels(twips.left), pixels(twips.top), pixels(twips.width), pixels(twips.height));
}

// The installed face that stands in for a designed one.
QString substitute(std::u16string_view face)
{
    return face == u"Garamond" ? QString("EB Garamond") : QString("Liberation Sans");
}

// The window the window system sends keys to: the one shown, once it has
// the keyboard (or the menu open on it).
QWindow *keyboardWindow(QtSession &s)
{
    s.giveKeyboardToShownWindow();
    return QGuiApplication::focusWindow();
}

// A key pressed and released, with its modifiers pressed around it.
void key(QtSession &s, Qt::Key code, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    if (QWindow *window = keyboardWindow(s))
        QTest::keyClick(window, code, modifiers);
}

// Characters typed one at a time: each goes where the keyboard is when it
// is typed (a Space on About's OK brings the main window back).
void typeText(QtSession &s, const QString &text)
{
    for (const QChar c : text) {
        QWindow *window = keyboardWindow(s);
        if (!window)
            continue;
        // Below U+0100 a key's code is its character, capitalised.
        const Qt::Key code = c == QLatin1Char(' ') ? Qt::Key_Space : Qt::Key(c.toUpper().unicode());
        QTest::sendKeyEvent(QTest::Click, window, code, QString(c), Qt::NoModifier);
    }
}

// A mouse click at `pos` in `widget`, through the window that holds it.
void click(QWidget *widget, QPoint pos)
{
    QWidget *window = widget->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, widget->mapTo(window, pos));
}

// A double click: two clicks at one spot, so close together that Qt takes
// the second press for a double click. A message box that the first press
// brings up is answered before the second one comes, as a user's would be.
void doubleClick(QtSession &s, QWidget *widget, QPoint pos)
{
    QWindow *window = widget->window()->windowHandle();
    const QPoint at = widget->mapTo(widget->window(), pos);
    const QPointF global = window->mapToGlobal(QPointF(at));
    const int time = ++QTest::lastMouseTimestamp;
    for (int press = 0; press < 2; ++press) {
        if (press == 1) {
            QtSession::settle();
            s.giveKeyboardToShownWindow();
            if (!widget->isVisible())
                break;
        }
        qt_handleMouseEvent(window, at, global, Qt::LeftButton, Qt::LeftButton, QEvent::MouseButtonPress,
                            Qt::NoModifier, time);
        qt_handleMouseEvent(window, at, global, Qt::NoButton, Qt::LeftButton, QEvent::MouseButtonRelease,
                            Qt::NoModifier, time);
    }
    // The next click is a click of its own.
    QTest::lastMouseTimestamp += QTest::mouseDoubleClickInterval;
}

// A box takes a press soon after a double click at the same spot for a
// triple click, for one double-click interval of the wall clock. The
// actions are a user's separate acts, the next one later than that: the
// window is closed now instead of waited for.
void endTripleClickWindow(QWidget *box)
{
    QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance();
    for (const QAbstractEventDispatcher::TimerInfo &timer : dispatcher->registeredTimers(box)) {
        if (timer.interval == QGuiApplication::styleHints()->mouseDoubleClickInterval()) {
            QTimerEvent expired(timer.timerId);
            QCoreApplication::sendEvent(box, &expired);
        }
    }
}

QMenu *openPopup()
{
    return qobject_cast<QMenu *>(QApplication::activePopupWidget());
}

QAction *menuEntry(QtSession &s, const QString &name)
{
    static const QHash<QString, QString> entries = {{"calc", "mnuCalc"}, {"reset", "mnuReset"}, {"exit", "mnuExit"},
                                                    {"instructions", "mnuInstructions"}, {"about", "mnuAbout"}};
    return s.main->findChild<QAction *>(entries.value(name));
}

// One action of the scenario table, with real keys and clicks as the
// window system delivers them: keys to the window with the keyboard, clicks
// to the window under the mouse. A click or a menu aimed at a window that
// is not shown does nothing. Returns what went wrong, if anything.
QString perform(QtSession &s, const QString &action)
{
    const QString verb = action.section(' ', 0, 0);
    const QString argument = action.section(' ', 1);
    // An ended program's windows are gone for the user (the test's end
    // function keeps them): nothing reaches them.
    if (s.ended())
        return {};
    s.giveKeyboardToShownWindow();
    const bool mainShown = s.main->isVisible();
    QString fault;
    if (verb == "set") {
        key(s, Qt::Key_A, Qt::ControlModifier);
        if (argument.isEmpty())
            key(s, Qt::Key_Delete);
        else
            typeText(s, argument);
    } else if (verb == "type") {
        key(s, Qt::Key_End);
        typeText(s, argument);
    } else if (verb == "keys") {
        typeText(s, argument);
    } else if (verb == "paste") {
        QApplication::clipboard()->setText(argument);
        key(s, Qt::Key_V, Qt::ControlModifier);
    } else if (verb == "select-all") {
        key(s, Qt::Key_A, Qt::ControlModifier);
    } else if (verb == "home" || verb == "end" || verb == "backspace" || verb == "delete" || verb == "enter"
               || verb == "space" || verb == "escape" || verb == "tab") {
        static const QHash<QString, Qt::Key> keys = {
            {"home", Qt::Key_Home},   {"end", Qt::Key_End},     {"backspace", Qt::Key_Backspace},
            {"delete", Qt::Key_Delete}, {"enter", Qt::Key_Return}, {"space", Qt::Key_Space},
            {"escape", Qt::Key_Escape}, {"tab", Qt::Key_Tab}};
        key(s, keys.value(verb));
    } else if (verb == "backtab") {
        key(s, Qt::Key_Backtab, Qt::ShiftModifier);
    } else if (verb == "ctrl-enter") {
        key(s, Qt::Key_Return, Qt::ControlModifier);
    } else if (verb == "alt-enter") {
        key(s, Qt::Key_Return, Qt::AltModifier);
    } else if (verb == "alt") {
        key(s, Qt::Key(argument.at(0).toUpper().unicode()), Qt::AltModifier);
    } else if (verb == "click" || verb == "dblclick") {
        if (!mainShown)
            return {};
        if (argument == "face") {
            // An empty spot of the client area, left of the buttons.
            click(s.main->centralWidget(), QPoint(16, 300));
        } else if (QWidget *w = s.widget(argument)) {
            const bool box = qobject_cast<QLineEdit *>(w) != nullptr;
            // In a box, at its right end, where the caret lands after a
            // short text.
            const QPoint at = box ? QPoint(w->width() - 4, w->height() / 2) : w->rect().center();
            if (verb == "dblclick") {
                doubleClick(s, w, at);
                if (box)
                    endTripleClickWindow(w);
            } else {
                click(w, at);
            }
        } else {
            return "no control " + argument;
        }
    } else if (verb == "menu") {
        static const QHash<QString, Qt::Key> shortcuts = {
            {"calc", Qt::Key_L}, {"reset", Qt::Key_R}, {"exit", Qt::Key_Q}};
        static const QHash<QString, Qt::Key> helpKeys = {{"instructions", Qt::Key_I}, {"about", Qt::Key_A}};
        if (shortcuts.contains(argument)) {
            key(s, shortcuts.value(argument), Qt::ControlModifier);
        } else if (helpKeys.contains(argument)) {
            const bool mainActive = mainShown && QApplication::activeWindow() == s.main;
            key(s, Qt::Key_H, Qt::AltModifier);
            QtSession::settle();
            if (QMenu *menu = openPopup())
                QTest::keyClick(menu->windowHandle(), helpKeys.value(argument));
            else if (mainActive)
                fault = "Alt+H opened no menu on the active main window";
        } else {
            return "unknown menu " + argument;
        }
    } else if (verb == "menu-click") {
        if (!mainShown)
            return {};
        QAction *entry = menuEntry(s, argument);
        if (!entry)
            return "unknown menu " + argument;
        // The title on the menu bar, then the entry in the menu it opens.
        QMenuBar *bar = s.main->menuBar();
        QAction *title = nullptr;
        for (QAction *a : bar->actions())
            if (a->menu() && a->menu()->actions().contains(entry))
                title = a;
        click(bar, bar->actionGeometry(title).center());
        QtSession::settle();
        QMenu *menu = openPopup();
        if (!menu)
            return "a click on " + title->text() + " opened no menu";
        click(menu, menu->actionGeometry(entry).center());
    } else if (verb == "about-ok") {
        if (s.aboutVisible())
            click(s.about()->findChild<QPushButton *>("cmdOK"), {});
    } else if (verb == "about-close") {
        if (s.aboutVisible())
            s.about()->close();
    } else if (verb == "close-main") {
        if (mainShown)
            s.main->close();
    } else if (verb == "answer") {
        static const QHash<QString, QtSession::Answer> ways = {{"enter", QtSession::Answer::Enter},
                                                               {"space", QtSession::Answer::Space},
                                                               {"escape", QtSession::Answer::Escape},
                                                               {"click", QtSession::Answer::Click}};
        if (!ways.contains(argument))
            return "unknown way " + argument;
        s.answer = ways.value(argument);
    } else {
        return "unknown action " + action;
    }
    QtSession::settle();
    // The X server gives a window the keyboard back (the program asks for it
    // after a message box and when the main window returns) when it does:
    // the action is over once it has. The offscreen platform has done it,
    // or never will.
    const auto shownHasKeyboard = [&s] {
        const QWidget *shown = s.shownWindow();
        return !shown || QGuiApplication::focusWindow() == shown->windowHandle();
    };
    if (QGuiApplication::platformName() != QLatin1String("offscreen") && !QtSession::waitFor(shownHasKeyboard))
        fault = "the window shown did not get the keyboard back";
    if (fault.isEmpty() && QApplication::activePopupWidget())
        fault = "a menu is left open";
    if (fault.isEmpty() && QApplication::activeModalWidget())
        fault = "a message box is left open";
    return fault;
}

// The real windows as the monkey's front end: each run on a new program,
// each action performed by `perform`, the windows read back.
class QtFront : public monkey::Front {
public:
    void start() override
    {
        m_session.reset();
        QtSession::settle();
        m_session = std::make_unique<QtSession>();
        m_seen = 0;
        m_faultsSeen = 0;
    }

    void perform(const monkey::Action &action) override
    {
        // A box that keeps coming back within one action stops the run.
        m_session->maxBoxes = m_session->boxes.size() + 20;
        const QString fault = ::perform(*m_session, qs(action));
        if (!fault.isEmpty())
            m_faults << fault;
    }

    monkey::State state() override
    {
        QtSession &s = *m_session;
        monkey::State state;
        state.txtT = s.text("txtT").toStdU16String();
        state.txtL = s.text("txtL").toStdU16String();
        state.lblLT = s.caption("lblLT").toStdU16String();
        state.lblF = s.caption("lblF").toStdU16String();
        QWidget *focus = s.focus();
        const Control control = focus ? s.main->controlOf(focus) : Control::None;
        state.focus = monkey::nameOf(control);
        if (auto *box = qobject_cast<QLineEdit *>(focus); box && control != Control::None) {
            const bool selected = box->hasSelectedText();
            state.selStart = std::size_t(selected ? box->selectionStart() : box->cursorPosition());
            state.selEnd = std::size_t(selected ? box->selectionEnd() : box->cursorPosition());
        }
        state.mainVisible = s.main->isVisible();
        state.aboutVisible = s.aboutVisible();
        state.ended = s.ended();
        const QStringList messages = s.messages();
        for (; m_seen < messages.size(); ++m_seen)
            state.messages.push_back(messages[m_seen].toStdU16String());
        // What the driver found wrong shows as a box the model never has.
        m_faults += s.answerFaults.mid(m_faultsSeen);
        m_faultsSeen = s.answerFaults.size();
        for (const QString &fault : std::as_const(m_faults))
            state.messages.push_back(u"driver: " + fault.toStdU16String());
        m_faults.clear();
        return state;
    }

private:
    using Control = ui::Control;
    std::unique_ptr<QtSession> m_session;
    qsizetype m_seen = 0;
    qsizetype m_faultsSeen = 0;
    QStringList m_faults;
};

} // namespace

// An action that must go through without a fault.
#define ACT(session, action)                                                                                           \
    do {                                                                                                               \
        const QString fault = perform(session, action);                                                                \
        QVERIFY2(fault.isEmpty(), qPrintable(QString(action) + ": " + fault));                                         \
    } while (false)

class TestQtWindows : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void scenario_data();
    void scenario();
    void geometry_data();
    void geometry();
    void windowsHaveFixedSizesAndTitles();
    void fontsResolve();
    void noTextIsCutOff();
    void menus();
    void messageBoxesHaveOneButtonNoIconAndATitle();
    void instructionsShowFourParagraphs();
    void resultsAreClippedNotGrown();
    void accessibleNames();
    void boxesTakeLongTexts();
    void aboutWindow();
    void aboutKeys_data();
    void aboutKeys();
    void monkey();
};

void TestQtWindows::initTestCase()
{
    test_support::quietOffscreenPlatform();
    app::setApplicationIdentity();
    QApplication::setCursorFlashTime(0);
}

void TestQtWindows::scenario_data()
{
    QTest::addColumn<int>("index");
    const auto all = scenarios::all();
    for (std::size_t i = 0; i < all.size(); ++i)
        QTest::newRow(all[i].name.c_str()) << int(i);
}

void TestQtWindows::scenario()
{
    QFETCH(int, index);
    const scenarios::Scenario scenario = scenarios::all()[std::size_t(index)];
    const scenarios::Expected &expected = scenario.expected;

    QtSession s;
    for (const std::u16string &action : scenario.actions)
        ACT(s, qs(action));
    QCOMPARE(s.text("txtT"), qs(expected.txtT));
    QCOMPARE(s.text("txtL"), qs(expected.txtL));
    QCOMPARE(s.caption("lblLT"), qs(expected.lblLT));
    QCOMPARE(s.caption("lblF"), qs(expected.lblF));
    QCOMPARE(s.focus() ? s.focus()->objectName() : QString("none"), qs(expected.focus));
    QStringList messages;
    for (const std::u16string &message : expected.messages)
        messages << qs(message);
    QCOMPARE(s.messages(), messages);
    QCOMPARE(s.ended(), expected.ended);
    QCOMPARE(s.main->isVisible(), expected.mainVisible);
    QCOMPARE(s.aboutVisible(), expected.aboutVisible);
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY2(s.answerFaults.isEmpty(), qPrintable(s.answerFaults.join("; ")));
}

void TestQtWindows::geometry_data()
{
    // Each control where the layout table places it, in client-area pixels.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    const ui::layout::WindowDesign &design = ui::mainLayout();
    for (const ui::layout::ControlDesign &control : design.controls)
        QTest::newRow(control.name.data()) << qs(control.name) << pixels(ui::layout::windowRect(design, control));
}

void TestQtWindows::geometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, rect);
    QtSession s;
    QWidget *client = s.main->centralWidget();
    QWidget *w = s.widget(name);
    QVERIFY(w);
    QCOMPARE(QRect(w->mapTo(client, QPoint(0, 0)), w->size()), rect);
}

void TestQtWindows::windowsHaveFixedSizesAndTitles()
{
    QtSession s;
    const ui::layout::WindowDesign &main = ui::mainLayout();
    QCOMPARE(s.main->centralWidget()->size(), pixels({0, 0, main.clientWidth, main.clientHeight}).size());
    QCOMPARE(s.main->centralWidget()->y(), s.main->menuBar()->height());
    QCOMPARE(s.main->minimumSize(), s.main->maximumSize());
    QCOMPARE(s.main->windowTitle(), qs(std::u16string(main.caption)));
    QVERIFY(!s.main->windowIcon().isNull());
    QCOMPARE(s.main->windowIcon().availableSizes(), QList<QSize>{QSize(48, 48)});
    ACT(s, "menu about");
    ui::qt::QtWindow *about = s.about();
    QVERIFY(about);
    const ui::layout::WindowDesign &design = ui::aboutLayout();
    QCOMPARE(about->size(), pixels({0, 0, design.clientWidth, design.clientHeight}).size());
    QCOMPARE(about->minimumSize(), about->maximumSize());
    QCOMPARE(about->windowTitle(), qs(std::u16string(design.caption)));
    QVERIFY(!(about->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(about->windowFlags() & Qt::WindowCloseButtonHint);
}

void TestQtWindows::fontsResolve()
{
    QtSession s;
    for (const ui::layout::ControlDesign &control : ui::mainLayout().controls) {
        if (!control.font)
            continue;
        const QFontInfo info(s.widget(qs(control.name))->font());
        QVERIFY2(info.family() == substitute(control.font->face), control.name.data());
        QCOMPARE(info.pointSize(), qRound(control.font->points));
        QCOMPARE(info.bold(), control.font->bold);
        QVERIFY(!info.italic());
    }
}

void TestQtWindows::noTextIsCutOff()
{
    QtSession s;
    for (const char *name : {"Label1", "Label2", "Label3"}) {
        auto *label = s.main->findChild<QLabel *>(name);
        QVERIFY2(label->sizeHint().width() <= label->width(), name);
        QVERIFY2(label->sizeHint().height() <= label->height() + 2, name);
    }
    for (const char *name : {"cmdCalc", "cmdReset", "cmdExit"}) {
        auto *button = s.main->findChild<QPushButton *>(name);
        QVERIFY2(button->sizeHint().width() <= button->width(), name);
        QVERIFY2(button->sizeHint().height() <= button->height(), name);
    }
    // "Calculate Values" is too wide for one line and wraps, keeping Alt+C.
    QCOMPARE(s.main->findChild<QPushButton *>("cmdCalc")->text(), QString("&Calculate\nValues"));
    QCOMPARE(s.main->findChild<QPushButton *>("cmdReset")->text(), QString("&Reset Form"));
}

void TestQtWindows::menus()
{
    QtSession s;
    const QList<QAction *> bar = s.main->menuBar()->actions();
    const std::vector<ui::layout::DropDown> design = ui::layout::menuBar(ui::mainLayout());
    QCOMPARE(bar.size(), qsizetype(design.size()));
    for (std::size_t i = 0; i < design.size(); ++i) {
        QCOMPARE(bar[qsizetype(i)]->text(), qs(std::u16string(design[i].title->caption)));
        const QList<QAction *> actions = bar[qsizetype(i)]->menu()->actions();
        QCOMPARE(actions.size(), qsizetype(design[i].lines.size()));
        for (std::size_t j = 0; j < design[i].lines.size(); ++j) {
            const ui::layout::MenuLine &line = design[i].lines[j];
            QAction *action = actions[qsizetype(j)];
            QCOMPARE(action->objectName(), qs(line.entry->name));
            QCOMPARE(action->isSeparator(), line.separator);
            if (!line.separator)
                QCOMPARE(action->text(), qs(std::u16string(line.entry->caption)));
            QCOMPARE(action->shortcut(), QKeySequence(qs(line.shortcut)));
            QVERIFY(action->isEnabled() && action->isVisible() && !action->isChecked());
        }
    }

    // Opening a menu validates nothing.
    ACT(s, "set abc");
    QTest::keyClick(s.focus(), Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTest::keyClick(s.main->menuBar(), Qt::Key_Escape);
    QtSession::settle();
    QVERIFY(s.boxes.isEmpty());
    QCOMPARE(s.text("txtT"), QString("abc"));
}

void TestQtWindows::messageBoxesHaveOneButtonNoIconAndATitle()
{
    QtSession s;
    ACT(s, "set abc");
    ACT(s, "tab");
    ACT(s, "menu instructions");
    QCOMPARE(s.boxes.size(), 2);
    QCOMPARE(s.boxes[0].title, QString("Emberline"));
    QCOMPARE(s.boxes[1].title, QString("Instructions"));
    for (const SeenBox &box : s.boxes) {
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QCOMPARE(box.buttons, 1);
    }
    // Shortcuts still work after a message box.
    ACT(s, "set 5");
    ACT(s, "menu reset");
    QCOMPARE(s.text("txtT"), QString("0"));
}

void TestQtWindows::instructionsShowFourParagraphs()
{
    QtSession s;
    ACT(s, "menu instructions");
    QCOMPARE(s.boxes.size(), 1);
    const QStringList lines = s.boxes[0].labelText.split(QChar(10));
    QCOMPARE(lines.size(), 7);
    QCOMPARE(lines[1], QString());
    QCOMPARE(lines[3], QString());
    QCOMPARE(lines[5], QString());
    QCOMPARE(lines[6], QString("3. Click the Calculate Button."));
}

void TestQtWindows::resultsAreClippedNotGrown()
{
    QtSession s;
    auto *lblF = s.main->findChild<ui::qt::CaptionLabel *>("lblF");
    const QRect before = lblF->geometry();
    lblF->setCaption(u"-51.6004 and a good deal more text than fits");
    QtSession::settle();
    QCOMPARE(lblF->geometry(), before);
    QCOMPARE(s.main->findChild<QLabel *>("lblLT")->geometry(), pixels(ui::layout::find(ui::mainLayout(), "lblLT")->rect));
}

void TestQtWindows::accessibleNames()
{
    QtSession s;
    for (const ui::layout::ControlDesign &control : ui::mainLayout().controls) {
        QCOMPARE(s.widget(qs(control.name))->accessibleName(), qs(std::u16string(control.accessibleName)));
        QCOMPARE(s.widget(qs(control.name))->accessibleDescription(),
                 qs(std::u16string(control.accessibleDescription)));
    }
}

void TestQtWindows::boxesTakeLongTexts()
{
    QtSession s;
    const QString longText = QString(40000, QLatin1Char('9'));
    QApplication::clipboard()->setText(longText);
    QTest::keyClick(s.focus(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(s.focus(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(s.text("txtT"), longText);
    ACT(s, "tab"); // beyond the double range: refused, kept as typed
    QCOMPARE(s.boxes.size(), 1);
    QCOMPARE(s.text("txtT"), longText);
}

void TestQtWindows::aboutWindow()
{
    QtSession s;
    ACT(s, "menu about");
    ui::qt::QtWindow *about = s.about();
    QVERIFY(about && about->isVisible());
    QCOMPARE(about->focusWidget(), about->findChild<QWidget *>("cmdOK"));
    auto *label = about->findChild<ui::qt::CaptionLabel *>("lblTheLabel");
    auto *picture = about->findChild<QLabel *>("Image1");
    QCOMPARE(QString::fromStdU16String(label->caption()).count(QChar(13)), 5);
    // Six lines on screen, each fitting the label, all above the picture.
    const QStringList lines = label->text().split(QChar(10));
    QCOMPARE(lines.size(), 6);
    const QFontMetrics metrics(label->font());
    for (const QString &line : lines)
        QVERIFY2(metrics.horizontalAdvance(line) <= label->width(), qPrintable(line));
    QVERIFY(label->y() + 6 * metrics.lineSpacing() <= picture->y());
    QCOMPARE(picture->geometry(), pixels(ui::layout::find(ui::aboutLayout(), "Image1")->rect));
    // The picture is drawn above the label over their whole overlap.
    QCOMPARE(about->childAt(picture->geometry().center()), picture);
    QCOMPARE(about->childAt(picture->geometry().topLeft() + QPoint(1, 1)), picture);
    QCOMPARE(about->findChild<QWidget *>("cmdOK")->geometry(), pixels(ui::layout::find(ui::aboutLayout(), "cmdOK")->rect));
}

void TestQtWindows::aboutKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Enter on OK closes") << int(Qt::Key_Return) << int(Qt::NoModifier) << true;
    QTest::newRow("Space on OK closes") << int(Qt::Key_Space) << int(Qt::NoModifier) << true;
    QTest::newRow("Alt+O closes") << int(Qt::Key_O) << int(Qt::AltModifier) << true;
    QTest::newRow("Escape does nothing") << int(Qt::Key_Escape) << int(Qt::NoModifier) << false;
}

void TestQtWindows::aboutKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(bool, closes);
    QtSession s;
    s.main->move(123, 45);
    const QPoint position = s.main->geometry().topLeft();
    ACT(s, "set 5800");
    ACT(s, "tab");
    ACT(s, "menu about");
    ui::qt::QtWindow *about = s.about();
    QVERIFY(QTest::qWaitForWindowActive(about));
    QTest::keyClick(about->focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QtSession::settle();
    QCOMPARE(s.main->isVisible(), closes);
    QCOMPARE(s.about() == nullptr, closes);
    if (closes) {
        QCOMPARE(s.text("txtT"), QString("5800"));
        QCOMPARE(s.focus()->objectName(), QString("txtL"));
        QCOMPARE(s.main->geometry().topLeft(), position);
    }
    QVERIFY(!s.ended());
}

// The seeded random user, judged by the window model after every action.
void TestQtWindows::monkey()
{
    QtFront front;
    const std::string report = monkey::hunt(front, monkey::planFromEnvironment({1, 2, 3}, 200), "Qt");
    if (!report.empty())
        QFAIL(report.c_str());
}

QTEST_MAIN(TestQtWindows)
#include "tst_qt_windows.moc"
