#pragma once

#include "ui/layout.h"

namespace ui {

// The design of the main window frmMain: sixteen controls on a client area
// of 6390 x 5085 twips (426 x 339 pixels at 96 dpi), and its two menus.
const layout::WindowDesign &mainLayout();

} // namespace ui
