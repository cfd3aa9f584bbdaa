#include "ui/forms.h"

#include "emberline/identity.h"
#include "ui/about/about_form.h"
#include "ui/main/main_form.h"

#include <cstdint>

namespace ui {

Forms::Forms(WindowSystem &system) : m_system(system)
{
}

// The windows go before the forms whose events they forward.
Forms::~Forms()
{
    m_about.window.reset();
    m_main.window.reset();
}

void Forms::Start()
{
    Show(FormId::Main);
}

MainForm &Forms::frmMain()
{
    if (!m_main.form)
        m_main.form = std::make_unique<MainForm>(*this);
    return *m_main.form;
}

AboutForm &Forms::frmAbout()
{
    if (!m_about.form)
        m_about.form = std::make_unique<AboutForm>(*this);
    return *m_about.form;
}

void Forms::load(FormId form)
{
    if (form == FormId::Main) {
        MainForm &main = frmMain();
        m_main.window = m_system.createMainWindow(main);
        main.attach(m_main.window.get());
        main.Run([&main] { main.Form_Load(); });
    } else {
        AboutForm &about = frmAbout();
        m_about.window = m_system.createAboutWindow(about);
        about.attach(m_about.window.get());
        about.Run([&about] { about.Form_Load(); });
    }
}

void Forms::Show(FormId form)
{
    if (m_ended)
        return;
    if (!isLoaded(form))
        load(form);
    if (form == FormId::Main) {
        m_main.window->show();
        // Counted visible once shown: focus moves while the window comes
        // back (the toolkit restoring its focus) validate nothing.
        m_main.visible = true;
    } else {
        m_about.window->show();
        m_about.visible = true;
    }
}

void Forms::Hide(FormId form)
{
    if (!isLoaded(form))
        return;
    if (form == FormId::Main) {
        m_main.visible = false;
        m_main.window->hide();
    } else {
        m_about.visible = false;
        m_about.window->hide();
    }
}

void Forms::Unload(FormId form)
{
    if (!isLoaded(form) || m_ended)
        return;
    if (form == FormId::About) {
        std::int16_t cancel = 0;
        m_about.form->Form_Unload(cancel);
        if (cancel != 0)
            return;
    }
    const FormId other = form == FormId::Main ? FormId::About : FormId::Main;
    if (!isLoaded(other)) {
        // No window would be left: the program ends, and the window goes
        // with it.
        Hide(form);
        End();
        return;
    }
    if (form == FormId::Main) {
        m_main.visible = false;
        m_main.form->attach(nullptr);
        m_main.window.reset();
    } else {
        m_about.visible = false;
        m_about.form->attach(nullptr);
        m_about.window.reset();
    }
}

void Forms::End()
{
    if (m_ended)
        return;
    m_ended = true;
    m_system.quit();
}

void Forms::MsgBox(std::u16string_view prompt, std::u16string_view title)
{
    m_system.messageBox(prompt, title.empty() ? identity::ApplicationTitle : title);
}

bool Forms::isLoaded(FormId form) const
{
    return form == FormId::Main ? m_main.window != nullptr : m_about.window != nullptr;
}

bool Forms::isVisible(FormId form) const
{
    return form == FormId::Main ? m_main.visible : m_about.visible;
}

} // namespace ui
