#pragma once

#include "ui/controls.h"

#include <cstdint>
#include <functional>

namespace ui {

class Form;

// The link from a native window to the form its events belong to. A
// toolkit window sends every event through it and decides nothing: the
// form's routers decide what an event does. The link counts the events
// under way, so a window unloaded inside one of its own events can tell
// that it has to outlive that event, and once the window is unloaded
// (detach) nothing of it reaches the form any more.
class EventLink {
public:
    explicit EventLink(Form &form) : m_form(&form) { }
    EventLink(const EventLink &) = delete;
    EventLink &operator=(const EventLink &) = delete;

    // The events, as a toolkit reports them (see the form's routers).
    void click(Control control);
    void keyPress(Control box, std::int16_t code);
    void textChanged(Control box);
    void menuChosen(MenuItem item);
    void focusMoved(Control from, Control to);
    void closeRequested();

    // The window is unloaded: later events are dropped.
    void detach() { m_form = nullptr; }
    // An event is being delivered (the window is inside its own event).
    bool busy() const { return m_depth > 0; }
    // Runs `action` once no event is under way: at once, or as the
    // outermost event returns. The action may destroy the link's owner.
    void whenIdle(std::function<void()> action);

private:
    void forward(const std::function<void(Form &)> &event);

    Form *m_form;
    int m_depth = 0;
    std::function<void()> m_idle;
};

} // namespace ui
