// Prints the shared scenario table (tests/ui/scenarios.h) as JSON, for the
// browser driver: the same rows the window model, the Qt and the Win32
// windows run, read from the table itself.

#include "../scenarios.h"

#include "ui/web/web_json.h"

#include <cstdio>

int main()
{
    ui::web::JsonWriter json;
    json.beginArray();
    for (const scenarios::Scenario &scenario : scenarios::all()) {
        const scenarios::Expected &e = scenario.expected;
        json.beginObject();
        json.key("name");
        json.string(std::string_view(scenario.name));
        json.key("actions");
        json.beginArray();
        for (const std::u16string &action : scenario.actions)
            json.string(action);
        json.endArray();
        json.key("expected");
        json.beginObject();
        json.key("txtT");
        json.string(e.txtT);
        json.key("txtL");
        json.string(e.txtL);
        json.key("lblLT");
        json.string(e.lblLT);
        json.key("lblF");
        json.string(e.lblF);
        json.key("focus");
        json.string(e.focus);
        json.key("messages");
        json.beginArray();
        for (const std::u16string &message : e.messages)
            json.string(message);
        json.endArray();
        json.key("ended");
        json.boolean(e.ended);
        json.key("mainVisible");
        json.boolean(e.mainVisible);
        json.key("aboutVisible");
        json.boolean(e.aboutVisible);
        json.endObject();
        json.endObject();
    }
    json.endArray();
    std::puts(json.text().c_str());
    return 0;
}
