#include "ui/about/about_form.h"

#include "runtime/conversion.h"

namespace ui {

AboutForm::AboutForm(AboutControls controls, Shell &shell)
    : m_controls(controls), m_shell(shell)
{
}

std::u16string AboutForm::AboutText()
{
    const std::u16string CR(1, runtime::CarriageReturn);
    std::u16string text = u"Pyrel 1.0";
    text = text + CR;
    text = text + CR;
    text = text + u"Emberline version 1.00";
    text = text + CR;
    text = text + u"Copyright \u00A9 2026 Velmora";
    text = text + CR;
    text = text + CR;
    text = text + u"Property values obtained using chunk series method:";
    return text;
}

void AboutForm::Form_Load()
{
    m_controls.lblTheLabel.setCaption(AboutText());
}

void AboutForm::cmdOK_Click()
{
    m_controls.window.unload();
}

void AboutForm::Form_Unload(std::int16_t &Cancel)
{
    (void)Cancel; // the unload always goes on
    m_shell.ShowForm(FormId::Main);
}

} // namespace ui
