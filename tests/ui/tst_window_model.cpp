#include "scenarios.h"
#include "../support/doctest_text.h"

#include "ui/about/about_form.h"
#include "ui/about/about_layout.h"
#include "ui/forms.h"
#include "ui/layout.h"
#include "ui/main/main_form.h"
#include "ui/main/main_layout.h"
#include "ui/window_model.h"

#include <doctest/doctest.h>

#include <algorithm>

using ui::Control;
using ui::FormId;
using ui::MenuItem;
using ui::WindowModel;

namespace {

Control controlNamed(const std::u16string &name)
{
    if (name == u"txtT") return Control::txtT;
    if (name == u"txtL") return Control::txtL;
    if (name == u"cmdCalc" || name == u"C") return Control::cmdCalc;
    if (name == u"cmdReset" || name == u"R") return Control::cmdReset;
    if (name == u"cmdExit" || name == u"X") return Control::cmdExit;
    return Control::None;
}

std::u16string nameOf(Control c)
{
    switch (c) {
    case Control::txtT: return u"txtT";
    case Control::txtL: return u"txtL";
    case Control::cmdCalc: return u"cmdCalc";
    case Control::cmdReset: return u"cmdReset";
    case Control::cmdExit: return u"cmdExit";
    default: return u"none";
    }
}

MenuItem menuNamed(const std::u16string &name)
{
    if (name == u"calc") return MenuItem::mnuCalc;
    if (name == u"reset") return MenuItem::mnuReset;
    if (name == u"exit") return MenuItem::mnuExit;
    if (name == u"instructions") return MenuItem::mnuInstructions;
    if (name == u"about") return MenuItem::mnuAbout;
    return MenuItem::None;
}

void perform(WindowModel &m, const std::u16string &action)
{
    const auto [verb, argument] = scenarios::split(action);
    if (verb == u"set") m.replaceText(argument);
    else if (verb == u"type") m.typeText(argument);
    else if (verb == u"enter") m.pressEnter();
    else if (verb == u"space") m.pressSpace();
    else if (verb == u"escape") m.pressEscape();
    else if (verb == u"tab") m.tab();
    else if (verb == u"backtab") m.backTab();
    else if (verb == u"click") m.click(controlNamed(argument));
    else if (verb == u"alt") m.accessKey(controlNamed(argument));
    else if (verb == u"menu") m.menu(menuNamed(argument));
    else if (verb == u"about-ok") m.clickAboutOK();
    else if (verb == u"about-close") m.closeAbout();
    else if (verb == u"close-main") m.closeMain();
    else FAIL("unknown action " << test_support::utf8(action));
}

void run(WindowModel &m, const std::vector<std::u16string> &actions)
{
    for (const std::u16string &action : actions)
        perform(m, action);
}

} // namespace

TEST_CASE("user scenarios on the window model")
{
    for (const scenarios::Scenario &scenario : scenarios::all()) {
        INFO(std::string(scenario.name));
        const scenarios::Expected &expected = scenario.expected;
        WindowModel m;
        run(m, scenario.actions);
        CHECK(m.text(Control::txtT) == expected.txtT);
        CHECK(m.text(Control::txtL) == expected.txtL);
        CHECK(m.lblLT() == expected.lblLT);
        CHECK(m.lblF() == expected.lblF);
        CHECK(nameOf(m.focus()) == expected.focus);
        std::vector<std::u16string> messages;
        for (const auto &message : m.messages())
            messages.push_back(message.title + u": " + message.prompt);
        CHECK(messages == expected.messages);
        CHECK(m.ended() == expected.ended);
        CHECK(m.mainVisible() == expected.mainVisible);
        CHECK(m.aboutVisible() == expected.aboutVisible);
    }
}

TEST_CASE("the Instructions prompt: four paragraphs joined by lone carriage returns")
{
    const std::u16string prompt = ui::MainForm::InstructionsPrompt();
    CHECK(prompt.size() == 221);
    CHECK(std::count(prompt.begin(), prompt.end(), u'\r') == 6);
    CHECK(std::count(prompt.begin(), prompt.end(), u'\n') == 0);
    CHECK(prompt.find(u"\r\r1. Enter the temperature") != std::u16string::npos);
    CHECK(prompt.starts_with(u"To find the fractional blackbody emissivity power"));
    CHECK(prompt.ends_with(u"3. Click the Calculate Button."));
}

TEST_CASE("the About text: six lines, the second and fifth empty")
{
    const std::u16string text = ui::AboutForm::AboutText();
    std::vector<std::u16string> lines(1);
    for (char16_t c : text) {
        if (c == u'\r')
            lines.emplace_back();
        else
            lines.back() += c;
    }
    REQUIRE(lines.size() == 6);
    CHECK(lines[0] == u"Pyrel 1.0");
    CHECK(lines[1].empty());
    CHECK(lines[2] == u"Emberline version 1.00");
    CHECK(lines[3] == u"Copyright \u00A9 2026 Velmora");
    CHECK(lines[4].empty());
    CHECK(lines[5] == u"Property values obtained using chunk series method:");
    CHECK(text.find(u'\n') == std::u16string::npos);
}

TEST_CASE("Form_Load, Reset and File > Reset Form give the start-up texts and move no focus")
{
    const std::vector<std::vector<std::u16string>> befores = {
        {u"set 5800", u"tab", u"set 1", u"enter"}, // after a calculation
        {u"set abc", u"enter"},                    // with texts that are no numbers
        {u"menu calc"},                            // after a zero result
    };
    for (const auto &before : befores) {
        for (int way = 0; way < 3; ++way) {
            CAPTURE(way);
            WindowModel m;
            run(m, before);
            const Control focus = m.focus();
            m.frmMain().C2 = m.frmMain().PI = 1.0;
            m.frmMain().F = 0.5;
            if (way == 0)
                m.frmMain().Form_Load();
            else if (way == 1)
                m.frmMain().cmdReset_Click();
            else
                m.menu(MenuItem::mnuReset);
            CHECK(m.text(Control::txtT) == u"0");
            CHECK(m.text(Control::txtL) == u"0");
            CHECK(m.lblLT().empty());
            CHECK(m.lblF().empty());
            CHECK(m.focus() == focus);
            CHECK(m.frmMain().C2 == 14387.96);
            CHECK(m.frmMain().PI == 3.14159265359);
            CHECK(m.frmMain().F == 0.5); // the other module variables are left alone
        }
    }
}

TEST_CASE("window lifecycle: About is loaded afresh each time, frmMain only at start-up")
{
    WindowModel m;
    ui::Forms &forms = m.forms();
    CHECK(forms.isLoaded(FormId::Main));
    CHECK_FALSE(forms.isLoaded(FormId::About));
    ui::MainForm *main = &forms.frmMain();
    run(m, {u"set 5800", u"tab", u"set 1", u"enter"});
    main->C2 = 1.0; // Form_Load would put 14387.96 back

    for (const char *close : {"OK", "close box"}) {
        CAPTURE(close);
        m.menu(MenuItem::mnuAbout);
        REQUIRE(forms.isLoaded(FormId::About));
        CHECK(m.aboutText() == ui::AboutForm::AboutText());
        m.setAboutText(u"left over"); // a fresh load writes the text again
        if (close == std::string_view("OK"))
            m.clickAboutOK();
        else
            m.closeAbout();
        CHECK_FALSE(forms.isLoaded(FormId::About));
        CHECK(forms.isVisible(FormId::Main));
        CHECK(&forms.frmMain() == main);
        CHECK(main->C2 == 1.0);
        CHECK(m.lblF() == u"0.7201");
        CHECK(m.focus() == Control::txtL);
    }
    // A toolkit may move the hidden window's focus (a menu closing over it):
    // nothing is validated then, and the window comes back with its focus.
    run(m, {u"backtab", u"set abc", u"menu about"});
    m.frmMain().FocusMoved(Control::txtT, Control::txtL);
    m.clickAboutOK();
    CHECK(m.messages().empty());
    CHECK(m.focus() == Control::txtT);
    CHECK_FALSE(m.ended());
}

TEST_CASE("window lifecycle: the main window's close box ends the program with nothing left loaded")
{
    WindowModel m;
    m.closeMain();
    CHECK(m.ended());
    CHECK_FALSE(m.mainVisible());
    // Nothing runs once the program has ended.
    m.forms().Show(FormId::About);
    CHECK_FALSE(m.aboutVisible());
    CHECK(m.messages().empty());
}

// The designs' numbers, pinned once for every toolkit: the toolkit tests
// read them from the layout tables.
TEST_CASE("the designs: client areas, and the panels' controls in window coordinates")
{
    using ui::layout::Pixels;
    CHECK(Pixels(ui::MainLayout().clientWidth) == 426);
    CHECK(Pixels(ui::MainLayout().clientHeight) == 339);
    CHECK(Pixels(ui::AboutLayout().clientWidth) == 378);
    CHECK(Pixels(ui::AboutLayout().clientHeight) == 316);
    struct Row {
        const char *name;
        int left, top, right, bottom; // twips
    };
    const Row rows[] = {
        {"Image1", 1320, 1560, 2100, 1965}, {"txtT", 2160, 1560, 3135, 1965}, {"Image2", 3560, 1560, 4505, 1965},
        {"txtL", 4560, 1560, 5535, 1965},   {"Image4", 720, 3120, 2100, 3525}, {"lblLT", 2160, 3150, 3135, 3450},
        {"Image3", 3680, 3180, 4535, 3615}, {"lblF", 4560, 3150, 5535, 3450},
    };
    for (const Row &row : rows) {
        INFO(row.name);
        const ui::layout::Rect r = ui::layout::WindowRect(ui::MainLayout(), *ui::layout::Find(ui::MainLayout(), row.name));
        CHECK(r.left == row.left);
        CHECK(r.top == row.top);
        CHECK(r.left + r.width == row.right);
        CHECK(r.top + r.height == row.bottom);
    }
}
