#pragma once

// What the fuzz targets share: the C-library references they compare with,
// in the C locale whatever the process locale, and a failure that stops the
// run with a readable message so that libFuzzer keeps the input.

#include "runtime/error.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <string>
#include <string_view>

namespace fuzz {

[[noreturn]] inline void fail(const char *format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::fputs("\n*** property violated: ", stderr);
    std::vfprintf(stderr, format, args);
    std::fputs("\n", stderr);
    va_end(args);
    std::abort();
}

inline locale_t cLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return c;
}

// Runs printf-style formatting in the C locale.
inline std::string printC(const char *format, ...)
{
    const locale_t previous = uselocale(cLocale());
    std::va_list args;
    va_start(args, format);
    std::va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    std::string out(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(out.data(), out.size(), format, again);
    out.resize(static_cast<std::size_t>(length));
    va_end(again);
    va_end(args);
    uselocale(previous);
    return out;
}

inline std::uint64_t bits(double value)
{
    std::uint64_t out;
    std::memcpy(&out, &value, sizeof out);
    return out;
}

// Bytes as Latin-1: one code unit per byte.
inline std::u16string latin1(const std::uint8_t *data, std::size_t size)
{
    return std::u16string(data, data + size);
}

// Bytes as little-endian UTF-16 code units; an odd last byte is dropped.
inline std::u16string utf16(const std::uint8_t *data, std::size_t size)
{
    std::u16string out;
    out.reserve(size / 2);
    for (std::size_t i = 0; i + 1 < size; i += 2)
        out.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    return out;
}

// A text for messages: ASCII as it is, everything else as \uXXXX.
inline std::string show(std::u16string_view text)
{
    std::string out = "\"";
    for (const char16_t c : text) {
        if (c >= 0x20 && c < 0x7f && c != u'"' && c != u'\\') {
            out.push_back(static_cast<char>(c));
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04X", unsigned(c));
            out += escaped;
        }
    }
    return out + "\"";
}

// A text that is known to be ASCII, narrowed.
inline std::string narrow(std::u16string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char16_t c : text) {
        if (c > 0x7f)
            fail("narrow: %s is not ASCII", show(text).c_str());
        out.push_back(static_cast<char>(c));
    }
    return out;
}

inline const char *kindName(runtime::ErrorKind kind)
{
    switch (kind) {
    case runtime::ErrorKind::Conversion: return "Conversion";
    case runtime::ErrorKind::Overflow: return "Overflow";
    case runtime::ErrorKind::DivisionByZero: return "DivisionByZero";
    case runtime::ErrorKind::InvalidOperation: return "InvalidOperation";
    case runtime::ErrorKind::SubscriptOutOfRange: return "SubscriptOutOfRange";
    case runtime::ErrorKind::Overflow16: return "Overflow16";
    case runtime::ErrorKind::NegativeInput: return "NegativeInput";
    }
    return "(unknown kind)";
}

} // namespace fuzz
