#include "runtime/conversion.h"

#include "runtime/error.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>
#if defined(__EMSCRIPTEN__)
#include <cstdio>
#include <cstdlib>
#endif

// Emscripten's C++ library (libc++ 13) has no floating-point from_chars or
// to_chars. Its C library's strtod and snprintf are correctly rounded and
// ignore the locale (the decimal point is always the full stop), so there
// they do the same work. Elsewhere they would not: glibc's follow the
// process locale.

namespace runtime {

namespace {

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

[[noreturn]] void failConversion() { throw Error(ErrorKind::Conversion); }

// The number once its grammar is checked: ASCII, blanks and a leading '+'
// removed, so that std::from_chars accepts exactly what the grammar allows.
struct ScannedNumber {
    std::string ascii;
    // Decimal exponent of the first non-zero digit (the value lies in
    // [10^e, 10^(e+1))), saturated; only meaningful when nonZero is set.
    long long leadingExponent = 0;
    bool nonZero = false;
};

ScannedNumber scan(std::u16string_view text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;

    ScannedNumber out;
    out.ascii.reserve(end - begin);
    std::size_t i = begin;
    if (i < end && (text[i] == u'+' || text[i] == u'-')) {
        if (text[i] == u'-')
            out.ascii.push_back('-');
        ++i;
    }

    long long intDigits = 0;
    long long firstNonZero = -1; // index among all mantissa digits
    long long mantissaDigits = 0;
    auto takeDigit = [&](char16_t c) {
        if (c != u'0' && firstNonZero < 0)
            firstNonZero = mantissaDigits;
        ++mantissaDigits;
        out.ascii.push_back(static_cast<char>(c));
    };

    while (i < end && isDigit(text[i])) {
        takeDigit(text[i++]);
        ++intDigits;
    }
    bool fractionDigits = false;
    if (i < end && text[i] == u'.') {
        out.ascii.push_back('.');
        ++i;
        while (i < end && isDigit(text[i])) {
            takeDigit(text[i++]);
            fractionDigits = true;
        }
    }
    if (intDigits == 0 && !fractionDigits)
        failConversion();

    long long exponent = 0;
    if (i < end && (text[i] == u'e' || text[i] == u'E')) {
        out.ascii.push_back('e');
        ++i;
        bool negative = false;
        if (i < end && (text[i] == u'+' || text[i] == u'-')) {
            negative = text[i] == u'-';
            out.ascii.push_back(static_cast<char>(text[i]));
            ++i;
        }
        if (i == end || !isDigit(text[i]))
            failConversion();
        constexpr long long saturation = 1'000'000'000'000LL;
        while (i < end && isDigit(text[i])) {
            if (exponent < saturation)
                exponent = exponent * 10 + (text[i] - u'0');
            out.ascii.push_back(static_cast<char>(text[i]));
            ++i;
        }
        if (negative)
            exponent = -exponent;
    }
    if (i != end)
        failConversion();

    if (firstNonZero >= 0) {
        out.nonZero = true;
        out.leadingExponent = exponent + (intDigits - 1 - firstNonZero);
    }
    return out;
}

} // namespace

double TextToDouble(std::u16string_view text)
{
    const ScannedNumber number = scan(text);
#if defined(__EMSCRIPTEN__)
    // The grammar is checked, so strtod reads the whole text; it gives an
    // infinity beyond the double range and 0 or a subnormal below it.
    const double value = std::strtod(number.ascii.c_str(), nullptr);
    if (std::isinf(value))
        throw Error(ErrorKind::Overflow);
    return value;
#else
    const char *first = number.ascii.data();
    const char *last = first + number.ascii.size();
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
    if (ec == std::errc() && ptr == last)
        return value;
    if (ec == std::errc::result_out_of_range && ptr == last) {
        // from_chars reports both ends of the range alike; the position of
        // the first significant digit tells which one was passed.
        if (number.nonZero && number.leadingExponent >= 0)
            throw Error(ErrorKind::Overflow);
        return number.ascii.front() == '-' ? -0.0 : 0.0;
    }
    failConversion();
#endif
}

std::u16string DoubleToText(double value)
{
    if (value == 0.0)
        return u"0"; // also for -0.0
    std::array<char, 64> buffer{};
#if defined(__EMSCRIPTEN__)
    const int length = std::snprintf(buffer.data(), buffer.size(), "%.15g", value);
    std::string_view digits(buffer.data(), std::size_t(length));
#else
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 15);
    std::string_view digits(buffer.data(), std::size_t(result.ptr - buffer.data()));
#endif
    // The largest doubles round up to 1.79769313486232E+308 at 15 digits, a
    // number beyond the double range that would not read back: such a value
    // is written one unit lower in the last digit instead, so every text
    // this writes converts back to a double that writes the same text.
    if (digits == "1.79769313486232e+308")
        digits = "1.79769313486231e+308";
    else if (digits == "-1.79769313486232e+308")
        digits = "-1.79769313486231e+308";
    std::u16string text;
    for (const char *p = digits.data(); p != digits.data() + digits.size(); ++p) {
        char c = *p;
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A'); // "1E+20", "INF", "NAN"
        text.push_back(static_cast<char16_t>(c));
    }
    return text;
}

double RoundToDecimals(double value, int decimals)
{
    if (!std::isfinite(value))
        return value;
    // A fixed-notation print with a precision rounds the exact binary value,
    // ties to even; reading the digits back gives the nearest double. The
    // largest double has 309 integer digits.
    std::array<char, 400> buffer{};
#if defined(__EMSCRIPTEN__)
    std::snprintf(buffer.data(), buffer.size(), "%.*f", decimals, value);
    return std::strtod(buffer.data(), nullptr);
#else
    const auto printed = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                       std::chars_format::fixed, decimals);
    double rounded = 0.0;
    std::from_chars(buffer.data(), printed.ptr, rounded, std::chars_format::fixed);
    return rounded;
#endif
}

std::int16_t TextLength(std::u16string_view text)
{
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max()))
        throw Error(ErrorKind::Overflow16);
    return static_cast<std::int16_t>(text.size());
}

void RaiseOverflow16()
{
    throw Error(ErrorKind::Overflow16);
}

} // namespace runtime
