// Prints, as JSON, every character the program can show in each face of its
// windows, so that the site ships only those glyphs of each font:
// {"faces": [{"face": "Garamond", "bold": true, "text": "..."}, ...],
//  "interface": "..."}. A face's text holds the captions set in it and the
// texts the program writes into its labels (the About text); "interface"
// holds what the page shows in its own face (menus, message boxes). Texts a
// user types, numbers and messages built at run time are ASCII, which the
// site adds to the sans face itself.

#include "emberline/identity.h"
#include "ui/about/about_form.h"
#include "ui/about/about_layout.h"
#include "ui/layout.h"
#include "ui/main/main_form.h"
#include "ui/main/main_layout.h"
#include "ui/web/web_json.h"

#include <cstdio>
#include <map>
#include <string>
#include <utility>

namespace {

using Face = std::pair<std::u16string, bool>;

void addWindow(std::map<Face, std::u16string> &faces, std::u16string &interface, const ui::layout::WindowDesign &window)
{
    for (const ui::layout::ControlDesign &control : window.controls) {
        if (!control.font)
            continue;
        std::u16string &text = faces[{std::u16string(control.font->face), control.font->bold}];
        text += ui::layout::shownCaption(control.caption);
        if (window.name == "frmAbout" && control.name == "lblTheLabel")
            text += ui::AboutForm::aboutText();
    }
    for (const ui::layout::DropDown &menu : ui::layout::menuBar(window)) {
        interface += ui::layout::shownCaption(menu.title->caption);
        for (const ui::layout::MenuLine &line : menu.lines)
            interface += ui::layout::shownCaption(line.entry->caption) + line.shortcut;
    }
    interface += window.caption;
}

} // namespace

int main()
{
    std::map<Face, std::u16string> faces;
    std::u16string interface = std::u16string(identity::ApplicationTitle) + u"OK";
    addWindow(faces, interface, ui::mainLayout());
    addWindow(faces, interface, ui::aboutLayout());
    interface += ui::MainForm::instructionsPrompt();

    ui::web::JsonWriter json;
    json.beginObject();
    json.key("faces").beginArray();
    for (const auto &[face, text] : faces) {
        json.beginObject();
        json.key("face").string(face.first);
        json.key("bold").boolean(face.second);
        json.key("text").string(text);
        json.endObject();
    }
    json.endArray();
    json.key("interface").string(interface);
    json.endObject();
    std::puts(json.text().c_str());
    return 0;
}
