// Prints the main window as the program shows it at start-up, for the copy
// of it that index.html holds until the module is running:
// {"design": <the layout table, as the module hands it to the page>,
//  "boxes": {"txtT": "0", ...}, "labels": {"lblLT": "", ...}}.
// The texts are those the program itself leaves in the window once it has
// started (the real lifecycle and Form_Load, on the window model).

#include "ui/layout.h"
#include "ui/main/main_layout.h"
#include "ui/web/web_design.h"
#include "ui/web/web_json.h"
#include "ui/window_model.h"

#include <cstdio>
#include <string>

int main()
{
    const ui::WindowModel program;
    if (!program.mainVisible())
        return 1;

    ui::web::JsonWriter texts;
    texts.beginObject();
    texts.key("boxes").beginObject();
    for (const ui::layout::ControlDesign &control : ui::mainLayout().controls) {
        if (control.kind == ui::layout::Kind::TextBox)
            texts.key(control.name).string(program.text(control.id));
    }
    texts.endObject();
    texts.key("labels").beginObject();
    texts.key("lblLT").string(program.lblLT());
    texts.key("lblF").string(program.lblF());
    texts.endObject();
    texts.endObject();

    // The design as DesignJson writes it, member for member the module's.
    const std::string &rest = texts.text();
    std::printf("{\"design\": %s, %s\n", ui::web::DesignJson(ui::mainLayout()).c_str(), rest.c_str() + 1);
    return 0;
}
