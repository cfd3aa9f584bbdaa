#include "ui/web/web_json.h"

#include <cmath>
#include <cstdio>

namespace ui::web {

namespace {

void appendUtf8(std::string &out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(char(c));
    } else if (c < 0x800) {
        out.push_back(char(0xC0 | (c >> 6)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(char(0xE0 | (c >> 12)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (c >> 18)));
        out.push_back(char(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(char(0x80 | (c & 0x3F)));
    }
}

bool isHigh(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLow(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

} // namespace

std::string Utf8(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (isHigh(c) && i + 1 < text.size() && isLow(text[i + 1])) {
            appendUtf8(out, 0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
            ++i;
        } else if (isHigh(c) || isLow(c)) {
            appendUtf8(out, 0xFFFD);
        } else {
            appendUtf8(out, c);
        }
    }
    return out;
}

void JsonWriter::separate()
{
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_filled.empty()) {
        if (m_filled.back())
            m_text.push_back(',');
        m_filled.back() = true;
    }
}

void JsonWriter::beginObject()
{
    separate();
    m_text.push_back('{');
    m_filled.push_back(false);
}

void JsonWriter::endObject()
{
    m_text.push_back('}');
    m_filled.pop_back();
}

void JsonWriter::beginArray()
{
    separate();
    m_text.push_back('[');
    m_filled.push_back(false);
}

void JsonWriter::endArray()
{
    m_text.push_back(']');
    m_filled.pop_back();
}

JsonWriter &JsonWriter::key(std::string_view name)
{
    separate();
    quoted(std::u16string(name.begin(), name.end()));
    m_text.push_back(':');
    m_afterKey = true;
    return *this;
}

void JsonWriter::quoted(std::u16string_view text)
{
    m_text.push_back('"');
    std::u16string plain;
    const auto flush = [&] {
        m_text += Utf8(plain);
        plain.clear();
    };
    for (const char16_t c : text) {
        if (c == u'"' || c == u'\\') {
            plain.push_back(u'\\');
            plain.push_back(c);
        } else if (c < 0x20) {
            // Control characters (the carriage returns of the captions
            // among them) as escapes, so the text arrives as it is.
            flush();
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(c));
            m_text += escape;
        } else {
            plain.push_back(c);
        }
    }
    flush();
    m_text.push_back('"');
}

void JsonWriter::string(std::u16string_view text)
{
    separate();
    quoted(text);
}

void JsonWriter::string(std::string_view utf8)
{
    separate();
    m_text.push_back('"');
    for (const char c : utf8) {
        if (c == '"' || c == '\\') {
            m_text.push_back('\\');
            m_text.push_back(c);
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", unsigned(static_cast<unsigned char>(c)));
            m_text += escape;
        } else {
            m_text.push_back(c);
        }
    }
    m_text.push_back('"');
}

void JsonWriter::number(double value)
{
    separate();
    if (!std::isfinite(value)) {
        m_text += "null";
        return;
    }
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.17g", value);
    m_text += digits;
}

void JsonWriter::boolean(bool value)
{
    separate();
    m_text += value ? "true" : "false";
}

} // namespace ui::web
