#include "ui/form_window.h"

namespace ui {

FormWindow::~FormWindow()
{
    EventLink &link = m_native.link();
    link.detach();
    m_native.destroyWindow(link.busy());
}

MainWindow::MainWindow(NativeWindow &native)
    : FormWindow(native),
      m_txtT(native.textBox("txtT")),
      m_txtL(native.textBox("txtL")),
      m_lblLT(native.label("lblLT")),
      m_lblF(native.label("lblF"))
{
}

TextBox *MainWindow::box(Control control)
{
    return control == Control::txtT ? m_txtT.get() : control == Control::txtL ? m_txtL.get() : nullptr;
}

AboutWindow::AboutWindow(NativeWindow &native)
    : FormWindow(native), m_lblTheLabel(native.label("lblTheLabel"))
{
}

} // namespace ui
