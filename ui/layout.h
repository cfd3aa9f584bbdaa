#pragma once

#include "ui/controls.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ui::layout {

// A window's design as constant data: every control with its kind, caption,
// font, place and accessibility texts, and the menu tree. Each toolkit
// builds its native window from these tables, so the windows look and read
// the same everywhere and the design is written once.

enum class Kind { CommandButton, Frame, Label, TextBox, Picture };
enum class Align { Left, Centre };

struct Font {
    std::u16string_view face; // as designed; a toolkit picks the nearest installed face
    double points;
    bool bold;                // weight 700, else 400; never italic, underlined or struck through
};

// Twips: 1/1440 inch, 15 to a pixel at 96 dots per inch.
struct Rect {
    int left;
    int top;
    int width;
    int height;
};

struct ControlDesign {
    std::string_view name;             // "txtT": the object name tests and automation find
    Kind kind;
    Control id;                        // the control its events come from; None when it has none
    std::u16string_view caption;       // '&' marks the access key and is not shown
    std::string_view container;        // a frame's name, or empty for the client area
    Rect rect;                         // relative to the container; a picture's size is its own
    const Font *font;                  // null for frames and pictures
    int tabIndex;                      // the focusable ones (boxes, buttons) take the focus in this order
    Align align;
    bool white;                        // white background (the panels and what lies on them)
    std::u16string_view accessibleName;
    std::u16string_view accessibleDescription;
    std::string_view picture;          // the picture's resource name ("image1"), for pictures
};

struct MenuEntry {
    std::string_view name;             // "mnuCalc"
    std::u16string_view caption;       // "-" is a separator line
    std::string_view parent;           // the drop-down menu it belongs to, or empty for the menu bar
    char16_t ctrlKey;                  // Ctrl+letter shortcut, or 0
    MenuItem item;                     // the procedure it reaches, or None
};

struct WindowDesign {
    std::string_view name;             // "frmMain"
    std::u16string_view caption;       // the title bar
    int clientWidth;                   // twips, below the menu bar
    int clientHeight;
    bool minimizeBox;
    bool maximizeBox;
    std::span<const ControlDesign> controls; // in stacking order, the first on top
    std::span<const MenuEntry> menus;       // in display order
};

inline constexpr Font Garamond18Bold{u"Garamond", 18, true};
inline constexpr Font Garamond12Bold{u"Garamond", 12, true};
inline constexpr Font Garamond12{u"Garamond", 12, false};
inline constexpr Font Garamond825Bold{u"Garamond", 8.25, true};
inline constexpr Font SansSerif12{u"MS Sans Serif", 12, false};

// Twips to pixels at `dpi` dots per inch, rounded to the nearest pixel.
constexpr int pixels(int twips, int dpi = 96)
{
    const int scaled = twips * dpi;
    return (scaled + (scaled >= 0 ? 720 : -720)) / 1440;
}

bool isFocusable(const ControlDesign &control);
// The focusable controls in tab order.
std::vector<const ControlDesign *> tabOrder(const WindowDesign &window);
// The control named `name`, or null.
const ControlDesign *find(const WindowDesign &window, std::string_view name);
// A control's rectangle in client-area twips (its container's offset added).
Rect windowRect(const WindowDesign &window, const ControlDesign &control);
// A caption as shown: the access-key ampersands removed ("&&" shows one).
std::u16string shownCaption(std::u16string_view caption);
// The access key a caption marks with '&', as a lower-case letter or
// digit; 0 when it has none.
char16_t accessKey(std::u16string_view caption);
// The caption with every line break written as `lineBreak`, the one a
// toolkit draws: a lone carriage return (which the program writes), CR LF
// or LF ends a line.
std::u16string withLineBreaks(std::u16string_view caption, std::u16string_view lineBreak);
// A menu entry's Ctrl shortcut as a key names it, a lower-case letter; 0
// when it has none.
char16_t ctrlLetter(const MenuEntry &entry);

// The menu bar as every toolkit builds it: the drop-down menus in display
// order, each with its lines.
struct MenuLine {
    const MenuEntry *entry;
    std::size_t index;        // the entry's place in the window's menu table
    bool separator;
    std::u16string shortcut;  // as shown beside the entry ("Ctrl+L"), or empty
};

struct DropDown {
    const MenuEntry *title;
    std::vector<MenuLine> lines;
};

std::vector<DropDown> menuBar(const WindowDesign &window);

} // namespace ui::layout
