#include "ui/window_handle.h"

namespace ui {

WindowHandle::~WindowHandle()
{
    EventLink &link = m_native.link();
    link.detach();
    m_native.destroyWindow(link.busy());
}

MainWindowHandle::MainWindowHandle(NativeWindow &native)
    : WindowHandle(native),
      m_txtT(native.textBox("txtT")),
      m_txtL(native.textBox("txtL")),
      m_lblLT(native.label("lblLT")),
      m_lblF(native.label("lblF"))
{
}

TextBox *MainWindowHandle::box(Control control)
{
    return control == Control::txtT ? m_txtT.get() : control == Control::txtL ? m_txtL.get() : nullptr;
}

AboutWindowHandle::AboutWindowHandle(NativeWindow &native)
    : WindowHandle(native), m_lblTheLabel(native.label("lblTheLabel"))
{
}

} // namespace ui
