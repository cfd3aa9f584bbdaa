#pragma once

#include "ui/layout.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace ui::win32 {

// What the Win32 windows need around the controls: texts as Win32 takes
// them, the fonts and pictures of the layout at a window's DPI, and the
// accessibility texts.

std::wstring wide(std::u16string_view text);
std::u16string u16(std::wstring_view text);
// A caption as the program holds it (lone carriage returns) as a static
// control draws it: every line break written as CR LF.
std::wstring displayText(std::u16string_view caption);
// The text of a window, as the program holds texts.
std::u16string windowText(HWND window);

// Twips to pixels at `dpi`.
int scale(int twips, UINT dpi);
RECT scaleRect(const layout::Rect &twips, UINT dpi);

// The installed face that stands in for a designed one: Garamond, else an
// old-style serif that stock Windows ships (Palatino Linotype, ...); MS Sans
// Serif at 96 dpi, its outline counterpart Microsoft Sans Serif above.
std::wstring resolveFace(std::u16string_view designedFace, UINT dpi);
HFONT createLayoutFont(const layout::Font &font, UINT dpi);

// A picture of the program (resource name, e.g. "image1") at its natural
// size in logical pixels for `dpi`: from the bitmap drawn for that scale,
// or the next larger one scaled down smoothly. Null when it cannot be read.
HBITMAP loadPicture(HINSTANCE instance, std::string_view name, UINT dpi);

// Names a control for screen readers (MSAA's name or description); a
// platform that does not support it changes nothing.
void setAccessibleName(HWND control, std::u16string_view name);
void setAccessibleDescription(HWND control, std::u16string_view description);

} // namespace ui::win32
