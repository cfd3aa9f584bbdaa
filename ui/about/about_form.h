#pragma once

#include "ui/controls.h"

#include <cstdint>
#include <string>

namespace ui {

struct AboutControls {
    Label &lblTheLabel;
    FormWindow &window;
};

// The event procedures of the About window frmAbout: it writes the product
// text into its label when loaded, unloads itself on OK, and shows the main
// window again while it is being unloaded, however that happens.
class AboutForm {
public:
    AboutForm(AboutControls controls, Shell &shell);

    void Form_Load();
    void cmdOK_Click();
    void Form_Unload(std::int16_t &Cancel);

    // The six lines of the About text, separated by lone carriage returns.
    static std::u16string AboutText();

private:
    AboutControls m_controls;
    Shell &m_shell;
};

} // namespace ui
