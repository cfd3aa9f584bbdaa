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
        json.key("name").string(std::string_view(scenario.name));
        json.key("actions").beginArray();
        for (const std::u16string &action : scenario.actions)
            json.string(action);
        json.endArray();
        json.key("expected").beginObject();
        json.key("txtT").string(e.txtT);
        json.key("txtL").string(e.txtL);
        json.key("lblLT").string(e.lblLT);
        json.key("lblF").string(e.lblF);
        json.key("focus").string(e.focus);
        json.key("messages").beginArray();
        for (const std::u16string &message : e.messages)
            json.string(message);
        json.endArray();
        json.key("ended").boolean(e.ended);
        json.key("mainVisible").boolean(e.mainVisible);
        json.key("aboutVisible").boolean(e.aboutVisible);
        json.endObject();
        json.endObject();
    }
    json.endArray();
    std::puts(json.text().c_str());
    return 0;
}
