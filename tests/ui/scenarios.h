#pragma once

// User scenarios run unchanged against the window model and against the real
// Qt windows: what a user does, and what the windows then show.

#include <QString>
#include <QStringList>

#include <vector>

namespace scenarios {

// Actions, one per string:
//   "set TEXT"    select the whole text of the focused box and type TEXT
//                 ("set" alone empties it)
//   "type TEXT"   type TEXT at the end of the focused box
//   "enter", "space", "escape", "tab", "backtab"
//   "click NAME"  mouse click on txtT, txtL, cmdCalc, cmdReset or cmdExit
//   "alt C"       an access key (C, R or X)
//   "menu NAME"   calc, reset, exit (by their Ctrl shortcuts), instructions,
//                 about (through the Help menu)
//   "about-ok", "about-close", "close-main"
struct Expected {
    QString txtT = QStringLiteral("0");
    QString txtL = QStringLiteral("0");
    QString lblLT;
    QString lblF;
    QString focus = QStringLiteral("txtT");
    QStringList messages; // "title: prompt", in order
    bool ended = false;
    bool mainVisible = true;
    bool aboutVisible = false;
};

struct Scenario {
    const char *name;
    QStringList actions;
    Expected expected;
};

inline QString message(const char *text) { return QStringLiteral("Emberline: ") + QString::fromUtf8(text); }

inline const QString TemperatureNaN = message("The value for temperature must be a number.");
inline const QString WavelengthNaN = message("The value for wavelength must be a number.");

inline QString instructions()
{
    const QString cr(QChar(13));
    return QStringLiteral("Instructions: To find the fractional blackbody emissivity power at a certain "
                          "temperature and wavelength:")
            + cr + cr + QStringLiteral("1. Enter the temperature in the appropriate box.") + cr + cr
            + QStringLiteral("2. Enter the wavelength in the appropriate box.") + cr + cr
            + QStringLiteral("3. Click the Calculate Button.");
}

inline std::vector<Scenario> all()
{
    std::vector<Scenario> s;
    const auto add = [&s](const char *name, QStringList actions, const auto &edit) {
        Expected e;
        edit(e);
        s.push_back({name, std::move(actions), e});
    };
    const auto same = [](Expected &) {};

    add("start-up shows zeros, empty results, focus in txtT", {}, same);

    // Calculating and clearing
    add("Enter calculates in place, reading the texts as typed",
        {"set 5800", "tab", "set 1", "enter"}, [](Expected &e) {
            e.txtT = "5800"; e.txtL = "1"; e.lblLT = "5800"; e.lblF = "0.7201"; e.focus = "txtL";
        });
    add("Enter does not normalise: 5800.0 is calculated as typed",
        {"tab", "set 1", "backtab", "set 5800.0", "enter"}, [](Expected &e) {
            e.txtT = "5800.0"; e.txtL = "1"; e.lblLT = "5800"; e.lblF = "0.7201"; e.focus = "txtT";
        });
    add("a later Tab normalises 5800.0 and empties the results",
        {"tab", "set 1", "backtab", "set 5800.0", "enter", "tab"}, [](Expected &e) {
            e.txtT = "5800"; e.txtL = "1"; e.focus = "txtL";
        });
    add("typing empties both results",
        {"set 5800", "tab", "set 1", "enter", "type 0"}, [](Expected &e) {
            e.txtT = "5800"; e.txtL = "10"; e.focus = "txtL";
        });
    add("a validation that keeps the text keeps the results",
        {"set 5800", "tab", "set 1", "enter", "backtab"}, [](Expected &e) {
            e.txtT = "5800"; e.txtL = "1"; e.lblLT = "5800"; e.lblF = "0.7201"; e.focus = "txtT";
        });
    add("a click on Calculate validates first, then reads the normalised text",
        {"set 5800", "tab", "set 1.0", "click cmdCalc"}, [](Expected &e) {
            e.txtT = "5800"; e.txtL = "1"; e.lblLT = "5800"; e.lblF = "0.7201"; e.focus = "cmdCalc";
        });
    add("Alt+C validates first, then calculates",
        {"set 5800", "tab", "set .5", "alt C"}, [](Expected &e) {
            e.txtT = "5800"; e.txtL = "0.5"; e.lblLT = "2900"; e.lblF = "0.2506"; e.focus = "cmdCalc";
        });
    add("File > Calculate Values leaves the focus and the text",
        {"set 1000", "tab", "set 1.11", "menu calc"}, [](Expected &e) {
            e.txtT = "1000"; e.txtL = "1.11"; e.lblLT = "1110"; e.lblF = "0.0010"; e.focus = "txtL";
        });
    add("Enter on the focused Calculate button presses it",
        {"tab", "tab", "enter"}, [](Expected &e) {
            e.lblLT = "0"; e.lblF = "0.0000"; e.focus = "cmdCalc";
        });
    add("Space on the focused Calculate button presses it",
        {"set 300", "tab", "set 10", "tab", "space"}, [](Expected &e) {
            e.txtT = "300"; e.txtL = "10"; e.lblLT = "3000"; e.lblF = "0.2732"; e.focus = "cmdCalc";
        });
    add("a zero input with a text that is no number shows the zero results",
        {"set abc", "enter"}, [](Expected &e) {
            e.txtT = "abc"; e.lblLT = "0"; e.lblF = "0.0000";
        });

    // Validation on leaving a box
    add("0.50 then Tab becomes 0.5 and the focus moves on",
        {"set 0.50", "tab"}, [](Expected &e) { e.txtT = "0.5"; e.focus = "txtL"; });
    add("1e3 then Tab becomes 1000", {"set 1e3", "tab"}, [](Expected &e) { e.txtT = "1000"; e.focus = "txtL"; });
    add("the largest double is written so that it is accepted again",
        {"set 1.7976931348623157e308", "tab", "backtab", "tab"}, [](Expected &e) {
            e.txtT = "1.79769313486231E+308"; e.focus = "txtL";
        });
    add("-250 is accepted as it is", {"set -250", "tab"}, [](Expected &e) { e.txtT = "-250"; e.focus = "txtL"; });
    add("an empty txtT is refused and keeps the focus",
        {"set", "tab"}, [](Expected &e) { e.txtT = ""; e.messages = {TemperatureNaN}; });
    add("1E400 is refused, being beyond the double range",
        {"set 1E400", "tab"}, [](Expected &e) { e.txtT = "1E400"; e.messages = {TemperatureNaN}; });
    add("abc in txtL, then a click on txtT: the wavelength message, focus back",
        {"tab", "set abc", "click txtT"}, [](Expected &e) {
            e.txtL = "abc"; e.focus = "txtL"; e.messages = {WavelengthNaN};
        });
    add("Shift+Tab out of a bad box is refused too",
        {"set x", "backtab"}, [](Expected &e) { e.txtT = "x"; e.messages = {TemperatureNaN}; });
    add("0.0 then Tab becomes 0, so the calculation takes the zero case",
        {"set 0.0", "tab", "set 2", "click cmdCalc"}, [](Expected &e) {
            e.txtL = "2"; e.lblLT = "0"; e.lblF = "0.0000"; e.focus = "cmdCalc";
        });
    add("a click on Calculate that fails validation does not calculate",
        {"set 5800", "tab", "set 1", "enter", "backtab", "set abc", "click cmdCalc"}, [](Expected &e) {
            e.txtT = "abc"; e.txtL = "1"; e.messages = {TemperatureNaN};
        });
    add("Alt+C that fails validation shows one message only",
        {"set abc", "alt C"}, [](Expected &e) { e.txtT = "abc"; e.messages = {TemperatureNaN}; });
    add("a click on Exit that fails validation does not end",
        {"set abc", "click cmdExit"}, [](Expected &e) { e.txtT = "abc"; e.messages = {TemperatureNaN}; });
    add("Alt+X that fails validation does not end",
        {"tab", "set q", "alt X"}, [](Expected &e) { e.txtL = "q"; e.focus = "txtL"; e.messages = {WavelengthNaN}; });
    add("a click on Reset validates first",
        {"set 7.50", "click cmdReset"}, [](Expected &e) { e.focus = "cmdReset"; });

    // A calculation that fails
    add("Enter with a wavelength that is no number: its message, focus to it",
        {"set 5800", "tab", "set abc", "enter"}, [](Expected &e) {
            e.txtT = "5800"; e.txtL = "abc"; e.focus = "txtL"; e.messages = {WavelengthNaN};
        });
    add("Enter with a temperature that is no number: its message",
        {"tab", "set 1", "backtab", "set 58OO", "enter"}, [](Expected &e) {
            e.txtT = "58OO"; e.txtL = "1"; e.messages = {TemperatureNaN};
        });
    add("File > Calculate with a wavelength that is no number: its message",
        {"set 1000", "tab", "set x", "menu calc"}, [](Expected &e) {
            e.txtT = "1000"; e.txtL = "x"; e.focus = "txtL"; e.messages = {WavelengthNaN};
        });
    add("a negative wavelength is refused",
        {"set 1000", "tab", "set -100", "enter"}, [](Expected &e) {
            e.txtT = "1000"; e.txtL = "-100"; e.focus = "txtL";
            e.messages = {message("The value for wavelength must not be negative.")};
        });
    add("a negative temperature is refused and takes the focus without validating the wavelength",
        {"set -5800", "tab", "set 1.0", "enter"}, [](Expected &e) {
            e.txtT = "-5800"; e.txtL = "1.0"; e.focus = "txtT";
            e.messages = {message("The value for temperature must not be negative.")};
        });
    add("0.0 by Enter divides by zero; the focus stays",
        {"tab", "set 1", "backtab", "set 0.0", "enter"}, [](Expected &e) {
            e.txtT = "0.0"; e.txtL = "1"; e.messages = {message("The calculation failed: division by zero.")};
        });
    add("lambda T 1e-300 overflows; the focus stays",
        {"set 1", "tab", "set 1e-300", "enter"}, [](Expected &e) {
            e.txtT = "1"; e.txtL = "1e-300"; e.focus = "txtL";
            e.messages = {message("The calculation failed: overflow.")};
        });

    // Reset, Instructions, Exit
    add("File > Reset Form with abc in a box: no message, zeros back",
        {"set abc", "menu reset"}, same);
    add("Reset button after a calculation: zeros, empty results, focus on Reset",
        {"set 5800", "tab", "set 1", "enter", "click cmdReset"}, [](Expected &e) { e.focus = "cmdReset"; });
    add("Alt+R resets", {"set 5", "tab", "set 3", "alt R"}, [](Expected &e) { e.focus = "cmdReset"; });
    add("Help > Instructions shows the prompt and changes nothing",
        {"set 5800", "menu instructions"}, [](Expected &e) { e.txtT = "5800"; e.messages = {instructions()}; });
    add("File > Exit with abc ends without a message",
        {"set abc", "menu exit"}, [](Expected &e) { e.txtT = "abc"; e.ended = true; });
    add("Exit by Alt+X ends", {"alt X"}, [](Expected &e) { e.ended = true; e.focus = "cmdExit"; });
    add("the close box with abc ends without a message",
        {"set abc", "close-main"}, [](Expected &e) { e.txtT = "abc"; e.ended = true; e.mainVisible = false; });

    // Focus
    add("four Tabs reach Exit", {"tab", "tab", "tab", "tab"}, [](Expected &e) { e.focus = "cmdExit"; });
    add("a fifth Tab returns to txtT", {"tab", "tab", "tab", "tab", "tab"}, same);
    add("Shift+Tab from txtT goes to Exit", {"backtab"}, [](Expected &e) { e.focus = "cmdExit"; });
    add("Escape does nothing", {"escape", "tab", "tab", "escape"}, [](Expected &e) { e.focus = "cmdCalc"; });

    // About
    add("Help > About hides the main window and shows About",
        {"set 5800", "menu about"}, [](Expected &e) {
            e.txtT = "5800"; e.mainVisible = false; e.aboutVisible = true;
        });
    add("OK on About brings the main window back as it was",
        {"set 5800", "tab", "set 1", "enter", "menu about", "about-ok"}, [](Expected &e) {
            e.txtT = "5800"; e.txtL = "1"; e.lblLT = "5800"; e.lblF = "0.7201"; e.focus = "txtL";
        });
    add("the About close box does the same as OK, even with bad texts",
        {"set abc", "menu about", "about-close"}, [](Expected &e) { e.txtT = "abc"; });
    add("About twice in a row",
        {"menu about", "about-ok", "menu about", "about-close", "tab"}, [](Expected &e) { e.focus = "txtL"; });
    return s;
}

} // namespace scenarios
