#pragma once

#include "ui/layout.h"

#include <string>
#include <string_view>

namespace ui::web {

// A window's layout table as the page reads it (JSON): the window's caption
// and client size, every control in stacking order with its kind, event id
// (a ui::Control value), shown caption and access key, twips rectangle
// relative to its container, CSS font, tab index and accessibility texts,
// the tab order, and the menu bar with each entry's procedure (a
// ui::MenuItem value), access key and Ctrl shortcut. The page builds the
// window from this and from nothing else.
std::string DesignJson(const layout::WindowDesign &design);

// The CSS font family list that stands for a face of the layout tables: the
// faces the site ships (EB Garamond for Garamond, Emberline Sans, a subset
// of Liberation Sans, for MS Sans Serif), then the system's.
std::string CssFontFamily(std::u16string_view face);

// Where an access key shows in a caption as shown: the index of the marked
// character in shownCaption(caption), or -1 when it has none.
int accessKeyPosition(std::u16string_view caption);

} // namespace ui::web
