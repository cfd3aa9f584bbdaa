#pragma once

#include "ui/layout.h"

namespace ui {

// The design of the About window frmAbout: the text label, the formula
// picture drawn over its lower part, and OK, on 5670 x 4740 twips (378 x 316
// pixels at 96 dpi); no menu, close box only.
const layout::WindowDesign &aboutLayout();

} // namespace ui
