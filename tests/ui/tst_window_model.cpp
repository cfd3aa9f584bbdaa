#include "scenarios.h"
#include "../support/doctest_text.h"
#include "../support/monkey.h"

#include "ui/about/about_form.h"
#include "ui/about/about_layout.h"
#include "ui/forms.h"
#include "ui/layout.h"
#include "ui/main/main_form.h"
#include "ui/main/main_layout.h"
#include "ui/window_model.h"

#include <doctest/doctest.h>

using ui::Control;
using ui::FormId;
using ui::MenuItem;
using ui::WindowModel;

namespace {

void run(WindowModel &m, const std::vector<std::u16string> &actions)
{
    for (const std::u16string &action : actions)
        monkey::apply(m, action);
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
        CHECK(monkey::nameOf(m.focus()) == expected.focus);
        std::vector<std::u16string> messages;
        for (const auto &message : m.messages()) {
            messages.push_back(message.title + u": " + message.prompt);
            // Every box comes from the main window's procedures, while it is
            // shown: it belongs to that window and hands the focus back to it.
            CHECK(message.owner == FormId::Main);
        }
        CHECK(messages == expected.messages);
        CHECK(m.ended() == expected.ended);
        CHECK(m.mainVisible() == expected.mainVisible);
        CHECK(m.aboutVisible() == expected.aboutVisible);
    }
}

// The monkey itself: on the model it runs many thousand actions without a
// fault; a planted fault (Ctrl+A emptying the results, as a Windows box once
// did) is found, reported with its seed and replay, and shrunk to a few
// actions that still fail while the fault is there and pass once it is gone.
TEST_CASE("the monkey: the model agrees with itself, and a planted fault is found and shrunk")
{
    monkey::ModelFront honest;
    CHECK(monkey::hunt(honest, monkey::Plan{{1, 2, 3, 4}, 2500, {}}, "model") == "");

    monkey::ModelFront faulty;
    faulty.fault = [](WindowModel &m, const std::u16string &action) {
        const bool inBox = m.focus() == Control::txtT || m.focus() == Control::txtL;
        if (action == u"select-all" && inBox && m.mainVisible() && !m.lblF().empty())
            m.forms().mainWindowHandle()->lblF().setCaption(u"");
    };
    const std::string report = monkey::hunt(faulty, monkey::Plan{{1, 2, 3}, 2000, {}}, "faulty");
    REQUIRE_MESSAGE(report != "", "the fault went unseen");
    CHECK(report.find("results: the front end and the model differ") != std::string::npos);
    const std::size_t shrunk = report.find("shrunk to ");
    REQUIRE(shrunk != std::string::npos);
    const std::size_t quote = report.find('\'', shrunk);
    const std::vector<std::u16string> replay =
            monkey::decode(std::string_view(report).substr(quote + 1, report.find('\'', quote + 1) - quote - 1));
    INFO(report);
    CHECK(replay.size() <= 8);
    CHECK(replay.back() == u"select-all");
    CHECK(monkey::check(faulty, replay));
    CHECK_FALSE(monkey::check(honest, replay));
}

TEST_CASE("the About text: six lines broken by lone carriage returns, the second and fifth empty")
{
    CHECK(ui::AboutForm::aboutText() == u"Pyrel 1.0\r\rEmberline version 1.00\rCopyright \u00A9 2026 Velmora\r\r"
                                        u"Property values obtained using chunk series method:");
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
        CHECK(m.aboutText() == ui::AboutForm::aboutText());
        m.setAboutText(u"left over"); // a fresh load writes the text again
        // The About window goes inside its own event, reporting the focus
        // leaving its OK button after it is unloaded: the form hears
        // nothing of it.
        if (close == std::string_view("OK"))
            m.clickAboutOK();
        else
            m.closeAbout();
        CHECK(m.messages().empty());
        CHECK_FALSE(forms.isLoaded(FormId::About));
        CHECK(forms.isVisible(FormId::Main));
        CHECK(&forms.frmMain() == main);
        CHECK(main->C2 == 1.0);
        CHECK(m.lblF() == u"0.7201");
        CHECK(m.focus() == Control::txtL);
    }
    // A toolkit may move the hidden window's focus (a menu closing over it):
    // nothing is validated then, and the window comes back with the focus it
    // had when it was hidden.
    run(m, {u"backtab", u"set abc", u"menu about"});
    REQUIRE(forms.mainWindowHandle());
    forms.mainWindowHandle()->txtL().setFocus();
    REQUIRE(m.focus() == Control::txtL);
    m.clickAboutOK();
    CHECK(m.messages().empty());
    CHECK(m.focus() == Control::txtT);
    CHECK(m.text(Control::txtT) == u"abc");
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

// The designs, pinned once for every toolkit: the toolkit tests read them
// from the layout tables. Each control in client-area pixels at 96 dpi
// with its font, and the captions a user reads.
TEST_CASE("the designs: captions, client areas, every control's place and font, the menus")
{
    using ui::layout::pixels;
    struct Window {
        const ui::layout::WindowDesign &design;
        const char16_t *caption;
        int width, height;
    };
    for (const Window &w : {Window{ui::mainLayout(), u"Fractional Blackbody Emissive Power", 426, 339},
                            Window{ui::aboutLayout(), u"About Pyrel.exe", 378, 316}}) {
        CHECK(w.design.caption == w.caption);
        CHECK(pixels(w.design.clientWidth) == w.width);
        CHECK(pixels(w.design.clientHeight) == w.height);
    }
    struct Row {
        const char *window;
        const char *name;
        int left, top, width, height; // window coordinates, pixels
        const char16_t *font;         // "face points bold", or empty
        const char16_t *caption;
    };
    const Row rows[] = {
        {"frmMain", "cmdReset", 184, 272, 97, 49, u"Garamond 12 bold", u"&Reset Form"},
        {"frmMain", "cmdExit", 296, 272, 97, 49, u"Garamond 12 bold", u"E&xit"},
        {"frmMain", "Frame2", 32, 192, 361, 57, u"", u"Temperature"},
        {"frmMain", "lblF", 304, 210, 65, 20, u"MS Sans Serif 12", u""},
        {"frmMain", "lblLT", 144, 210, 65, 20, u"MS Sans Serif 12", u""},
        {"frmMain", "Image4", 48, 208, 92, 27, u"", u""},
        {"frmMain", "Image3", 245, 212, 57, 29, u"", u""},
        {"frmMain", "Frame1", 32, 88, 361, 57, u"", u"Temperature"},
        {"frmMain", "txtL", 304, 104, 65, 27, u"MS Sans Serif 12", u""},
        {"frmMain", "txtT", 144, 104, 65, 27, u"MS Sans Serif 12", u""},
        {"frmMain", "Image2", 237, 104, 63, 27, u"", u""},
        {"frmMain", "Image1", 88, 104, 52, 27, u"", u""},
        {"frmMain", "cmdCalc", 72, 272, 97, 49, u"Garamond 12 bold", u"&Calculate Values"},
        {"frmMain", "Label3", 32, 168, 137, 17, u"Garamond 12 bold", u"Calculated Values:"},
        {"frmMain", "Label2", 32, 64, 97, 17, u"Garamond 12 bold", u"Input Values:"},
        {"frmMain", "Label1", 16, 16, 393, 33, u"Garamond 18 bold", u"Fractional Blackbody Emissive Power"},
        {"frmAbout", "cmdOK", 288, 256, 73, 41, u"Garamond 8.25 bold", u"&OK"},
        {"frmAbout", "Image1", 56, 144, 263, 97, u"", u""},
        {"frmAbout", "lblTheLabel", 16, 16, 345, 193, u"Garamond 12", u""},
    };
    for (const Row &row : rows) {
        INFO(row.name);
        const ui::layout::WindowDesign &design = row.window == std::string_view("frmMain") ? ui::mainLayout()
                                                                                          : ui::aboutLayout();
        const ui::layout::ControlDesign *control = ui::layout::find(design, row.name);
        REQUIRE(control);
        const ui::layout::Rect r = ui::layout::windowRect(design, *control);
        CHECK(pixels(r.left) == row.left);
        CHECK(pixels(r.top) == row.top);
        CHECK(pixels(r.width) == row.width);
        CHECK(pixels(r.height) == row.height);
        std::u16string font;
        if (control->font) {
            const double points = control->font->points;
            std::string number = std::to_string(points);
            number.erase(number.find_last_not_of('0') + 1);
            if (number.back() == '.')
                number.pop_back();
            font = std::u16string(control->font->face) + u" " + std::u16string(number.begin(), number.end())
                    + (control->font->bold ? u" bold" : u"");
        }
        CHECK(font == row.font);
        CHECK(control->caption == row.caption);
    }
    // The menus as shown: "-" is a separator, the shortcut follows a tab.
    std::vector<std::u16string> menus;
    for (const ui::layout::DropDown &dropDown : ui::layout::menuBar(ui::mainLayout())) {
        menus.push_back(std::u16string(dropDown.title->caption));
        for (const ui::layout::MenuLine &line : dropDown.lines)
            menus.push_back(u"  " + std::u16string(line.entry->caption)
                            + (line.shortcut.empty() ? u"" : u"\t" + line.shortcut));
    }
    CHECK(menus == std::vector<std::u16string>{u"&File", u"  Calculate Values\tCtrl+L", u"  Reset Form\tCtrl+R", u"  -",
                                               u"  E&xit\tCtrl+Q", u"&Help", u"  &Instructions\tCtrl+I", u"  -",
                                               u"  &About Pyrel.exe..."});
}
