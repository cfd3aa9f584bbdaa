#include "ui/about/about_form.h"

#include "emberline/identity.h"
#include "runtime/conversion.h"
#include "ui/forms.h"

namespace ui {

AboutForm::AboutForm(Forms &forms) : Form(forms)
{
}

std::u16string AboutForm::aboutText()
{
    using namespace identity;
    const std::u16string CR(1, runtime::CarriageReturn);
    std::u16string text = std::u16string(ExecutableName) + u" " + std::u16string(VersionShort);
    text = text + CR;
    text = text + CR;
    text = text + std::u16string(ProductName) + u" version " + std::u16string(VersionText);
    text = text + CR;
    text = text + u"Copyright \u00A9 2026 " + std::u16string(CompanyName);
    text = text + CR;
    text = text + CR;
    text = text + u"Property values obtained using chunk series method:";
    return text;
}

void AboutForm::Form_Load()
{
    if (m_window)
        m_window->lblTheLabel().setCaption(aboutText());
}

void AboutForm::cmdOK_Click()
{
    m_forms.Unload(FormId::About);
}

void AboutForm::Form_Unload(std::int16_t &Cancel)
{
    (void)Cancel; // the unload always goes on
    m_forms.Show(FormId::Main);
}

void AboutForm::Click(Control control)
{
    if (control == Control::cmdOK)
        run([this] { cmdOK_Click(); });
}

void AboutForm::closeRequested()
{
    run([this] { m_forms.Unload(FormId::About); });
}

} // namespace ui
