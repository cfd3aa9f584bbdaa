#include "scenarios.h"
#include "ui/about/about_form.h"
#include "ui/main/main_form.h"
#include "ui/window_model.h"

#include <QtTest>

using ui::Control;
using ui::WindowModel;

namespace {

QString qs(const std::u16string &s) { return QString::fromStdU16String(s); }

Control controlNamed(const QString &name)
{
    if (name == "txtT") return Control::txtT;
    if (name == "txtL") return Control::txtL;
    if (name == "cmdCalc" || name == "C") return Control::cmdCalc;
    if (name == "cmdReset" || name == "R") return Control::cmdReset;
    if (name == "cmdExit" || name == "X") return Control::cmdExit;
    return Control::None;
}

QString nameOf(Control c)
{
    switch (c) {
    case Control::txtT: return "txtT";
    case Control::txtL: return "txtL";
    case Control::cmdCalc: return "cmdCalc";
    case Control::cmdReset: return "cmdReset";
    case Control::cmdExit: return "cmdExit";
    default: return "none";
    }
}

void perform(WindowModel &m, const QString &action)
{
    const QString verb = action.section(' ', 0, 0);
    const QString argument = action.section(' ', 1);
    const std::u16string text = argument.toStdU16String();
    if (verb == "set") m.replaceText(text);
    else if (verb == "type") m.typeText(text);
    else if (verb == "enter") m.pressEnter();
    else if (verb == "space") m.pressSpace();
    else if (verb == "escape") m.pressEscape();
    else if (verb == "tab") m.tab();
    else if (verb == "backtab") m.backTab();
    else if (verb == "click") m.click(controlNamed(argument));
    else if (verb == "alt") m.accessKey(controlNamed(argument));
    else if (verb == "menu") {
        static const QHash<QString, WindowModel::Menu> menus = {
            {"calc", WindowModel::Menu::Calc}, {"reset", WindowModel::Menu::Reset},
            {"exit", WindowModel::Menu::Exit}, {"instructions", WindowModel::Menu::Instructions},
            {"about", WindowModel::Menu::About}};
        m.menu(menus.value(argument));
    } else if (verb == "about-ok") m.clickAboutOK();
    else if (verb == "about-close") m.closeAbout();
    else if (verb == "close-main") m.closeMain();
    else QFAIL(qPrintable("unknown action " + action));
}

} // namespace

class TestWindowModel : public QObject {
    Q_OBJECT

private slots:
    void scenario_data();
    void scenario();
    void instructionsPrompt();
    void aboutText();
    void loadAndResetEndState_data();
    void loadAndResetEndState();
    void aboutLoadsAfreshAndMainOnlyOnce();
};

void TestWindowModel::scenario_data()
{
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<int>("index");
    const auto all = scenarios::all();
    for (std::size_t i = 0; i < all.size(); ++i)
        QTest::newRow(all[i].name) << all[i].actions << int(i);
}

void TestWindowModel::scenario()
{
    QFETCH(QStringList, actions);
    QFETCH(int, index);
    const scenarios::Expected expected = scenarios::all()[std::size_t(index)].expected;

    WindowModel m;
    for (const QString &action : actions)
        perform(m, action);

    QCOMPARE(qs(m.text(Control::txtT)), expected.txtT);
    QCOMPARE(qs(m.text(Control::txtL)), expected.txtL);
    QCOMPARE(qs(m.lblLT()), expected.lblLT);
    QCOMPARE(qs(m.lblF()), expected.lblF);
    QCOMPARE(nameOf(m.focus()), expected.focus);
    QStringList messages;
    for (const auto &message : m.messages())
        messages << qs(message.title) + ": " + qs(message.prompt);
    QCOMPARE(messages, expected.messages);
    QCOMPARE(m.ended(), expected.ended);
    QCOMPARE(m.mainVisible(), expected.mainVisible);
    QCOMPARE(m.aboutVisible(), expected.aboutVisible);
}

void TestWindowModel::instructionsPrompt()
{
    const std::u16string prompt = ui::MainForm::InstructionsPrompt();
    QCOMPARE(prompt.size(), std::size_t(221));
    QCOMPARE(std::count(prompt.begin(), prompt.end(), u'\r'), 6);
    QCOMPARE(std::count(prompt.begin(), prompt.end(), u'\n'), 0);
    QVERIFY(prompt.find(u"\r\r1. Enter the temperature") != std::u16string::npos);
    QVERIFY(prompt.starts_with(u"To find the fractional blackbody emissivity power"));
    QVERIFY(prompt.ends_with(u"3. Click the Calculate Button."));
}

void TestWindowModel::aboutText()
{
    const QString text = qs(ui::AboutForm::AboutText());
    const QStringList lines = text.split(QChar(13));
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[0], QString("Pyrel 1.0"));
    QCOMPARE(lines[1], QString());
    QVERIFY(!lines[2].isEmpty());
    QVERIFY(!lines[3].isEmpty());
    QCOMPARE(lines[4], QString());
    QCOMPARE(lines[5], QString("Property values obtained using chunk series method:"));
    QVERIFY(!text.contains(QChar(10)));
}

void TestWindowModel::loadAndResetEndState_data()
{
    QTest::addColumn<QStringList>("before");
    QTest::newRow("after a calculation") << QStringList{"set 5800", "tab", "set 1", "enter"};
    QTest::newRow("with texts that are no numbers") << QStringList{"set abc", "enter"};
    QTest::newRow("after a zero result") << QStringList{"menu calc"};
}

void TestWindowModel::loadAndResetEndState()
{
    // Form_Load, Reset and File > Reset Form all give the start-up texts
    // and empty results, and move no focus.
    QFETCH(QStringList, before);
    for (int way = 0; way < 3; ++way) {
        WindowModel m;
        for (const QString &action : before)
            perform(m, action);
        const Control focus = m.focus();
        m.frmMain().C2 = m.frmMain().PI = 1.0;
        m.frmMain().F = 0.5;
        if (way == 0)
            m.frmMain().Form_Load();
        else if (way == 1)
            m.frmMain().cmdReset_Click();
        else
            m.menu(WindowModel::Menu::Reset);
        QCOMPARE(qs(m.text(Control::txtT)), QString("0"));
        QCOMPARE(qs(m.text(Control::txtL)), QString("0"));
        QCOMPARE(qs(m.lblLT()), QString());
        QCOMPARE(qs(m.lblF()), QString());
        QCOMPARE(m.focus(), focus);
        QCOMPARE(m.frmMain().C2, 14387.96);
        QCOMPARE(m.frmMain().PI, 3.14159265359);
        QCOMPARE(m.frmMain().F, 0.5); // the other module variables are left alone
    }
}

void TestWindowModel::aboutLoadsAfreshAndMainOnlyOnce()
{
    WindowModel m;
    m.menu(WindowModel::Menu::About);
    const std::u16string first = m.aboutText();
    m.clickAboutOK();
    QVERIFY(!m.aboutVisible());
    m.menu(WindowModel::Menu::About);
    QCOMPARE(m.aboutText(), first);
    m.closeAbout();
    QCOMPARE(m.aboutLoads(), 2);
    QCOMPARE(m.mainLoads(), 1);
    QCOMPARE(qs(first), qs(ui::AboutForm::AboutText()));
}

QTEST_APPLESS_MAIN(TestWindowModel)
#include "tst_window_model.moc"
