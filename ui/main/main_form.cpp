#include "ui/main/main_form.h"

#include "runtime/conversion.h"
#include "runtime/error.h"
#include "runtime/fault_test.h"

namespace ui {

namespace {

constexpr std::u16string_view TemperatureMessage = u"The value for temperature must be a number.";
constexpr std::u16string_view WavelengthMessage = u"The value for wavelength must be a number.";

// Sets a flag for the life of a scope and restores what it held before.
class FlagScope {
public:
    explicit FlagScope(bool &flag) : m_flag(flag), m_saved(flag) { m_flag = true; }
    ~FlagScope() { m_flag = m_saved; }
    FlagScope(const FlagScope &) = delete;
    FlagScope &operator=(const FlagScope &) = delete;

private:
    bool &m_flag;
    bool m_saved;
};

} // namespace

MainForm::MainForm(MainControls controls, Shell &shell)
    : m_controls(controls), m_shell(shell)
{
}

void MainForm::Form_Load()
{
    C2 = 14387.96;
    PI = 3.14159265359;
    m_controls.txtT.setText(u"0");
    m_controls.txtL.setText(u"0");
    m_controls.lblLT.setCaption(u"");
    m_controls.lblF.setCaption(u"");
}

void MainForm::txtT_Change()
{
    m_controls.lblLT.setCaption(u"");
    m_controls.lblF.setCaption(u"");
}

void MainForm::txtL_Change()
{
    txtT_Change();
}

void MainForm::txtT_KeyPress(std::int16_t &KeyAscii)
{
    if (KeyAscii == 13)
        cmdCalc_Click();
}

void MainForm::txtL_KeyPress(std::int16_t &KeyAscii)
{
    txtT_KeyPress(KeyAscii);
}

void MainForm::txtT_LostFocus()
{
    validate(m_controls.txtT, TemperatureMessage);
}

void MainForm::txtL_LostFocus()
{
    validate(m_controls.txtL, WavelengthMessage);
}

void MainForm::validate(TextBox &box, std::u16string_view message)
{
    try {
        const std::u16string text = box.text();
        runtime::ClearFaults();
        const double value = runtime::TextToDouble(text);
        const double normalised = runtime::Checked(runtime::Fresh(value) / 1.0);
        box.setText(runtime::DoubleToText(normalised));
    } catch (const runtime::Error &) {
        m_shell.MsgBox(message);
        focusWithoutValidation(box);
    }
}

void MainForm::cmdCalc_Click()
{
    const std::u16string temperature = m_controls.txtT.text();
    const std::u16string wavelength = m_controls.txtL.text();
    const calc::ResultTexts texts = calc::CalculateValues(*this, temperature, wavelength);
    m_controls.lblF.setCaption(texts.fraction);
    m_controls.lblLT.setCaption(texts.product);
}

void MainForm::mnuCalc_Click()
{
    cmdCalc_Click();
}

void MainForm::cmdReset_Click()
{
    Form_Load();
}

void MainForm::mnuReset_Click()
{
    cmdReset_Click();
}

void MainForm::cmdExit_Click()
{
    m_shell.End();
}

void MainForm::mnuExit_Click()
{
    cmdExit_Click();
}

std::u16string MainForm::InstructionsPrompt()
{
    const std::u16string CR(1, runtime::CarriageReturn);
    return u"To find the fractional blackbody emissivity power at a certain temperature and wavelength:"
            + CR + CR + u"1. Enter the temperature in the appropriate box."
            + CR + CR + u"2. Enter the wavelength in the appropriate box."
            + CR + CR + u"3. Click the Calculate Button.";
}

void MainForm::mnuInstructions_Click()
{
    m_shell.MsgBox(InstructionsPrompt(), u"Instructions");
}

void MainForm::mnuAbout_Click()
{
    m_controls.window.hide();
    m_shell.ShowForm(FormId::About);
}

void MainForm::Run(const std::function<void()> &procedure)
{
    try {
        procedure();
    } catch (const runtime::Error &error) {
        present(error);
    }
}

void MainForm::FocusMoved(Control from, Control to)
{
    if (m_busy || to == Control::None || to == from)
        return;
    FlagScope busy(m_busy);
    if (from == Control::txtT)
        Run([this] { txtT_LostFocus(); });
    else if (from == Control::txtL)
        Run([this] { txtL_LostFocus(); });
}

void MainForm::focusWithoutValidation(TextBox &box)
{
    FlagScope busy(m_busy);
    box.setFocus();
}

void MainForm::present(const runtime::Error &error)
{
    using runtime::ErrorKind;
    using runtime::Input;

    FlagScope busy(m_busy);
    TextBox *box = nullptr;
    if (error.input() == Input::Temperature)
        box = &m_controls.txtT;
    else if (error.input() == Input::Wavelength)
        box = &m_controls.txtL;

    if (box && error.kind() == ErrorKind::NegativeInput) {
        m_shell.MsgBox(box == &m_controls.txtT ? u"The value for temperature must not be negative."
                                                : u"The value for wavelength must not be negative.");
    } else if (box) {
        // The text does not convert: the same message as when the box
        // loses the focus.
        m_shell.MsgBox(box == &m_controls.txtT ? TemperatureMessage : WavelengthMessage);
    } else {
        const char *what = runtime::describe(error.kind());
        m_shell.MsgBox(u"The calculation failed: " + std::u16string(what, what + std::char_traits<char>::length(what)) + u".");
    }
    if (box)
        box->setFocus();
}

} // namespace ui
