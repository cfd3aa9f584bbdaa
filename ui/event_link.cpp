#include "ui/event_link.h"

#include "ui/form.h"

#include <utility>

namespace ui {

void EventLink::click(Control control)
{
    forward([control](Form &form) { form.Click(control); });
}

void EventLink::keyPress(Control box, std::int16_t code)
{
    forward([box, code](Form &form) { form.KeyPress(box, code); });
}

void EventLink::textChanged(Control box)
{
    forward([box](Form &form) { form.textChanged(box); });
}

void EventLink::menuChosen(MenuItem item)
{
    forward([item](Form &form) { form.menuChosen(item); });
}

void EventLink::focusMoved(Control from, Control to)
{
    forward([from, to](Form &form) { form.focusMoved(from, to); });
}

void EventLink::closeRequested()
{
    forward([](Form &form) { form.closeRequested(); });
}

void EventLink::whenIdle(std::function<void()> action)
{
    if (busy())
        m_idle = std::move(action);
    else
        action();
}

void EventLink::forward(const std::function<void(Form &)> &event)
{
    if (!m_form)
        return;
    // Counted down however the event ends; the routers catch every error of
    // a procedure, but memory can run out outside them.
    struct Depth {
        int &depth;
        explicit Depth(int &d) : depth(d) { ++depth; }
        ~Depth() { --depth; }
    };
    {
        const Depth depth(m_depth);
        event(*m_form);
    }
    if (m_depth == 0 && m_idle) {
        // The action may delete this link: nothing of it is used after.
        const std::function<void()> idle = std::exchange(m_idle, nullptr);
        idle();
    }
}

} // namespace ui
