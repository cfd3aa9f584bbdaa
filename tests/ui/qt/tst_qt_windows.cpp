#include "../scenarios.h"
#include "qt_session.h"
#include "ui/about/about_layout.h"
#include "ui/layout.h"
#include "ui/main/main_layout.h"
#include "ui/qt/qt_layout.h"
#include "ui/qt/qt_widgets.h"

#include <QtTest>
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>

#include <memory>

namespace {

using test_support::QtSession;
using test_support::SeenBox;

QString qs(const std::u16string &text) { return QString::fromStdU16String(text); }
QString qs(std::string_view name) { return QString::fromLatin1(name.data(), qsizetype(name.size())); }

// A rectangle of the layout table in pixels at 96 dpi.
QRect pixels(const ui::layout::Rect &twips)
{
    using ui::layout::Pixels;
    return QRect(Pixels(twips.left), Pixels(twips.top), Pixels(twips.width), Pixels(twips.height));
}

// The installed face that stands in for a designed one.
QString substitute(std::u16string_view face)
{
    return face == u"Garamond" ? QString("EB Garamond") : QString("Liberation Sans");
}

// One action of the scenario table, with real keys and clicks; `previous`
// is the action before it, if any.
void perform(QtSession &s, const QString &action, const QString &previous = {})
{
    const QString verb = action.section(' ', 0, 0);
    const QString argument = action.section(' ', 1);
    QWidget *f = s.focus();
    if (verb == "set") {
        QTest::keyClick(f, Qt::Key_A, Qt::ControlModifier);
        if (argument.isEmpty())
            QTest::keyClick(f, Qt::Key_Delete);
        else
            QTest::keyClicks(f, argument);
    } else if (verb == "type") {
        if (previous != "select-all") // else over the selected text
            QTest::keyClick(f, Qt::Key_End);
        QTest::keyClicks(f, argument);
    } else if (verb == "select-all") {
        QTest::keyClick(f, Qt::Key_A, Qt::ControlModifier);
    } else if (verb == "enter") {
        QTest::keyClick(f, Qt::Key_Return);
    } else if (verb == "ctrl-enter") {
        QTest::keyClick(f, Qt::Key_Return, Qt::ControlModifier);
    } else if (verb == "alt-enter") {
        QTest::keyClick(f, Qt::Key_Return, Qt::AltModifier);
    } else if (verb == "space") {
        QTest::keyClick(f, Qt::Key_Space);
    } else if (verb == "escape") {
        QTest::keyClick(f, Qt::Key_Escape);
    } else if (verb == "tab") {
        QTest::keyClick(f, Qt::Key_Tab);
    } else if (verb == "backtab") {
        QTest::keyClick(f, Qt::Key_Backtab, Qt::ShiftModifier);
    } else if (verb == "click") {
        QTest::mouseClick(s.widget(argument), Qt::LeftButton);
    } else if (verb == "alt") {
        QTest::keyClick(f, Qt::Key(argument.at(0).unicode()), Qt::AltModifier);
    } else if (verb == "menu") {
        static const QHash<QString, Qt::Key> shortcuts = {
            {"calc", Qt::Key_L}, {"reset", Qt::Key_R}, {"exit", Qt::Key_Q}, {"instructions", Qt::Key_I}};
        if (shortcuts.contains(argument)) {
            QTest::keyClick(f, shortcuts.value(argument), Qt::ControlModifier);
        } else {
            QTest::keyClick(f, Qt::Key_H, Qt::AltModifier);
            QTRY_VERIFY(QApplication::activePopupWidget());
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_A);
        }
    } else if (verb == "about-ok") {
        QTest::mouseClick(s.about()->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
    } else if (verb == "about-close") {
        s.about()->close();
    } else if (verb == "close-main") {
        s.main->close();
    } else if (verb == "answer") {
        static const QHash<QString, QtSession::Answer> ways = {{"enter", QtSession::Answer::Enter},
                                                               {"space", QtSession::Answer::Space},
                                                               {"escape", QtSession::Answer::Escape},
                                                               {"click", QtSession::Answer::Click}};
        if (!ways.contains(argument))
            QFAIL(qPrintable("unknown way " + argument));
        s.answer = ways.value(argument);
    } else {
        QFAIL(qPrintable("unknown action " + action));
    }
    QtSession::settle();
}

} // namespace

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
    QString previous;
    for (const std::u16string &action : scenario.actions) {
        perform(s, qs(action), previous);
        if (QTest::currentTestFailed())
            return;
        previous = qs(action);
    }
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
    const ui::layout::WindowDesign &design = ui::MainLayout();
    for (const ui::layout::ControlDesign &control : design.controls)
        QTest::newRow(control.name.data()) << qs(control.name) << pixels(ui::layout::WindowRect(design, control));
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
    const ui::layout::WindowDesign &main = ui::MainLayout();
    QCOMPARE(s.main->centralWidget()->size(), pixels({0, 0, main.clientWidth, main.clientHeight}).size());
    QCOMPARE(s.main->centralWidget()->y(), s.main->menuBar()->height());
    QCOMPARE(s.main->minimumSize(), s.main->maximumSize());
    QCOMPARE(s.main->windowTitle(), qs(std::u16string(main.caption)));
    QVERIFY(!s.main->windowIcon().isNull());
    QCOMPARE(s.main->windowIcon().availableSizes(), QList<QSize>{QSize(48, 48)});
    perform(s, "menu about");
    ui::QtAboutWindow *about = s.about();
    QVERIFY(about);
    const ui::layout::WindowDesign &design = ui::AboutLayout();
    QCOMPARE(about->size(), pixels({0, 0, design.clientWidth, design.clientHeight}).size());
    QCOMPARE(about->minimumSize(), about->maximumSize());
    QCOMPARE(about->windowTitle(), qs(std::u16string(design.caption)));
    QVERIFY(!(about->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(about->windowFlags() & Qt::WindowCloseButtonHint);
}

void TestQtWindows::fontsResolve()
{
    QtSession s;
    for (const ui::layout::ControlDesign &control : ui::MainLayout().controls) {
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
    const std::vector<ui::layout::DropDown> design = ui::layout::MenuBar(ui::MainLayout());
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
    perform(s, "set abc");
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
    perform(s, "set abc");
    perform(s, "tab");
    perform(s, "menu instructions");
    QCOMPARE(s.boxes.size(), 2);
    QCOMPARE(s.boxes[0].title, QString("Emberline"));
    QCOMPARE(s.boxes[1].title, QString("Instructions"));
    for (const SeenBox &box : s.boxes) {
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QCOMPARE(box.buttons, 1);
    }
    // Shortcuts still work after a message box.
    perform(s, "set 5");
    perform(s, "menu reset");
    QCOMPARE(s.text("txtT"), QString("0"));
}

void TestQtWindows::instructionsShowFourParagraphs()
{
    QtSession s;
    perform(s, "menu instructions");
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
    auto *lblF = s.main->findChild<ui::CaptionLabel *>("lblF");
    const QRect before = lblF->geometry();
    lblF->setCaption(u"-51.6004 and a good deal more text than fits");
    QtSession::settle();
    QCOMPARE(lblF->geometry(), before);
    QCOMPARE(s.main->findChild<QLabel *>("lblLT")->geometry(), pixels(ui::layout::Find(ui::MainLayout(), "lblLT")->rect));
}

void TestQtWindows::accessibleNames()
{
    QtSession s;
    for (const ui::layout::ControlDesign &control : ui::MainLayout().controls) {
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
    perform(s, "tab"); // beyond the double range: refused, kept as typed
    QCOMPARE(s.boxes.size(), 1);
    QCOMPARE(s.text("txtT"), longText);
}

void TestQtWindows::aboutWindow()
{
    QtSession s;
    perform(s, "menu about");
    ui::QtAboutWindow *about = s.about();
    QVERIFY(about && about->isVisible());
    QCOMPARE(about->focusWidget(), about->findChild<QWidget *>("cmdOK"));
    auto *label = about->findChild<ui::CaptionLabel *>("lblTheLabel");
    auto *picture = about->findChild<QLabel *>("Image1");
    QCOMPARE(QString::fromStdU16String(label->caption()).count(QChar(13)), 5);
    // Six lines on screen, each fitting the label, all above the picture.
    const QStringList lines = label->text().split(QChar(10));
    QCOMPARE(lines.size(), 6);
    const QFontMetrics metrics(label->font());
    for (const QString &line : lines)
        QVERIFY2(metrics.horizontalAdvance(line) <= label->width(), qPrintable(line));
    QVERIFY(label->y() + 6 * metrics.lineSpacing() <= picture->y());
    QCOMPARE(picture->geometry(), pixels(ui::layout::Find(ui::AboutLayout(), "Image1")->rect));
    // The picture is drawn above the label over their whole overlap.
    QCOMPARE(about->childAt(picture->geometry().center()), picture);
    QCOMPARE(about->childAt(picture->geometry().topLeft() + QPoint(1, 1)), picture);
    QCOMPARE(about->findChild<QWidget *>("cmdOK")->geometry(), pixels(ui::layout::Find(ui::AboutLayout(), "cmdOK")->rect));
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
    perform(s, "set 5800");
    perform(s, "tab");
    perform(s, "menu about");
    ui::QtAboutWindow *about = s.about();
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

QTEST_MAIN(TestQtWindows)
#include "tst_qt_windows.moc"
