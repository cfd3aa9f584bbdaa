#include "ui/forms.h"

#include "emberline/identity.h"
#include "ui/about/about_form.h"
#include "ui/about/about_layout.h"
#include "ui/layout.h"
#include "ui/main/main_form.h"
#include "ui/main/main_layout.h"

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

void Forms::start()
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

template <class FormType, class HandleType>
void Forms::load(FormId id, Instance<FormType, HandleType> &instance, FormType &form)
{
    const layout::WindowDesign &design = id == FormId::Main ? mainLayout() : aboutLayout();
    instance.window = std::make_unique<HandleType>(m_system.createWindow(id, design, form));
    // The focus starts on the first control in tab order.
    instance.focus = layout::tabOrder(design).front()->id;
    instance.firstShow = true;
    form.attach(instance.window.get());
    form.run([&form] { form.Form_Load(); });
}

void Forms::load(FormId form)
{
    if (form == FormId::Main)
        load(form, m_main, frmMain());
    else
        load(form, m_about, frmAbout());
}

template <class FormType, class HandleType>
void Forms::show(Instance<FormType, HandleType> &instance)
{
    instance.window->show();
    if (instance.visible)
        return; // already shown: nothing comes back
    // Counted visible only once shown with its focus back: focus moves
    // while the window comes back validate nothing.
    instance.window->focus(instance.focus);
    // The first focus is the keyboard's: a box shown with it for the first
    // time has its text selected, so that typing replaces it. Later returns
    // keep the selection the box had.
    if (instance.firstShow) {
        instance.firstShow = false;
        if (TextBox *box = instance.window->box(instance.focus); box && instance.window->focused() == instance.focus)
            box->selectAll();
    }
    instance.visible = true;
}

void Forms::Show(FormId form)
{
    if (m_ended)
        return;
    if (!isLoaded(form))
        load(form);
    // Form_Load may have ended the program or unloaded the window.
    if (m_ended || !isLoaded(form))
        return;
    if (form == FormId::Main)
        show(m_main);
    else
        show(m_about);
}

void Forms::Hide(FormId form)
{
    if (!isLoaded(form))
        return;
    const auto hide = [](auto &instance) {
        // Remembered for the window's return; a focus outside the window's
        // controls (a menu, say) leaves the last one remembered.
        if (const Control focus = instance.window->focused(); focus != Control::None)
            instance.focus = focus;
        instance.visible = false;
        instance.window->hide();
    };
    if (form == FormId::Main)
        hide(m_main);
    else
        hide(m_about);
}

template <class FormType, class HandleType>
void Forms::unload(Instance<FormType, HandleType> &instance)
{
    instance.visible = false;
    instance.form->attach(nullptr);
    instance.window.reset();
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
    if (form == FormId::Main)
        unload(m_main);
    else
        unload(m_about);
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
    // Owned by the window shown, the main window first, so that it comes
    // back to it; with none shown the box stands alone.
    std::optional<FormId> owner;
    if (m_main.visible)
        owner = FormId::Main;
    else if (m_about.visible)
        owner = FormId::About;
    m_system.messageBox(prompt, title.empty() ? identity::ApplicationTitle : title, owner);
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
