#include "ui/main/main_layout.h"

#include <array>

namespace ui {

namespace {

using layout::Align;
using layout::ControlDesign;
using layout::Kind;
using layout::MenuEntry;

constexpr const layout::Font *Garamond18Bold = &layout::Garamond18Bold;
constexpr const layout::Font *Garamond12Bold = &layout::Garamond12Bold;
constexpr const layout::Font *SansSerif12 = &layout::SansSerif12;

// The two frames are borderless white panels; their caption is never drawn.
// The pictures stand just left of the value each one names; the results lie
// exactly below the input boxes.
constexpr std::array<ControlDesign, 16> Controls = {{
    {"cmdReset", Kind::CommandButton, Control::cmdReset, u"&Reset Form", "", {2760, 4080, 1455, 735},
     Garamond12Bold, 3, Align::Centre, false, u"Reset Form", u"", ""},
    {"cmdExit", Kind::CommandButton, Control::cmdExit, u"E&xit", "", {4440, 4080, 1455, 735},
     Garamond12Bold, 4, Align::Centre, false, u"Exit", u"", ""},
    {"Frame2", Kind::Frame, Control::None, u"Temperature", "", {480, 2880, 5415, 855},
     nullptr, 7, Align::Left, true, u"", u"", ""},
    {"lblF", Kind::Label, Control::None, u"", "Frame2", {4080, 270, 975, 300},
     SansSerif12, 11, Align::Left, true, u"", u"F(0\u2192\u03BB)", ""},
    {"lblLT", Kind::Label, Control::None, u"", "Frame2", {1680, 270, 975, 300},
     SansSerif12, 10, Align::Left, true, u"", u"\u03BBT (\u00B5m\u00B7K)", ""},
    {"Image4", Kind::Picture, Control::None, u"", "Frame2", {240, 240, 1380, 405},
     nullptr, -1, Align::Left, true, u"\u03BBT(\u03BCm\u00B7K)=", u"", "image4"},
    {"Image3", Kind::Picture, Control::None, u"", "Frame2", {3200, 300, 855, 435},
     nullptr, -1, Align::Left, true, u"F(0\u2192\u03BB)=", u"", "image3"},
    {"Frame1", Kind::Frame, Control::None, u"Temperature", "", {480, 1320, 5415, 855},
     nullptr, 6, Align::Left, true, u"", u"", ""},
    {"txtL", Kind::TextBox, Control::txtL, u"", "Frame1", {4080, 240, 975, 405},
     SansSerif12, 1, Align::Left, false, u"Wavelength (\u00B5m)", u"", ""},
    {"txtT", Kind::TextBox, Control::txtT, u"", "Frame1", {1680, 240, 975, 405},
     SansSerif12, 0, Align::Left, false, u"Temperature (K)", u"", ""},
    {"Image2", Kind::Picture, Control::None, u"", "Frame1", {3080, 240, 945, 405},
     nullptr, -1, Align::Left, true, u"\u03BB(\u03BCm)=", u"", "image2"},
    {"Image1", Kind::Picture, Control::None, u"", "Frame1", {840, 240, 780, 405},
     nullptr, -1, Align::Left, true, u"T(K)=", u"", "image1"},
    {"cmdCalc", Kind::CommandButton, Control::cmdCalc, u"&Calculate Values", "", {1080, 4080, 1455, 735},
     Garamond12Bold, 2, Align::Centre, false, u"Calculate Values", u"", ""},
    {"Label3", Kind::Label, Control::None, u"Calculated Values:", "", {480, 2520, 2055, 255},
     Garamond12Bold, 9, Align::Left, false, u"", u"", ""},
    {"Label2", Kind::Label, Control::None, u"Input Values:", "", {480, 960, 1455, 255},
     Garamond12Bold, 8, Align::Left, false, u"", u"", ""},
    {"Label1", Kind::Label, Control::None, u"Fractional Blackbody Emissive Power", "", {240, 240, 5895, 495},
     Garamond18Bold, 5, Align::Centre, false, u"", u"", ""},
}};

constexpr std::array<MenuEntry, 9> Menus = {{
    {"mnuFile", u"&File", "", 0, MenuItem::None},
    {"mnuCalc", u"Calculate Values", "mnuFile", u'L', MenuItem::mnuCalc},
    {"mnuReset", u"Reset Form", "mnuFile", u'R', MenuItem::mnuReset},
    {"mnuL1", u"-", "mnuFile", 0, MenuItem::None},
    {"mnuExit", u"E&xit", "mnuFile", u'Q', MenuItem::mnuExit},
    {"mnuHelp", u"&Help", "", 0, MenuItem::None},
    {"mnuInstructions", u"&Instructions", "mnuHelp", u'I', MenuItem::mnuInstructions},
    {"mnuL2", u"-", "mnuHelp", 0, MenuItem::None},
    {"mnuAbout", u"&About Pyrel.exe...", "mnuHelp", 0, MenuItem::mnuAbout},
}};

constexpr layout::WindowDesign Window = {
    "frmMain", u"Fractional Blackbody Emissive Power", 6390, 5085, true, true, Controls, Menus,
};

} // namespace

const layout::WindowDesign &mainLayout()
{
    return Window;
}

} // namespace ui
