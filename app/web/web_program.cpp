#include "app/web/web_program.h"

#include "emberline/identity.h"
#include "ui/web/web_library.h"
#include "ui/web/web_window.h"

namespace app {

WebProgram::WebProgram() = default;

WebProgram::~WebProgram() = default;

void WebProgram::start()
{
    m_forms.start();
}

ui::NativeWindow &WebProgram::createWindow(ui::FormId, const ui::layout::WindowDesign &design, ui::Form &form)
{
    return *new ui::web::WebWindow(design, form);
}

void WebProgram::messageBox(std::u16string_view prompt, std::u16string_view title, std::optional<ui::FormId>)
{
    // The page shows the prompt as it comes, its line breaks as line feeds.
    const std::u16string shown = ui::layout::withLineBreaks(prompt, u"\n");
    emberline_message_box(shown.data(), int(shown.size()), title.data(), int(title.size()));
}

void WebProgram::quit()
{
    const std::u16string_view title = identity::ApplicationTitle;
    emberline_end(title.data(), int(title.size()));
}

} // namespace app
