#include "ui/main/main_form.h"

#include "runtime/conversion.h"
#include "runtime/error.h"
#include "runtime/fault_test.h"
#include "ui/forms.h"

#include <cassert>

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

MainForm::MainForm(Forms &forms) : Form(forms)
{
}

MainWindowHandle &MainForm::window()
{
    assert(m_window && "a procedure of frmMain ran while it was not loaded");
    return *m_window;
}

void MainForm::Form_Load()
{
    C2 = 14387.96;
    PI = 3.14159265359;
    window().txtT().setText(u"0");
    window().txtL().setText(u"0");
    window().lblLT().setCaption(u"");
    window().lblF().setCaption(u"");
}

void MainForm::txtT_Change()
{
    window().lblLT().setCaption(u"");
    window().lblF().setCaption(u"");
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
    validate(window().txtT(), TemperatureMessage);
}

void MainForm::txtL_LostFocus()
{
    validate(window().txtL(), WavelengthMessage);
}

void MainForm::validate(TextBox &box, std::u16string_view message)
{
    try {
        const std::u16string text = box.text();
        const double value = runtime::TextToDouble(text);
        runtime::FaultTest faults;
        const double normalised = faults.divide(value, 1.0);
        faults.test();
        box.setText(runtime::DoubleToText(normalised));
    } catch (const runtime::Error &) {
        m_forms.MsgBox(message);
        focusWithoutValidation(box);
    }
}

void MainForm::cmdCalc_Click()
{
    const std::u16string temperature = window().txtT().text();
    const std::u16string wavelength = window().txtL().text();
    const calc::ResultTexts texts = calc::CalculateValues(*this, temperature, wavelength);
    window().lblF().setCaption(texts.fraction);
    window().lblLT().setCaption(texts.product);
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
    m_forms.End();
}

void MainForm::mnuExit_Click()
{
    cmdExit_Click();
}

std::u16string MainForm::instructionsPrompt()
{
    const std::u16string CR(1, runtime::CarriageReturn);
    return u"To find the fractional blackbody emissivity power at a certain temperature and wavelength:"
            + CR + CR + u"1. Enter the temperature in the appropriate box."
            + CR + CR + u"2. Enter the wavelength in the appropriate box."
            + CR + CR + u"3. Click the Calculate Button.";
}

void MainForm::mnuInstructions_Click()
{
    m_forms.MsgBox(instructionsPrompt(), u"Instructions");
}

void MainForm::mnuAbout_Click()
{
    m_forms.Hide(FormId::Main);
    m_forms.Show(FormId::About);
}

void MainForm::Click(Control control)
{
    if (!m_window || m_window->focused() != control)
        return;
    switch (control) {
    case Control::cmdCalc:
        run([this] { cmdCalc_Click(); });
        break;
    case Control::cmdReset:
        run([this] { cmdReset_Click(); });
        break;
    case Control::cmdExit:
        run([this] { cmdExit_Click(); });
        break;
    default:
        break;
    }
}

void MainForm::KeyPress(Control box, std::int16_t code)
{
    // A box's key procedure hears the characters a box takes, and Enter;
    // the toolkits report other control codes too (Escape, Backspace,
    // Ctrl+letter), which no procedure has anything to do with. The key
    // procedures act on 13 alone, so this changes nothing they do today: it
    // keeps what they hear the same on every toolkit.
    if ((code < 32 && code != 13) || code == 127)
        return;
    if (box == Control::txtT)
        run([this, code]() mutable { txtT_KeyPress(code); });
    else if (box == Control::txtL)
        run([this, code]() mutable { txtL_KeyPress(code); });
}

void MainForm::textChanged(Control box)
{
    if (box == Control::txtT)
        run([this] { txtT_Change(); });
    else if (box == Control::txtL)
        run([this] { txtL_Change(); });
}

void MainForm::menuChosen(MenuItem item)
{
    switch (item) {
    case MenuItem::mnuCalc:
        run([this] { mnuCalc_Click(); });
        break;
    case MenuItem::mnuReset:
        run([this] { mnuReset_Click(); });
        break;
    case MenuItem::mnuExit:
        run([this] { mnuExit_Click(); });
        break;
    case MenuItem::mnuInstructions:
        run([this] { mnuInstructions_Click(); });
        break;
    case MenuItem::mnuAbout:
        run([this] { mnuAbout_Click(); });
        break;
    case MenuItem::None:
        break;
    }
}

void MainForm::closeRequested()
{
    // frmMain has no unload procedure of its own.
    run([this] { m_forms.Unload(FormId::Main); });
}

void MainForm::focusMoved(Control from, Control to)
{
    if (m_busy || to == Control::None || to == from || !m_forms.isVisible(FormId::Main))
        return;
    FlagScope busy(m_busy);
    if (from == Control::txtT)
        run([this] { txtT_LostFocus(); });
    else if (from == Control::txtL)
        run([this] { txtL_LostFocus(); });
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
    const bool temperature = error.input() == Input::Temperature;
    if (!m_window || error.input() == Input::None) {
        Form::present(error);
        return;
    }
    if (error.kind() == ErrorKind::NegativeInput) {
        m_forms.MsgBox(temperature ? u"The value for temperature must not be negative."
                                   : u"The value for wavelength must not be negative.");
    } else {
        // The text does not convert: the same message as when the box
        // loses the focus.
        m_forms.MsgBox(temperature ? TemperatureMessage : WavelengthMessage);
    }
    if (m_window)
        (temperature ? m_window->txtT() : m_window->txtL()).setFocus();
}

} // namespace ui
