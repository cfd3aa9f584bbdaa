#pragma once

#include "ui/event_link.h"
#include "ui/layout.h"

#include <QFont>
#include <QHash>
#include <QObject>
#include <QRect>
#include <QString>

#include <memory>

class QMenuBar;
class QWidget;

namespace ui::qt {

// Qt windows built from the layout tables: controls, fonts and menus.

// Makes the designed faces resolve to the closest installed ones: EB
// Garamond for Garamond, Liberation Sans for MS Sans Serif. Safe to call
// repeatedly.
void installFontSubstitutions();

QFont windowFont(const layout::Font &font);
// Twips to logical pixels (15 to a pixel).
QRect pixelRect(const layout::Rect &twips);
QString qstr(std::u16string_view text);

// The controls of a Qt window, created from the window's layout table on
// `client` where the table places them, stacked as listed and in tab order,
// and wired by kind to the window's event link: a box reports each change
// and each typed character, a button each press, and every move of the
// focus that involves one of the controls is reported.
class QtControls {
public:
    QtControls(QWidget *client, const layout::WindowDesign &window, EventLink &link);

    QWidget *widget(std::string_view name) const;
    // The control with events that `widget` is, or None for anything else.
    Control controlOf(const QWidget *widget) const;
    // The control that holds the window's focus, and a move of the focus.
    Control focused() const;
    void focus(Control control) const;
    // The control interfaces on the box or label named in the table.
    std::unique_ptr<TextBox> textBox(std::string_view name) const;
    std::unique_ptr<Label> label(std::string_view name) const;
    // Fills the menu bar from the window's menu table; every entry that has
    // a procedure is reported when chosen by mouse, access key or shortcut.
    void buildMenus(QMenuBar *bar);

private:
    void wire();

    QWidget *m_client;
    const layout::WindowDesign &m_window;
    EventLink &m_link;
    QHash<QString, QWidget *> m_built;
    // The receiver of every connection: destroyed with the controls' owner,
    // so nothing is reported while the widgets go.
    QObject m_receiver;
};

} // namespace ui::qt
