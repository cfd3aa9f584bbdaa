#include "ui/qt/qt_adapters.h"

#include "ui/qt/qt_widgets.h"

namespace ui::qt {

void QtTextBox::setFocus()
{
    m_edit->setFocus(Qt::OtherFocusReason);
}

void QtTextBox::selectAll()
{
    m_edit->selectAll();
}

std::u16string QtTextBox::readText() const
{
    return m_edit->text().toStdU16String();
}

void QtTextBox::writeText(std::u16string_view text)
{
    m_edit->writeText(QString::fromUtf16(text.data(), qsizetype(text.size())));
}

std::u16string QtLabel::caption() const
{
    return m_label->caption();
}

void QtLabel::setCaption(std::u16string_view caption)
{
    m_label->setCaption(caption);
}

} // namespace ui::qt
