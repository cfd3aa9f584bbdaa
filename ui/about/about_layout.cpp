#include "ui/about/about_layout.h"

#include <array>

namespace ui {

namespace {

using layout::Align;
using layout::ControlDesign;
using layout::Kind;

// The formula lies over the lower part of the label and, being listed
// first, is drawn above it; the label's six lines end above the picture.
constexpr std::array<ControlDesign, 3> Controls = {{
    {"cmdOK", Kind::CommandButton, Control::cmdOK, u"&OK", "", {4320, 3840, 1095, 615},
     &layout::Garamond825Bold, 1, Align::Centre, false, u"OK", u"", ""},
    {"Image1", Kind::Picture, Control::None, u"", "", {840, 2160, 3945, 1455}, nullptr, -1, Align::Left, false,
     u"F(0\u2192\u03BB) = 15/\u03C0\u2074 \u03A3 e^(\u2212nz)/n (z\u00B3 + 3z\u00B2/n + 6z/n\u00B2 + 6/n\u00B3), "
     u"where z = C\u2082/\u03BBT and C\u2082 = 14387.96",
     u"", "formula"},
    {"lblTheLabel", Kind::Label, Control::None, u"", "", {240, 240, 5175, 2895},
     &layout::Garamond12, 0, Align::Left, false, u"", u"About Emberline", ""},
}};

constexpr layout::WindowDesign Window = {
    "frmAbout", u"About Pyrel.exe", 5670, 4740, false, false, Controls, {},
};

} // namespace

const layout::WindowDesign &aboutLayout()
{
    return Window;
}

} // namespace ui
