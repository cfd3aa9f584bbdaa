#include "ui/web/web_design.h"

#include "ui/web/web_json.h"

namespace ui::web {

namespace {

const char *kindName(layout::Kind kind)
{
    switch (kind) {
    case layout::Kind::CommandButton:
        return "button";
    case layout::Kind::Frame:
        return "frame";
    case layout::Kind::Label:
        return "label";
    case layout::Kind::TextBox:
        return "textbox";
    case layout::Kind::Picture:
        return "picture";
    }
    return "";
}

// The shown caption, its access key and where the key shows.
void caption(JsonWriter &json, std::u16string_view text)
{
    json.key("text").string(layout::shownCaption(text));
    const char16_t key = layout::accessKey(text);
    json.key("key").string(key ? std::u16string(1, key) : std::u16string());
    json.key("keyAt").number(accessKeyPosition(text));
}

void control(JsonWriter &json, const layout::ControlDesign &design)
{
    json.beginObject();
    json.key("name").string(design.name);
    json.key("kind").string(std::string_view(kindName(design.kind)));
    json.key("id").number(int(design.id));
    caption(json, design.caption);
    json.key("container").string(design.container);
    json.key("left").number(design.rect.left);
    json.key("top").number(design.rect.top);
    json.key("width").number(design.rect.width);
    json.key("height").number(design.rect.height);
    if (design.font) {
        json.key("font").beginObject();
        json.key("family").string(CssFontFamily(design.font->face));
        json.key("points").number(design.font->points);
        json.key("bold").boolean(design.font->bold);
        json.endObject();
    }
    json.key("tab").number(design.tabIndex);
    json.key("centred").boolean(design.align == layout::Align::Centre);
    json.key("white").boolean(design.white);
    json.key("accessibleName").string(design.accessibleName);
    json.key("accessibleDescription").string(design.accessibleDescription);
    json.key("picture").string(design.picture);
    json.endObject();
}

void menus(JsonWriter &json, const layout::WindowDesign &design)
{
    json.beginArray();
    for (const layout::DropDown &dropDown : layout::menuBar(design)) {
        json.beginObject();
        json.key("name").string(dropDown.title->name);
        caption(json, dropDown.title->caption);
        json.key("lines").beginArray();
        for (const layout::MenuLine &line : dropDown.lines) {
            json.beginObject();
            json.key("name").string(line.entry->name);
            json.key("separator").boolean(line.separator);
            caption(json, line.separator ? std::u16string_view() : line.entry->caption);
            json.key("shortcut").string(line.shortcut);
            json.key("ctrlKey");
            const char16_t ctrl = layout::ctrlLetter(*line.entry);
            json.string(ctrl ? std::u16string(1, ctrl) : std::u16string());
            json.key("item").number(int(line.entry->item));
            json.endObject();
        }
        json.endArray();
        json.endObject();
    }
    json.endArray();
}

} // namespace

std::string DesignJson(const layout::WindowDesign &design)
{
    JsonWriter json;
    json.beginObject();
    json.key("name").string(design.name);
    json.key("caption").string(design.caption);
    json.key("width").number(design.clientWidth);
    json.key("height").number(design.clientHeight);
    json.key("controls").beginArray();
    for (const layout::ControlDesign &c : design.controls)
        control(json, c);
    json.endArray();
    json.key("tabOrder").beginArray();
    for (const layout::ControlDesign *c : layout::tabOrder(design))
        json.string(c->name);
    json.endArray();
    json.key("menus");
    menus(json, design);
    json.endObject();
    return json.text();
}

std::string CssFontFamily(std::u16string_view face)
{
    if (face == u"Garamond")
        return "\"EB Garamond\", Garamond, serif";
    if (face == u"MS Sans Serif")
        return "\"Emberline Sans\", \"Liberation Sans\", Arial, sans-serif";
    return "\"" + Utf8(face) + "\", sans-serif";
}

int accessKeyPosition(std::u16string_view caption)
{
    int shown = 0;
    for (std::size_t i = 0; i < caption.size(); ++i, ++shown) {
        if (caption[i] != u'&' || i + 1 >= caption.size())
            continue;
        ++i; // the marked character, or the second '&' of a shown ampersand
        if (caption[i] != u'&')
            return shown;
    }
    return -1;
}

} // namespace ui::web
