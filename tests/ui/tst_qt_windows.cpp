#include "app/qt/program.h"
#include "scenarios.h"
#include "ui/qt/qt_about_window.h"
#include "ui/qt/qt_main_window.h"

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

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    int buttons;
    QString labelText;
};

// The program under test, with its end intercepted and every message box
// answered with OK as soon as it appears.
class Session {
public:
    Session()
        : program([this] { ended = true; })
    {
        QObject::connect(qApp, &QGuiApplication::lastWindowClosed, &watcher, [this] { ended = true; });
        watcher.setInterval(5);
        QObject::connect(&watcher, &QTimer::timeout, [this] { answerBox(); });
        watcher.start();
        program.Start();
        main = program.frmMain();
        main->activateWindow();
        if (!QTest::qWaitForWindowActive(main))
            qWarning("the main window did not become active");
    }

    ~Session()
    {
        watcher.stop();
        QObject::disconnect(qApp, &QGuiApplication::lastWindowClosed, &watcher, nullptr);
    }

    QWidget *widget(const QString &name) const { return main->findChild<QWidget *>(name); }
    QWidget *focus() const { return main->focusWidget(); }

    void settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }

    void answerBox()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        boxes.push_back({box->windowTitle(), box->text(), box->icon(), int(box->buttons().size()),
                         label ? label->text() : QString()});
        if (boxes.size() > 20) // a box that keeps coming back fails the test instead of hanging it
            watcher.stop();
        box->button(QMessageBox::Ok)->click();
    }

    QStringList messages() const
    {
        QStringList list;
        for (const SeenBox &b : boxes)
            list << b.title + ": " + QString(b.text).replace(QChar(10), QChar(13));
        return list;
    }

    void perform(const QString &action)
    {
        const QString verb = action.section(' ', 0, 0);
        const QString argument = action.section(' ', 1);
        QWidget *f = focus();
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
            QTest::mouseClick(widget(argument), Qt::LeftButton);
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
            QTest::mouseClick(program.frmAbout()->findChild<QPushButton *>("cmdOK"), Qt::LeftButton);
        } else if (verb == "about-close") {
            program.frmAbout()->close();
        } else if (verb == "close-main") {
            main->close();
            // Qt ends the program when its last window closes (it only says
            // so from inside the event loop, which a test does not run).
            const QWidgetList windows = QApplication::topLevelWidgets();
            ended = ended
                    || (QApplication::quitOnLastWindowClosed() && main->testAttribute(Qt::WA_QuitOnClose)
                        && std::none_of(windows.begin(), windows.end(), [](QWidget *w) { return w->isVisible(); }));
        } else {
            QFAIL(qPrintable("unknown action " + action));
        }
        settle();
    }

    QString text(const char *name) const { return main->findChild<QLineEdit *>(name)->text(); }
    QString caption(const char *name) const { return main->findChild<QLabel *>(name)->text(); }

    QTimer watcher;
    bool ended = false;
    QList<SeenBox> boxes;
    app::Program program;
    ui::QtMainWindow *main = nullptr;
};

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
    app::setApplicationIdentity();
    QApplication::setCursorFlashTime(0);
}

void TestQtWindows::scenario_data()
{
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<int>("index");
    const auto all = scenarios::all();
    for (std::size_t i = 0; i < all.size(); ++i)
        QTest::newRow(all[i].name) << all[i].actions << int(i);
}

void TestQtWindows::scenario()
{
    QFETCH(QStringList, actions);
    QFETCH(int, index);
    const scenarios::Expected expected = scenarios::all()[std::size_t(index)].expected;

    Session s;
    for (const QString &action : actions) {
        s.perform(action);
        if (QTest::currentTestFailed())
            return;
    }
    QCOMPARE(s.text("txtT"), expected.txtT);
    QCOMPARE(s.text("txtL"), expected.txtL);
    QCOMPARE(s.caption("lblLT"), expected.lblLT);
    QCOMPARE(s.caption("lblF"), expected.lblF);
    QCOMPARE(s.focus() ? s.focus()->objectName() : QString("none"), expected.focus);
    QCOMPARE(s.messages(), expected.messages);
    QCOMPARE(s.ended, expected.ended);
    QCOMPARE(s.main->isVisible(), expected.mainVisible);
    QCOMPARE(s.program.frmAbout() != nullptr && s.program.frmAbout()->isVisible(), expected.aboutVisible);
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
    Session s;
    QWidget *client = s.main->centralWidget();
    QWidget *w = s.widget(name);
    QVERIFY(w);
    QCOMPARE(QRect(w->mapTo(client, QPoint(0, 0)), w->size()), rect);
}

void TestQtWindows::windowsHaveFixedSizesAndTitles()
{
    Session s;
    QCOMPARE(s.main->centralWidget()->size(), QSize(426, 339));
    QCOMPARE(s.main->centralWidget()->y(), s.main->menuBar()->height());
    QCOMPARE(s.main->minimumSize(), s.main->maximumSize());
    QCOMPARE(s.main->windowTitle(), QString("Fractional Blackbody Emissive Power"));
    QVERIFY(!s.main->windowIcon().isNull());
    QCOMPARE(s.main->windowIcon().availableSizes(), QList<QSize>{QSize(48, 48)});
    s.perform("menu about");
    ui::QtAboutWindow *about = s.program.frmAbout();
    QVERIFY(about);
    QCOMPARE(about->size(), QSize(378, 316));
    QCOMPARE(about->minimumSize(), about->maximumSize());
    QCOMPARE(about->windowTitle(), QString("About Pyrel.exe"));
    QVERIFY(!(about->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(about->windowFlags() & Qt::WindowCloseButtonHint);
}

void TestQtWindows::fontsResolve()
{
    Session s;
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
    Session s;
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
    Session s;
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
    s.perform("set abc");
    QTest::keyClick(s.focus(), Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(QApplication::activePopupWidget());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    QTest::keyClick(s.main->menuBar(), Qt::Key_Escape);
    s.settle();
    QVERIFY(s.boxes.isEmpty());
    QCOMPARE(s.text("txtT"), QString("abc"));
}

void TestQtWindows::messageBoxesHaveOneButtonNoIconAndATitle()
{
    Session s;
    s.perform("set abc");
    s.perform("tab");
    s.perform("menu instructions");
    QCOMPARE(s.boxes.size(), 2);
    QCOMPARE(s.boxes[0].title, QString("Emberline"));
    QCOMPARE(s.boxes[1].title, QString("Instructions"));
    for (const SeenBox &box : s.boxes) {
        QCOMPARE(box.icon, QMessageBox::NoIcon);
        QCOMPARE(box.buttons, 1);
    }
    // Shortcuts still work after a message box.
    s.perform("set 5");
    s.perform("menu reset");
    QCOMPARE(s.text("txtT"), QString("0"));
}

void TestQtWindows::instructionsShowFourParagraphs()
{
    Session s;
    s.perform("menu instructions");
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
    Session s;
    auto *lblF = s.main->findChild<ui::CaptionLabel *>("lblF");
    const QRect before = lblF->geometry();
    lblF->setCaption(u"-51.6004 and a good deal more text than fits");
    s.settle();
    QCOMPARE(lblF->geometry(), before);
    QCOMPARE(s.main->findChild<QLabel *>("lblLT")->geometry(), QRect(112, 18, 65, 20));
}

void TestQtWindows::accessibleNames()
{
    Session s;
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
    Session s;
    const QString longText = QString(40000, QLatin1Char('9'));
    QApplication::clipboard()->setText(longText);
    QTest::keyClick(s.focus(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(s.focus(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(s.text("txtT"), longText);
    s.perform("tab"); // beyond the double range: refused, kept as typed
    QCOMPARE(s.boxes.size(), 1);
    QCOMPARE(s.text("txtT"), longText);
}

void TestQtWindows::aboutWindow()
{
    Session s;
    s.perform("menu about");
    ui::QtAboutWindow *about = s.program.frmAbout();
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
    Session s;
    s.main->move(123, 45);
    const QPoint position = s.main->geometry().topLeft();
    s.perform("set 5800");
    s.perform("tab");
    s.perform("menu about");
    ui::QtAboutWindow *about = s.program.frmAbout();
    QVERIFY(QTest::qWaitForWindowActive(about));
    QTest::keyClick(about->focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    s.settle();
    QCOMPARE(s.main->isVisible(), closes);
    QCOMPARE(s.program.frmAbout() == nullptr, closes);
    if (closes) {
        QCOMPARE(s.text("txtT"), QString("5800"));
        QCOMPARE(s.focus()->objectName(), QString("txtL"));
        QCOMPARE(s.main->geometry().topLeft(), position);
    }
    QVERIFY(!s.ended);
}

QTEST_MAIN(TestQtWindows)
#include "tst_qt_windows.moc"
