#pragma once

#include "calc/calculation.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/window_handle.h"

#include <cstdint>
#include <string>

namespace ui {

// The main window frmMain: its event procedures, its module variables
// (inherited from the calculation state, public like the window's own),
// and the routers through which a toolkit delivers every event. The routers
// decide which procedure an event reaches and run it through the one error
// dispatch, so a failed calculation never ends the program; the procedures
// reach the window only through the control interfaces.
class MainForm : public Form, public calc::CalculationState {
public:
    explicit MainForm(Forms &forms);

    // The window while it is loaded (null before and after).
    void attach(MainWindowHandle *window) { m_window = window; }

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

    // Routers (see Form). A button acts only if it holds the focus: the
    // focus moved to it first, validating the box it left, and a failed
    // validation handed the focus back to that box. The key procedures hear
    // Enter and the printable characters, no other control code. Leaving a
    // box for another control validates the box; moves while a validation
    // or an error message is under way (the message box taking the focus,
    // the program handing it back), and moves while the window is hidden or
    // coming back, validate nothing.
    void Click(Control control) override;
    void KeyPress(Control box, std::int16_t code) override;
    void textChanged(Control box) override;
    void menuChosen(MenuItem item) override;
    void focusMoved(Control from, Control to) override;
    void closeRequested() override;

    // The Instructions prompt, with lone carriage returns between paragraphs.
    static std::u16string instructionsPrompt();

protected:
    void present(const runtime::Error &error) override;

private:
    void validate(TextBox &box, std::u16string_view message);
    void focusWithoutValidation(TextBox &box);
    MainWindowHandle &window();

    MainWindowHandle *m_window = nullptr;
    bool m_busy = false;
};

} // namespace ui
