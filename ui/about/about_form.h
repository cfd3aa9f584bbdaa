#pragma once

#include "ui/controls.h"
#include "ui/form.h"
#include "ui/window_handle.h"

#include <cstdint>
#include <string>

namespace ui {

// The About window frmAbout: it writes the product text into its label when
// loaded, unloads itself on OK, and shows the main window again while it is
// being unloaded, however that happens. A toolkit delivers its events
// through the two routers.
class AboutForm : public Form {
public:
    explicit AboutForm(Forms &forms);

    // The window while it is loaded (null before and after).
    void attach(AboutWindowHandle *window) { m_window = window; }

    void Form_Load();
    void cmdOK_Click();
    void Form_Unload(std::int16_t &Cancel);

    // Routers: the OK button clicked or pressed (mouse, Enter, Space,
    // Alt+O; it always holds the focus), and the close box, the system
    // menu's Close or Alt+F4.
    void Click(Control control) override;
    void closeRequested() override;

    // The six lines of the About text, separated by lone carriage returns.
    static std::u16string aboutText();

private:
    AboutWindowHandle *m_window = nullptr;
};

} // namespace ui
