#include "ui/web/web_adapters.h"

#include "ui/web/web_library.h"
#include "ui/web/web_window.h"

#include <cstdlib>

namespace ui::web {

WebTextBox::WebTextBox(WebWindow &window, std::string name, Control id)
    : m_window(window), m_name(std::move(name)), m_id(id)
{
}

void WebTextBox::setFocus()
{
    m_window.focus(m_id);
}

void WebTextBox::selectAll()
{
    emberline_box_select_all(m_window.handle(), m_name.data(), int(m_name.size()));
}

std::u16string WebTextBox::readText() const
{
    int length = 0;
    char16_t *text = emberline_box_text(m_window.handle(), m_name.data(), int(m_name.size()), &length);
    std::u16string copy(text, std::size_t(length));
    std::free(text);
    return copy;
}

void WebTextBox::writeText(std::u16string_view text)
{
    emberline_box_write(m_window.handle(), m_name.data(), int(m_name.size()), text.data(), int(text.size()));
    m_window.link().textChanged(m_id);
}

WebLabel::WebLabel(WebWindow &window, std::string name) : m_window(window), m_name(std::move(name))
{
}

void WebLabel::setCaption(std::u16string_view caption)
{
    m_caption = caption;
    // The page shows the text as it comes.
    m_shown = layout::withLineBreaks(caption, u"\n");
    emberline_label_write(m_window.handle(), m_name.data(), int(m_name.size()), m_shown.data(), int(m_shown.size()));
}

} // namespace ui::web
