#pragma once

#include "calc/calculation.h"
#include "ui/controls.h"

#include <cstdint>
#include <functional>
#include <string>

namespace runtime {
class Error;
}

namespace ui {

// The controls of the main window that can take the focus.
enum class Control { None, txtT, txtL, cmdCalc, cmdReset, cmdExit, Other };

struct MainControls {
    TextBox &txtT;
    TextBox &txtL;
    Label &lblLT;
    Label &lblF;
    FormWindow &window;
};

// The event procedures of the main window frmMain and its module variables
// (inherited from the calculation state, public like the window's own).
// It talks to the window only through the control interfaces, so it runs
// the same on real widgets and on the window model. The window layer calls
// the procedures through Run(), which presents any error they raise: a
// failed calculation never ends the program.
class MainForm : public calc::CalculationState {
public:
    MainForm(MainControls controls, Shell &shell);

    void Form_Load();
    void txtT_Change();
    void txtL_Change();
    void txtT_KeyPress(std::int16_t &KeyAscii);
    void txtL_KeyPress(std::int16_t &KeyAscii);
    void txtT_LostFocus();
    void txtL_LostFocus();
    void cmdCalc_Click();
    void mnuCalc_Click();
    void cmdReset_Click();
    void mnuReset_Click();
    void cmdExit_Click();
    void mnuExit_Click();
    void mnuInstructions_Click();
    void mnuAbout_Click();

    // Runs one event procedure; an error it raises becomes a message box
    // and, for an input that is at fault, the focus goes to that box.
    void Run(const std::function<void()> &procedure);

    // The window layer reports every focus move between two controls of
    // this window here; leaving an input box validates it. Moves made
    // while a validation or an error message is under way (the message box
    // taking the focus and the program handing it back) validate nothing.
    void FocusMoved(Control from, Control to);

    // The Instructions prompt, with lone carriage returns between paragraphs.
    static std::u16string InstructionsPrompt();

private:
    void validate(TextBox &box, std::u16string_view message);
    void present(const runtime::Error &error);
    void focusWithoutValidation(TextBox &box);

    MainControls m_controls;
    Shell &m_shell;
    bool m_busy = false;
};

} // namespace ui
