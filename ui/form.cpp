#include "ui/form.h"

#include "runtime/error.h"
#include "ui/forms.h"

#include <exception>
#include <string>

namespace ui {

namespace {

std::u16string widen(const char *ascii)
{
    std::u16string text;
    for (const char *p = ascii; *p; ++p)
        text.push_back(static_cast<unsigned char>(*p));
    return text;
}

} // namespace

void Form::run(const std::function<void()> &procedure)
{
    // Once the program has ended no procedure runs, whatever events are
    // still on their way from the toolkit.
    if (m_forms.ended())
        return;
    try {
        procedure();
    } catch (const runtime::Error &error) {
        present(error);
    } catch (const std::exception &error) {
        // Not a fault of the input (memory ran out, say): the action is
        // abandoned all the same and the program goes on.
        m_forms.MsgBox(u"The action could not be completed: " + widen(error.what()) + u".");
    }
}

void Form::present(const runtime::Error &error)
{
    m_forms.MsgBox(u"The calculation failed: " + widen(runtime::describe(error.kind())) + u".");
}

} // namespace ui
