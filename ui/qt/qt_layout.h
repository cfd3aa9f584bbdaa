#pragma once

#include "ui/layout.h"

#include <QFont>
#include <QHash>
#include <QRect>
#include <QString>

#include <functional>

class QMenuBar;
class QWidget;

namespace ui {

// Qt windows built from the layout tables: controls, fonts and menus.

// Makes the designed faces resolve to the closest installed ones: EB
// Garamond for Garamond, Liberation Sans for MS Sans Serif. Safe to call
// repeatedly.
void installFontSubstitutions();

QFont windowFont(const layout::Font &font);
// Twips to logical pixels (15 to a pixel).
QRect pixelRect(const layout::Rect &twips);
QString qstr(std::u16string_view text);

// Creates every control of `window` on `client` where the table places it,
// stacked as listed and in tab order, and returns them by name.
QHash<QString, QWidget *> buildControls(QWidget *client, const layout::WindowDesign &window);

// Fills the menu bar from the menu table; `chosen` hears every entry that
// has a procedure, whether chosen by mouse, access key or shortcut.
void buildMenus(QMenuBar *bar, const layout::WindowDesign &window, const std::function<void(MenuItem)> &chosen);

} // namespace ui
