#include "../scenarios.h"
#include "qt_session.h"
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

// One action of the scenario table, with real keys and clicks.
void perform(QtSession &s, const QString &action)
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
        QTest::keyClick(f, Qt::Key_End);
        QTest::keyClicks(f, argument);
    } else if (verb == "enter") {
        QTest::keyClick(f, Qt::Key_Return);
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
        QTest::newRow(all[i].name) << int(i);
}

void TestQtWindows::scenario()
{
    QFETCH(int, index);
    const scenarios::Scenario scenario = scenarios::all()[std::size_t(index)];
    const scenarios::Expected &expected = scenario.expected;

    QtSession s;
    for (const std::u16string &action : scenario.actions) {
        perform(s, qs(action));
        if (QTest::currentTestFailed())
            return;
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
}

void TestQtWindows::geometry_data()
{
    // Window coordinates in pixels (twips / 15) within the client area.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");
    const auto row = [](const char *name, int l, int t, int w, int h) {
        QTest::newRow(name) << QString(name) << QRect(l, t, w, h);
    };
    row("cmdReset", 184, 272, 97, 49);
    row("cmdExit", 296, 272, 97, 49);
    row("Frame2", 32, 192, 361, 57);
    row("lblF", 304, 210, 65, 20);
    row("lblLT", 144, 210, 65, 20);
    row("Image4", 48, 208, 92, 27);
    row("Image3", 245, 212, 57, 29);
    row("Frame1", 32, 88, 361, 57);
    row("txtL", 304, 104, 65, 27);
    row("txtT", 144, 104, 65, 27);
    row("Image2", 237, 104, 63, 27);
    row("Image1", 88, 104, 52, 27);
    row("cmdCalc", 72, 272, 97, 49);
    row("Label3", 32, 168, 137, 17);
    row("Label2", 32, 64, 97, 17);
    row("Label1", 16, 16, 393, 33);
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
    QCOMPARE(s.main->centralWidget()->size(), QSize(426, 339));
    QCOMPARE(s.main->centralWidget()->y(), s.main->menuBar()->height());
    QCOMPARE(s.main->minimumSize(), s.main->maximumSize());
    QCOMPARE(s.main->windowTitle(), QString("Fractional Blackbody Emissive Power"));
    QVERIFY(!s.main->windowIcon().isNull());
    QCOMPARE(s.main->windowIcon().availableSizes(), QList<QSize>{QSize(48, 48)});
    perform(s, "menu about");
    ui::QtAboutWindow *about = s.about();
    QVERIFY(about);
    QCOMPARE(about->size(), QSize(378, 316));
    QCOMPARE(about->minimumSize(), about->maximumSize());
    QCOMPARE(about->windowTitle(), QString("About Pyrel.exe"));
    QVERIFY(!(about->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(about->windowFlags() & Qt::WindowCloseButtonHint);
}

void TestQtWindows::fontsResolve()
{
    QtSession s;
    struct Row { const char *name; const char *family; int points; bool bold; };
    const Row rows[] = {
        {"Label1", "EB Garamond", 18, true}, {"Label2", "EB Garamond", 12, true},
        {"Label3", "EB Garamond", 12, true}, {"cmdCalc", "EB Garamond", 12, true},
        {"cmdReset", "EB Garamond", 12, true}, {"cmdExit", "EB Garamond", 12, true},
        {"txtT", "Liberation Sans", 12, false}, {"txtL", "Liberation Sans", 12, false},
        {"lblLT", "Liberation Sans", 12, false}, {"lblF", "Liberation Sans", 12, false},
    };
    for (const Row &row : rows) {
        const QFontInfo info(s.widget(row.name)->font());
        QVERIFY2(info.family() == row.family, qPrintable(QString(row.name) + ": " + info.family()));
        QCOMPARE(info.pointSize(), row.points);
        QCOMPARE(info.bold(), row.bold);
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
    QCOMPARE(bar.size(), 2);
    QCOMPARE(bar[0]->text(), QString("&File"));
    QCOMPARE(bar[1]->text(), QString("&Help"));
    struct Row { const char *name; const char *text; QKeySequence shortcut; };
    const Row file[] = {{"mnuCalc", "Calculate Values", QKeySequence("Ctrl+L")},
                        {"mnuReset", "Reset Form", QKeySequence("Ctrl+R")},
                        {"mnuL1", "", QKeySequence()},
                        {"mnuExit", "E&xit", QKeySequence("Ctrl+Q")}};
    const Row help[] = {{"mnuInstructions", "&Instructions", QKeySequence("Ctrl+I")},
                        {"mnuL2", "", QKeySequence()},
                        {"mnuAbout", "&About Pyrel.exe...", QKeySequence()}};
    const auto check = [](QMenu *menu, const Row *rows, int count) {
        const QList<QAction *> actions = menu->actions();
        QCOMPARE(actions.size(), count);
        for (int i = 0; i < count; ++i) {
            QCOMPARE(actions[i]->objectName(), QString(rows[i].name));
            QCOMPARE(actions[i]->isSeparator(), QString(rows[i].text).isEmpty());
            QCOMPARE(actions[i]->text(), QString(rows[i].text));
            QCOMPARE(actions[i]->shortcut(), rows[i].shortcut);
            QVERIFY(actions[i]->isEnabled() && actions[i]->isVisible() && !actions[i]->isChecked());
        }
    };
    check(bar[0]->menu(), file, 4);
    check(bar[1]->menu(), help, 3);

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
    QCOMPARE(s.main->findChild<QLabel *>("lblLT")->geometry(), QRect(112, 18, 65, 20));
}

void TestQtWindows::accessibleNames()
{
    QtSession s;
    QCOMPARE(s.widget("txtT")->accessibleName(), QString("Temperature (K)"));
    QCOMPARE(s.widget("txtL")->accessibleName(), QString::fromUtf8("Wavelength (\u00B5m)"));
    QCOMPARE(s.widget("Image1")->accessibleName(), QString("T(K)="));
    QCOMPARE(s.widget("Image2")->accessibleName(), QString::fromUtf8("\u03BB(\u03BCm)="));
    QCOMPARE(s.widget("Image3")->accessibleName(), QString::fromUtf8("F(0\u2192\u03BB)="));
    QCOMPARE(s.widget("Image4")->accessibleName(), QString::fromUtf8("\u03BBT(\u03BCm\u00B7K)="));
    QCOMPARE(s.widget("lblLT")->accessibleDescription(), QString::fromUtf8("\u03BBT (\u00B5m\u00B7K)"));
    QCOMPARE(s.widget("lblF")->accessibleDescription(), QString::fromUtf8("F(0\u2192\u03BB)"));
    QCOMPARE(s.widget("cmdCalc")->accessibleName(), QString("Calculate Values"));
    QCOMPARE(s.widget("cmdReset")->accessibleName(), QString("Reset Form"));
    QCOMPARE(s.widget("cmdExit")->accessibleName(), QString("Exit"));
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
    QCOMPARE(picture->size(), QSize(263, 97));
    QCOMPARE(picture->geometry().topLeft(), QPoint(56, 144));
    // The picture is drawn above the label over their whole overlap.
    QCOMPARE(about->childAt(picture->geometry().center()), picture);
    QCOMPARE(about->childAt(picture->geometry().topLeft() + QPoint(1, 1)), picture);
    QCOMPARE(about->findChild<QWidget *>("cmdOK")->geometry(), QRect(288, 256, 73, 41));
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
