#include "app/web/web_program.h"

#include "emberline/identity.h"
#include "ui/about/about_form.h"
#include "ui/about/about_layout.h"
#include "ui/main/main_form.h"
#include "ui/main/main_layout.h"
#include "ui/web/web_library.h"
#include "ui/web/web_window.h"

namespace app {

WebProgram::WebProgram() = default;

WebProgram::~WebProgram() = default;

void WebProgram::Start()
{
    m_forms.Start();
}

// The windows are destroyed by the lifecycle.
ui::NativeWindow &WebProgram::createMainWindow(ui::MainForm &form)
{
    return *new ui::web::WebWindow(ui::MainLayout(), form);
}

ui::NativeWindow &WebProgram::createAboutWindow(ui::AboutForm &form)
{
    return *new ui::web::WebWindow(ui::AboutLayout(), form);
}

void WebProgram::messageBox(std::u16string_view prompt, std::u16string_view title)
{
    emberline_message_box(prompt.data(), int(prompt.size()), title.data(), int(title.size()));
}

void WebProgram::quit()
{
    const std::u16string_view title = identity::ApplicationTitle;
    emberline_end(title.data(), int(title.size()));
}

} // namespace app
