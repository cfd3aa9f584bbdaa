#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ui::web {

// Writes JSON text (UTF-8) for what the module hands to the page and to the
// build and test tools: the layout tables, character sets, the scenario
// table. It puts the commas; the caller nests objects and arrays properly.
class JsonWriter {
public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    // The name of the next member of an object, its value written next:
    // json.key("width").number(6390).
    JsonWriter &key(std::string_view name);

    void string(std::u16string_view text);
    void string(std::string_view utf8);
    void number(double value);
    void boolean(bool value);

    const std::string &text() const { return m_text; }

private:
    void separate();
    void quoted(std::u16string_view text);

    std::string m_text;
    std::vector<bool> m_filled; // per open container: something written in it already
    bool m_afterKey = false;
};

// UTF-16 as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf8(std::u16string_view text);

} // namespace ui::web
