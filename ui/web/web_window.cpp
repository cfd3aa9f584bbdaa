#include "ui/web/web_window.h"

#include "ui/web/web_adapters.h"
#include "ui/web/web_design.h"
#include "ui/web/web_library.h"

#include <emscripten/emscripten.h>

namespace ui::web {

std::map<int, WebWindow *> &WebWindow::windows()
{
    static std::map<int, WebWindow *> loaded;
    return loaded;
}

WebWindow::WebWindow(const layout::WindowDesign &design, Form &form) : NativeWindow(form), m_design(design)
{
    // Numbers are never reused, so an event the page still had for a
    // window that is gone cannot reach another one.
    static int last = 0;
    m_handle = ++last;
    windows()[m_handle] = this;
    emberline_window_create(m_handle, DesignJson(design).c_str());
}

WebWindow::~WebWindow()
{
    windows().erase(m_handle);
}

WebWindow *WebWindow::fromHandle(int handle)
{
    const auto found = windows().find(handle);
    return found == windows().end() ? nullptr : found->second;
}

void WebWindow::showWindow()
{
    emberline_window_show(m_handle);
}

void WebWindow::hideWindow()
{
    emberline_window_hide(m_handle);
}

Control WebWindow::focused() const
{
    return Control(emberline_window_focused(m_handle));
}

void WebWindow::focus(Control control)
{
    const Control from = focused();
    emberline_window_focus(m_handle, int(control));
    // The page sends no event while the program runs, so the move is
    // reported here, after it has happened, as Qt's and Win32's boxes report
    // the program's moves. The form validates nothing on these moves today
    // (they happen while it is busy or the window is coming back); it is the
    // form's call, not the window's.
    const Control to = focused();
    if (to != from)
        link().focusMoved(from, to);
}

std::unique_ptr<TextBox> WebWindow::textBox(std::string_view name)
{
    const layout::ControlDesign *design = layout::find(m_design, name);
    return std::make_unique<WebTextBox>(*this, std::string(name), design ? design->id : Control::None);
}

std::unique_ptr<Label> WebWindow::label(std::string_view name)
{
    return std::make_unique<WebLabel>(*this, std::string(name));
}

void WebWindow::destroyWindow(bool eventUnderWay)
{
    // Gone from the page at once; inside one of its own events the object
    // stays until that event has returned.
    emberline_window_destroy(m_handle);
    windows().erase(m_handle);
    deleteWhenIdle(eventUnderWay);
}

} // namespace ui::web

// The page's events, as they happen. Each names the window it is for; one
// for a window that is no longer loaded is dropped.
namespace {

template <class Event>
void deliver(int window, Event event)
{
    if (ui::web::WebWindow *target = ui::web::WebWindow::fromHandle(window))
        event(target->link());
}

ui::Control control(int value)
{
    return value >= int(ui::Control::None) && value <= int(ui::Control::cmdOK) ? ui::Control(value) : ui::Control::None;
}

} // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void emberline_click(int window, int button)
{
    deliver(window, [button](ui::EventLink &link) { link.click(control(button)); });
}

EMSCRIPTEN_KEEPALIVE void emberline_key_press(int window, int box, int code)
{
    deliver(window, [box, code](ui::EventLink &link) { link.keyPress(control(box), std::int16_t(code)); });
}

EMSCRIPTEN_KEEPALIVE void emberline_text_changed(int window, int box)
{
    deliver(window, [box](ui::EventLink &link) { link.textChanged(control(box)); });
}

EMSCRIPTEN_KEEPALIVE void emberline_menu_chosen(int window, int item)
{
    const bool known = item > int(ui::MenuItem::None) && item <= int(ui::MenuItem::mnuAbout);
    deliver(window, [item, known](ui::EventLink &link) {
        link.menuChosen(known ? ui::MenuItem(item) : ui::MenuItem::None);
    });
}

EMSCRIPTEN_KEEPALIVE void emberline_focus_moved(int window, int from, int to)
{
    deliver(window, [from, to](ui::EventLink &link) { link.focusMoved(control(from), control(to)); });
}

EMSCRIPTEN_KEEPALIVE void emberline_close_requested(int window)
{
    deliver(window, [](ui::EventLink &link) { link.closeRequested(); });
}

} // extern "C"
