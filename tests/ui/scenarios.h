#pragma once

// User scenarios run unchanged against the window model and against the real
// windows of each toolkit: what a user does, and what the windows then show.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace scenarios {

// Actions, one per string; keys go to the focused control of the window
// shown:
//   "set TEXT"    Ctrl+A, then TEXT typed ("set" alone: Ctrl+A, Delete)
//   "type TEXT"   End, then TEXT typed
//   "keys TEXT"   TEXT typed where the caret is, over the selection
//   "paste TEXT"  TEXT pasted from the clipboard (Ctrl+V)
//   "select-all"  Ctrl+A in the focused box: selects its whole text, which
//                 is no edit (the results stay)
//   "home", "end", "backspace", "delete"
//   "enter", "space", "escape", "tab", "backtab"
//   "ctrl-enter", "alt-enter"  Enter with Ctrl or Alt held
//   "click NAME"  mouse click on txtT, txtL, cmdCalc, cmdReset or cmdExit,
//                 or on the window's face beside them ("click face"); on a
//                 box, at the right end of its text
//   "dblclick NAME" a double click on txtT or txtL
//   "alt C"       an access key: C, R or X, or O (About's OK)
//   "menu NAME"   from the keyboard: calc, reset, exit by their Ctrl
//                 shortcuts, instructions and about through Alt+H
//   "menu-click NAME" the same entry by mouse, through its menu
//   "about-ok", "about-close", "close-main"
//   "answer HOW"  from this action on, every message box that appears is
//                 answered by HOW: "enter" (Enter on OK), "space" (Space on
//                 OK), "escape", or "click" (a mouse click on OK). Until then
//                 a driver answers with OK in its own way. Each closes the box
//                 alike; a driver really answers that way, so that a key or
//                 a click that leaves the focus or the keyboard somewhere else
//                 fails the row.

// The ways of "answer", in the order the rows below go through them.
inline constexpr std::u16string_view AnswerWays[] = {u"enter", u"space", u"escape", u"click"};

struct Expected {
    std::u16string txtT = u"0";
    std::u16string txtL = u"0";
    std::u16string lblLT;
    std::u16string lblF;
    std::u16string focus = u"txtT";
    std::vector<std::u16string> messages; // "title: prompt", in order
    bool ended = false;
    bool mainVisible = true;
    bool aboutVisible = false;
};

struct Scenario {
    std::string name;
    std::vector<std::u16string> actions;
    Expected expected;
};

inline std::u16string message(std::u16string_view text) { return u"Emberline: " + std::u16string(text); }

inline const std::u16string TemperatureNaN = message(u"The value for temperature must be a number.");
inline const std::u16string WavelengthNaN = message(u"The value for wavelength must be a number.");

inline std::u16string instructions()
{
    const std::u16string cr(1, u'\r');
    return u"Instructions: To find the fractional blackbody emissivity power at a certain "
           u"temperature and wavelength:"
            + cr + cr + u"1. Enter the temperature in the appropriate box." + cr + cr
            + u"2. Enter the wavelength in the appropriate box." + cr + cr
            + u"3. Click the Calculate Button.";
}

// The verb of an action and what follows it ("set 58" gives "set", "58").
inline std::pair<std::u16string, std::u16string> split(const std::u16string &action)
{
    const std::size_t space = action.find(u' ');
    if (space == std::u16string::npos)
        return {action, {}};
    return {action.substr(0, space), action.substr(space + 1)};
}

inline std::vector<Scenario> all()
{
    std::vector<Scenario> s;
    const auto add = [&s](std::string name, std::vector<std::u16string> actions, const auto &edit) {
        Expected e;
        edit(e);
        s.push_back({std::move(name), std::move(actions), e});
    };
    const auto same = [](Expected &) {};

    add("start-up shows zeros, empty results, focus in txtT", {}, same);

    // Selections and carets
    add("at start-up txtT's text is selected: typing replaces it",
        {u"keys 5800"}, [](Expected &e) { e.txtT = u"5800"; });
    add("Tab and Shift+Tab select the text of the box they reach",
        {u"tab", u"keys 3", u"backtab", u"keys 7"}, [](Expected &e) { e.txtT = u"7"; e.txtL = u"3"; });
    add("the return from About keeps the selection",
        {u"menu about", u"about-ok", u"keys 9"}, [](Expected &e) { e.txtT = u"9"; });
    add("a refused box keeps its selection: typing replaces it",
        {u"tab", u"set abc", u"select-all", u"backtab", u"keys 1"}, [](Expected &e) {
            e.txtL = u"1"; e.focus = u"txtL"; e.messages = {WavelengthNaN};
        });
    add("Reset leaves the caret after the 0 in the focused box",
        {u"set 5", u"menu reset", u"keys 7"}, [](Expected &e) { e.txtT = u"07"; });
    add("Home, Delete, End, Backspace and a paste edit at the caret",
        {u"set 5800", u"home", u"delete", u"keys 6", u"end", u"backspace", u"paste 1"},
        [](Expected &e) { e.txtT = u"6801"; });
    add("a click on the window's face moves nothing",
        {u"set 5", u"click face", u"keys 1"}, [](Expected &e) { e.txtT = u"51"; });

    // Calculating and clearing
    add("Enter calculates in place, reading the texts as typed",
        {u"set 5800", u"tab", u"set 1", u"enter"}, [](Expected &e) {
            e.txtT = u"5800"; e.txtL = u"1"; e.lblLT = u"5800"; e.lblF = u"0.7201"; e.focus = u"txtL";
        });
    add("Enter does not normalise: 5800.0 is calculated as typed",
        {u"tab", u"set 1", u"backtab", u"set 5800.0", u"enter"}, [](Expected &e) {
            e.txtT = u"5800.0"; e.txtL = u"1"; e.lblLT = u"5800"; e.lblF = u"0.7201"; e.focus = u"txtT";
        });
    add("a later Tab normalises 5800.0 and empties the results",
        {u"tab", u"set 1", u"backtab", u"set 5800.0", u"enter", u"tab"}, [](Expected &e) {
            e.txtT = u"5800"; e.txtL = u"1"; e.focus = u"txtL";
        });
    add("typing empties both results",
        {u"set 5800", u"tab", u"set 1", u"enter", u"type 0"}, [](Expected &e) {
            e.txtT = u"5800"; e.txtL = u"10"; e.focus = u"txtL";
        });
    add("typing a character over the same one selected is an edit and empties the results",
        {u"set 5800", u"tab", u"set 1", u"enter", u"set 1"}, [](Expected &e) {
            e.txtT = u"5800"; e.txtL = u"1"; e.focus = u"txtL";
        });
    add("Ctrl+A in either box selects without an edit: texts and results stay",
        {u"set 5800", u"tab", u"set 1", u"enter", u"select-all", u"backtab", u"select-all"}, [](Expected &e) {
            e.txtT = u"5800"; e.txtL = u"1"; e.lblLT = u"5800"; e.lblF = u"0.7201"; e.focus = u"txtT";
        });
    // The click leaves the caret in the text with nothing selected.
    add("typing after Ctrl+A replaces the whole text and empties the results",
        {u"set 5800", u"tab", u"set 1", u"enter", u"click txtT", u"select-all", u"keys 6000"}, [](Expected &e) {
            e.txtT = u"6000"; e.txtL = u"1"; e.focus = u"txtT";
        });
    add("a validation that keeps the text keeps the results",
        {u"set 5800", u"tab", u"set 1", u"enter", u"backtab"}, [](Expected &e) {
            e.txtT = u"5800"; e.txtL = u"1"; e.lblLT = u"5800"; e.lblF = u"0.7201"; e.focus = u"txtT";
        });
    add("a click on Calculate validates first, then reads the normalised text",
        {u"set 5800", u"tab", u"set 1.0", u"click cmdCalc"}, [](Expected &e) {
            e.txtT = u"5800"; e.txtL = u"1"; e.lblLT = u"5800"; e.lblF = u"0.7201"; e.focus = u"cmdCalc";
        });
    add("Alt+C validates first, then calculates",
        {u"set 5800", u"tab", u"set .5", u"alt C"}, [](Expected &e) {
            e.txtT = u"5800"; e.txtL = u"0.5"; e.lblLT = u"2900"; e.lblF = u"0.2506"; e.focus = u"cmdCalc";
        });
    add("File > Calculate Values leaves the focus and the text",
        {u"set 1000", u"tab", u"set 1.11", u"menu calc"}, [](Expected &e) {
            e.txtT = u"1000"; e.txtL = u"1.11"; e.lblLT = u"1110"; e.lblF = u"0.0010"; e.focus = u"txtL";
        });
    add("Enter with Ctrl or Alt held calculates nothing",
        {u"set 5800", u"tab", u"set 1", u"ctrl-enter", u"alt-enter"}, [](Expected &e) {
            e.txtT = u"5800"; e.txtL = u"1"; e.focus = u"txtL";
        });
    add("Enter on the focused Calculate button presses it",
        {u"tab", u"tab", u"enter"}, [](Expected &e) {
            e.lblLT = u"0"; e.lblF = u"0.0000"; e.focus = u"cmdCalc";
        });
    add("Space on the focused Calculate button presses it",
        {u"set 300", u"tab", u"set 10", u"tab", u"space"}, [](Expected &e) {
            e.txtT = u"300"; e.txtL = u"10"; e.lblLT = u"3000"; e.lblF = u"0.2732"; e.focus = u"cmdCalc";
        });
    add("a zero input with a text that is no number shows the zero results",
        {u"set abc", u"enter"}, [](Expected &e) {
            e.txtT = u"abc"; e.lblLT = u"0"; e.lblF = u"0.0000";
        });

    // Validation on leaving a box
    add("0.50 then Tab becomes 0.5 and the focus moves on",
        {u"set 0.50", u"tab"}, [](Expected &e) { e.txtT = u"0.5"; e.focus = u"txtL"; });
    add("1e3 then Tab becomes 1000", {u"set 1e3", u"tab"}, [](Expected &e) { e.txtT = u"1000"; e.focus = u"txtL"; });
    add("the largest double is written so that it is accepted again",
        {u"set 1.7976931348623157e308", u"tab", u"backtab", u"tab"}, [](Expected &e) {
            e.txtT = u"1.79769313486231E+308"; e.focus = u"txtL";
        });
    add("-250 is accepted as it is", {u"set -250", u"tab"}, [](Expected &e) { e.txtT = u"-250"; e.focus = u"txtL"; });
    add("an empty txtT is refused and keeps the focus",
        {u"set", u"tab"}, [](Expected &e) { e.txtT = u""; e.messages = {TemperatureNaN}; });
    add("1E400 is refused, being beyond the double range",
        {u"set 1E400", u"tab"}, [](Expected &e) { e.txtT = u"1E400"; e.messages = {TemperatureNaN}; });
    add("abc in txtL, then a click on txtT: the wavelength message, focus back",
        {u"tab", u"set abc", u"click txtT"}, [](Expected &e) {
            e.txtL = u"abc"; e.focus = u"txtL"; e.messages = {WavelengthNaN};
        });
    add("Shift+Tab out of a bad box is refused too",
        {u"set x", u"backtab"}, [](Expected &e) { e.txtT = u"x"; e.messages = {TemperatureNaN}; });
    add("0.0 then Tab becomes 0, so the calculation takes the zero case",
        {u"set 0.0", u"tab", u"set 2", u"click cmdCalc"}, [](Expected &e) {
            e.txtL = u"2"; e.lblLT = u"0"; e.lblF = u"0.0000"; e.focus = u"cmdCalc";
        });
    add("a click on Calculate that fails validation does not calculate",
        {u"set 5800", u"tab", u"set 1", u"enter", u"backtab", u"set abc", u"click cmdCalc"}, [](Expected &e) {
            e.txtT = u"abc"; e.txtL = u"1"; e.messages = {TemperatureNaN};
        });
    add("Alt+C that fails validation shows one message only",
        {u"set abc", u"alt C"}, [](Expected &e) { e.txtT = u"abc"; e.messages = {TemperatureNaN}; });
    add("a click on Exit that fails validation does not end",
        {u"set abc", u"click cmdExit"}, [](Expected &e) { e.txtT = u"abc"; e.messages = {TemperatureNaN}; });
    add("Alt+X that fails validation does not end",
        {u"tab", u"set q", u"alt X"}, [](Expected &e) { e.txtL = u"q"; e.focus = u"txtL"; e.messages = {WavelengthNaN}; });
    add("a click on Reset validates first",
        {u"set 7.50", u"click cmdReset"}, [](Expected &e) { e.focus = u"cmdReset"; });

    // A calculation that fails
    add("Enter with a wavelength that is no number: its message, focus to it",
        {u"set 5800", u"tab", u"set abc", u"enter"}, [](Expected &e) {
            e.txtT = u"5800"; e.txtL = u"abc"; e.focus = u"txtL"; e.messages = {WavelengthNaN};
        });
    add("Enter with a temperature that is no number: its message",
        {u"tab", u"set 1", u"backtab", u"set 58OO", u"enter"}, [](Expected &e) {
            e.txtT = u"58OO"; e.txtL = u"1"; e.messages = {TemperatureNaN};
        });
    add("File > Calculate with a wavelength that is no number: its message",
        {u"set 1000", u"tab", u"set x", u"menu calc"}, [](Expected &e) {
            e.txtT = u"1000"; e.txtL = u"x"; e.focus = u"txtL"; e.messages = {WavelengthNaN};
        });
    add("a negative wavelength is refused",
        {u"set 1000", u"tab", u"set -100", u"enter"}, [](Expected &e) {
            e.txtT = u"1000"; e.txtL = u"-100"; e.focus = u"txtL";
            e.messages = {message(u"The value for wavelength must not be negative.")};
        });
    add("a negative temperature is refused and takes the focus without validating the wavelength",
        {u"set -5800", u"tab", u"set 1.0", u"enter"}, [](Expected &e) {
            e.txtT = u"-5800"; e.txtL = u"1.0"; e.focus = u"txtT";
            e.messages = {message(u"The value for temperature must not be negative.")};
        });
    add("0.0 by Enter divides by zero; the focus stays",
        {u"tab", u"set 1", u"backtab", u"set 0.0", u"enter"}, [](Expected &e) {
            e.txtT = u"0.0"; e.txtL = u"1"; e.messages = {message(u"The calculation failed: division by zero.")};
        });
    add("lambda T 1e-300 overflows; the focus stays",
        {u"set 1", u"tab", u"set 1e-300", u"enter"}, [](Expected &e) {
            e.txtT = u"1"; e.txtL = u"1e-300"; e.focus = u"txtL";
            e.messages = {message(u"The calculation failed: overflow.")};
        });

    // Each way of closing a message box leaves the keyboard in the box the
    // program gave the focus to: the typing that follows lands there.
    const std::u16string divisionByZero = message(u"The calculation failed: division by zero.");
    for (const std::u16string_view how : AnswerWays) {
        const std::u16string answer = u"answer " + std::u16string(how);
        const std::string by = " closed by " + std::string(how.begin(), how.end());
        add("a refused wavelength" + by + ": typing goes on in txtL",
            {answer, u"tab", u"set x", u"tab", u"type 77"}, [](Expected &e) {
                e.txtL = u"x77"; e.focus = u"txtL"; e.messages = {WavelengthNaN};
            });
        add("a division by zero from Enter in txtL" + by + ": set replaces txtL",
            {answer, u"set 5800", u"tab", u"set 0.0", u"enter", u"set 77"}, [&](Expected &e) {
                e.txtT = u"5800"; e.txtL = u"77"; e.focus = u"txtL"; e.messages = {divisionByZero};
            });
        add("Help > Instructions from txtL" + by + ": set replaces txtL",
            {answer, u"tab", u"set 5", u"menu instructions", u"set 77"}, [](Expected &e) {
                e.txtL = u"77"; e.focus = u"txtL"; e.messages = {instructions()};
            });
    }
    add("each box answered the way chosen last, the typing then where the program left the focus",
        {u"answer escape", u"set x", u"tab", u"answer click", u"set 5800", u"tab", u"set 0.0", u"enter",
         u"answer space", u"backtab", u"menu instructions", u"type 1"},
        [&](Expected &e) {
            e.txtT = u"58001"; e.txtL = u"0"; e.messages = {TemperatureNaN, divisionByZero, instructions()};
        });

    // Found by the seeded monkey on the Qt windows
    add("Enter with Alt held presses no focused button, in either window",
        {u"tab", u"tab", u"alt-enter", u"menu about", u"alt-enter"}, [](Expected &e) {
            e.focus = u"cmdCalc"; e.mainVisible = false; e.aboutVisible = true;
        });

    // Reset, Instructions, Exit
    add("File > Reset Form with abc in a box: no message, zeros back",
        {u"set abc", u"menu reset"}, same);
    add("Reset button after a calculation: zeros, empty results, focus on Reset",
        {u"set 5800", u"tab", u"set 1", u"enter", u"click cmdReset"}, [](Expected &e) { e.focus = u"cmdReset"; });
    add("Alt+R resets", {u"set 5", u"tab", u"set 3", u"alt R"}, [](Expected &e) { e.focus = u"cmdReset"; });
    add("Help > Instructions shows the prompt and changes nothing",
        {u"set 5800", u"menu instructions"}, [](Expected &e) { e.txtT = u"5800"; e.messages = {instructions()}; });
    add("File > Exit with abc ends without a message",
        {u"set abc", u"menu exit"}, [](Expected &e) { e.txtT = u"abc"; e.ended = true; });
    add("Exit by Alt+X ends", {u"alt X"}, [](Expected &e) { e.ended = true; e.focus = u"cmdExit"; });
    add("the close box with abc ends without a message",
        {u"set abc", u"close-main"}, [](Expected &e) { e.txtT = u"abc"; e.ended = true; e.mainVisible = false; });

    // Keys and clicks that a control must not take for more than they are
    add("a letter typed on a focused button does nothing: only Alt with it is an access key",
        {u"tab", u"tab", u"keys rx"}, [](Expected &e) { e.focus = u"cmdCalc"; });
    add("letters typed in About do nothing: only Alt+O is its access key",
        {u"menu about", u"keys ox"}, [](Expected &e) { e.mainVisible = false; e.aboutVisible = true; });
    add("Enter with Ctrl held presses no focused button, in either window",
        {u"tab", u"tab", u"ctrl-enter", u"menu about", u"ctrl-enter"}, [](Expected &e) {
            e.focus = u"cmdCalc"; e.mainVisible = false; e.aboutVisible = true;
        });
    add("a click refused by the box being left keeps the clicked box's caret",
        {u"tab", u"set -5", u"home", u"backtab", u"set abc", u"click txtL", u"set 100", u"enter", u"keys 9"},
        [](Expected &e) {
            e.txtT = u"100"; e.txtL = u"9-5"; e.focus = u"txtL";
            e.messages = {TemperatureNaN, message(u"The value for wavelength must not be negative.")};
        });
    add("each click of a double click on a box asks for the focus: refused twice",
        {u"set abc", u"dblclick txtL", u"keys 1"}, [](Expected &e) {
            e.txtT = u"abc1"; e.messages = {TemperatureNaN, TemperatureNaN};
        });

    // Focus
    add("four Tabs reach Exit", {u"tab", u"tab", u"tab", u"tab"}, [](Expected &e) { e.focus = u"cmdExit"; });
    add("a fifth Tab returns to txtT", {u"tab", u"tab", u"tab", u"tab", u"tab"}, same);
    add("Shift+Tab from txtT goes to Exit", {u"backtab"}, [](Expected &e) { e.focus = u"cmdExit"; });
    add("Escape does nothing", {u"escape", u"tab", u"tab", u"escape"}, [](Expected &e) { e.focus = u"cmdCalc"; });

    add("a message box closed by a click gives the box its caret back: typing goes on at the end",
        {u"answer click", u"set 5800", u"tab", u"set x", u"enter", u"keys 7"}, [](Expected &e) {
            e.txtT = u"5800"; e.txtL = u"x7"; e.focus = u"txtL"; e.messages = {WavelengthNaN};
        });
    add("Shift+Tab after two clicks on Calculate goes back to txtL",
        {u"click cmdCalc", u"click cmdCalc", u"backtab", u"keys 2"}, [](Expected &e) {
            e.txtL = u"2"; e.focus = u"txtL";
        });

    // About
    add("Help > About hides the main window and shows About",
        {u"set 5800", u"menu about"}, [](Expected &e) {
            e.txtT = u"5800"; e.mainVisible = false; e.aboutVisible = true;
        });
    add("OK on About brings the main window back as it was",
        {u"set 5800", u"tab", u"set 1", u"enter", u"menu about", u"about-ok"}, [](Expected &e) {
            e.txtT = u"5800"; e.txtL = u"1"; e.lblLT = u"5800"; e.lblF = u"0.7201"; e.focus = u"txtL";
        });
    add("the About close box does the same as OK, even with bad texts",
        {u"set abc", u"menu about", u"about-close"}, [](Expected &e) { e.txtT = u"abc"; });
    add("About by mouse, closed by Enter on OK", {u"set 5", u"menu-click about", u"enter"},
        [](Expected &e) { e.txtT = u"5"; });
    add("About closed by Alt+O; Alt+O in the main window does nothing", {u"menu about", u"alt O", u"alt O", u"keys 2"},
        [](Expected &e) { e.txtT = u"2"; });
    add("About closed by Space; the menu by mouse calculates",
        {u"set 1000", u"tab", u"set 1.11", u"menu about", u"space", u"menu-click calc"}, [](Expected &e) {
            e.txtT = u"1000"; e.txtL = u"1.11"; e.lblLT = u"1110"; e.lblF = u"0.0010"; e.focus = u"txtL";
        });
    add("the main window's shortcuts pressed in About do nothing to it",
        {u"set 5800", u"tab", u"set 1", u"menu about", u"menu calc", u"menu reset", u"menu exit", u"about-ok"},
        [](Expected &e) { e.txtT = u"5800"; e.txtL = u"1"; e.focus = u"txtL"; });
    add("About twice in a row",
        {u"menu about", u"about-ok", u"menu about", u"about-close", u"tab"}, [](Expected &e) { e.focus = u"txtL"; });
    return s;
}

} // namespace scenarios
