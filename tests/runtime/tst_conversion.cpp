#include "runtime/conversion.h"
#include "runtime/error.h"

#include <doctest/doctest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#if defined(__GLIBC__)
#include <locale.h>
#endif

using runtime::ErrorKind;
using namespace std::string_view_literals;

namespace {

std::string ascii(std::u16string_view s) { return std::string(s.begin(), s.end()); }
// The bits of a double (std::bit_cast is missing from libc++ 13).
std::uint64_t bits(double value)
{
    std::uint64_t out;
    std::memcpy(&out, &value, sizeof out);
    return out;
}

constexpr double maxDouble = std::numeric_limits<double>::max();

#if defined(_WIN32)
constexpr bool IsWindows = true;
#else
constexpr bool IsWindows = false;
#endif

} // namespace

TEST_CASE("TextToDouble")
{
    // Without an error kind, the text converts to `expected`.
    struct Row {
        const char *name;
        std::u16string text;
        double expected;
        std::optional<ErrorKind> error;
    };
    const auto conversion = ErrorKind::Conversion;
    const auto overflow = ErrorKind::Overflow;
    const Row rows[] = {
        {"plain integer", u"5800", 5800.0, {}},
        {"trailing full stop", u"5.", 5.0, {}},
        {"leading full stop", u".5", 0.5, {}},
        {"trailing zero in fraction", u"0.50", 0.5, {}},
        {"leading plus", u"+2.5", 2.5, {}},
        {"leading minus", u"-250", -250.0, {}},
        {"minus zero", u"-0", -0.0, {}},
        {"zero with fraction", u"0.0", 0.0, {}},
        {"lower-case exponent", u"1e3", 1000.0, {}},
        {"upper-case exponent with sign", u"1.5E+20", 1.5e20, {}},
        {"negative exponent", u"1E-05", 1e-5, {}},
        {"exponent after trailing full stop", u"5.e2", 500.0, {}},
        {"spaces around", u"  300  ", 300.0, {}},
        {"tabs around", u"\t300\t", 300.0, {}},
        {"many leading zeros", u"000000000000000000000000000042", 42.0, {}},
        {"correctly rounded 0.1", u"0.1", 0.1, {}},
        {"largest double", u"1.7976931348623157e308", maxDouble, {}},
        {"subnormal", u"4.9406564584124654e-324", std::numeric_limits<double>::denorm_min(), {}},
        {"below the smallest double becomes zero", u"1e-400", 0.0, {}},
        {"negative below the smallest double", u"-1e-400", -0.0, {}},
        {"tiny mantissa with huge exponent", u"0.000001e-99999999999999999999", 0.0, {}},
        {"long zero with big exponent", u"0e99999", 0.0, {}},
        {"long digit string", u"0." + std::u16string(400, u'1') + u"e1", 1.1111111111111112, {}},

        {"empty text", u"", 0, conversion},
        {"only spaces", u"   ", 0, conversion},
        {"lone full stop", u".", 0, conversion},
        {"lone sign", u"-", 0, conversion},
        {"two signs", u"+-1", 0, conversion},
        {"infinity", u"inf", 0, conversion},
        {"infinity spelled out", u"Infinity", 0, conversion},
        {"not a number", u"nan", 0, conversion},
        {"hexadecimal", u"0x10", 0, conversion},
        {"hexadecimal float", u"0x1p3", 0, conversion},
        {"thousands separator", u"1,000", 0, conversion},
        {"decimal comma", u"0,5", 0, conversion},
        {"unit after number", u"5800K", 0, conversion},
        {"inner space", u"58 00", 0, conversion},
        {"space between sign and digits", u"- 5", 0, conversion},
        {"exponent without digits", u"1e", 0, conversion},
        {"exponent with sign only", u"1e+", 0, conversion},
        {"exponent without mantissa", u"e5", 0, conversion},
        {"fractional exponent", u"1e2.5", 0, conversion},
        {"two full stops", u"1.2.3", 0, conversion},
        {"letters", u"abc", 0, conversion},
        {"arabic-indic digits", u"\u0665\u0668\u0660\u0660", 0, conversion},
        {"fullwidth digits", u"\uFF15", 0, conversion},
        {"non-breaking space around", u"\u00A05", 0, conversion},
        {"newline after number", u"5\n", 0, conversion},
        {"embedded nul", std::u16string(u"5\0" u"0"sv), 0, conversion},

        {"beyond the double range", u"1E400", 0, overflow},
        {"negative beyond the double range", u"-1e400", 0, overflow},
        {"just beyond the largest double", u"1.7976931348623159e308", 0, overflow},
        {"huge exponent", u"1e99999999999999999999", 0, overflow},
        {"huge number of digits", std::u16string(400, u'9'), 0, overflow},
    };
    for (const Row &row : rows) {
        INFO(row.name);
        try {
            const double value = runtime::TextToDouble(row.text);
            CHECK_FALSE(row.error);
            CHECK(bits(value) == bits(row.expected));
        } catch (const runtime::Error &error) {
            CHECK(error.kind() == row.error);
            CHECK(error.input() == runtime::Input::None);
        }
    }
}

TEST_CASE("text to double ignores the process locale" * doctest::skip(IsWindows))
{
    // A desktop session may run the program in a locale with a decimal
    // comma; the full stop stays the separator. The Windows C runtime names
    // its locales differently, so this runs on Linux, where scripts/deps.sh
    // generates de_DE.UTF-8.
    const char *previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    const bool decimalComma = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "fr_FR.UTF-8");
    REQUIRE_MESSAGE(decimalComma, "no locale with a decimal comma: generate de_DE.UTF-8 (scripts/deps.sh)");
    const double value = runtime::TextToDouble(u"0.5");
    const std::u16string text = runtime::DoubleToText(0.25);
    std::setlocale(LC_NUMERIC, saved.c_str());
    CHECK(value == 0.5);
    CHECK(ascii(text) == "0.25");
}

TEST_CASE("DoubleToText")
{
    struct Row {
        const char *name;
        double value;
        const char *text;
    };
    const Row rows[] = {
        {"whole number gives digits only", 5800.0, "5800"},
        {"trailing zeros removed", 0.5, "0.5"},
        {"four decimals below one", 0.7201, "0.7201"},
        {"rounded fraction 0.001", 0.001, "0.001"},
        {"negative", -51.6004, "-51.6004"},
        {"negative zero", -0.0, "0"},
        {"zero", 0.0, "0"},
        {"fifteen significant digits", 0.1 + 0.2, "0.3"},
        {"pi to fifteen digits", 3.14159265358979, "3.14159265358979"},
        {"smallest fixed value", 1e-4, "0.0001"},
        {"below fixed range", 1e-5, "1E-05"},
        {"largest fixed range", 999999999999999.0, "999999999999999"},
        {"start of exponent form", 1e15, "1E+15"},
        {"exponent with mantissa", 1.5e20, "1.5E+20"},
        {"three-digit exponent", 1e300, "1E+300"},
        {"negative tiny", -2.5e-7, "-2.5E-07"},
        {"largest double stays within the range", maxDouble, "1.79769313486231E+308"},
        {"largest negative double", -maxDouble, "-1.79769313486231E+308"},
        {"just below the rounding edge", 1.7976931348623e308, "1.7976931348623E+308"},
        {"subnormal", std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
        {"one million", 1e6, "1000000"},
    };
    for (const Row &row : rows) {
        INFO(row.name);
        CHECK(ascii(runtime::DoubleToText(row.value)) == row.text);
    }
}

TEST_CASE("RoundToDecimals")
{
    struct Row {
        const char *name;
        double value;
        int decimals;
        double expected;
    };
    const Row rows[] = {
        {"F for 5800 K and 1 um", 0.72012419788325499, 4, 0.7201},
        {"exact tie goes down to even", 0.53125, 4, 0.5312},
        {"exact tie goes up to even", 0.59375, 4, 0.5938},
        {"exact tie 1/32 goes down to even", 0.03125, 4, 0.0312},
        {"exact tie 3/32 goes up to even", 0.09375, 4, 0.0938},
        {"2.5 to a whole number is 2", 2.5, 0, 2.0},
        {"3.5 to a whole number is 4", 3.5, 0, 4.0},
        {"-2.5 to a whole number is -2", -2.5, 0, -2.0},
        {"double nearest 0.00005 lies above the tie", 0.00005, 4, 0.0001},
        {"double nearest 0.00015 lies below the tie", 0.00015, 4, 0.0001},
        {"just below one rounds to one", 0.99999995, 4, 1.0},
        {"tiny positive rounds to zero", 8.8e-202, 4, 0.0},
        {"tiny negative rounds to negative zero", -1e-9, 4, -0.0},
        {"negative fraction", -51.60036023, 4, -51.6004},
        {"large whole value unchanged", 1e300, 0, 1e300},
        {"largest double unchanged", maxDouble, 4, maxDouble},
        {"0.999999598468 rounds to one", 0.999999598468, 4, 1.0},
        {"1110.0000001 to a whole number", 1110.0000001, 0, 1110.0},
    };
    for (const Row &row : rows) {
        INFO(row.name);
        CHECK(bits(runtime::RoundToDecimals(row.value, row.decimals)) == bits(row.expected));
    }
}

TEST_CASE("16-bit lengths and sums")
{
    CHECK(runtime::TextLength(u"0.7201") == 6);
    CHECK(runtime::TextLength(std::u16string(32767, u'0')) == 32767);
    CHECK(runtime::AddInt16(100, 1) == 101);
    CHECK(runtime::AddInt16(-32768, 32767) == -1);
    const auto overflow16 = [](auto operation) {
        try {
            operation();
        } catch (const runtime::Error &error) {
            return error.kind() == ErrorKind::Overflow16;
        }
        return false;
    };
    CHECK_MESSAGE(overflow16([] { runtime::TextLength(std::u16string(32768, u'0')); }), "a length of 32768");
    CHECK_MESSAGE(overflow16([] { runtime::AddInt16(32767, 1); }), "32767 + 1");
    CHECK_MESSAGE(overflow16([] { runtime::AddInt16(-32768, -1); }), "-32768 - 1");
}

// glibc's strtod and printf are correctly rounded (printf on the exact
// binary value, ties to even): independent references on random inputs.
// The Windows C runtime's are not the same, so these run on glibc only.
#if defined(__GLIBC__)

namespace {

// strtod in the C locale, whatever the process locale.
double referenceStrtod(const std::string &text)
{
    static locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(text.c_str(), nullptr, c);
}

std::string referencePrint(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return buffer;
}

} // namespace

TEST_CASE("TextToDouble agrees with strtod")
{
    // Random decimal texts of every shape the grammar allows; each accepted
    // one must give exactly strtod's correctly rounded double.
    std::mt19937_64 random(20261208);
    const std::string digits = "0123456789";
    auto someDigits = [&](int most) {
        std::string s;
        const int count = std::uniform_int_distribution<int>(1, most)(random);
        for (int i = 0; i < count; ++i)
            s += digits[random() % 10];
        return s;
    };
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        if (random() % 3 == 0)
            text += (random() % 2) ? "-" : "+";
        switch (random() % 3) {
        case 0: text += someDigits(20); break;
        case 1: text += someDigits(20) + "." + someDigits(20); break;
        default: text += '.'; text += someDigits(25); break;
        }
        if (random() % 2) {
            text += (random() % 2) ? 'e' : 'E';
            text += std::to_string(std::uniform_int_distribution<int>(-330, 310)(random));
        }
        INFO(text);
        const double expected = referenceStrtod(text);
        double value = 0.0;
        try {
            value = runtime::TextToDouble(std::u16string(text.begin(), text.end()));
        } catch (const runtime::Error &error) {
            REQUIRE(error.kind() == ErrorKind::Overflow);
            REQUIRE(std::isinf(expected));
            continue;
        }
        REQUIRE(bits(value) == bits(expected));
    }
}

TEST_CASE("DoubleToText agrees with printf and round-trips")
{
    std::mt19937_64 random(42);
    for (int i = 0; i < 20000; ++i) {
        double value = std::bit_cast<double>(random());
        if (!std::isfinite(value))
            continue;
        if (i % 2)
            value = std::ldexp(std::uniform_real_distribution<double>(-1, 1)(random), int(random() % 120) - 60);
        const std::u16string text = runtime::DoubleToText(value);
        std::string expected = value == 0 ? "0" : referencePrint(value);
        if (expected.ends_with("1.79769313486232E+308"))
            expected.replace(expected.size() - 21, 21, "1.79769313486231E+308");
        REQUIRE(ascii(text) == expected);
        // Reading the text back and writing it again gives the same text.
        REQUIRE(ascii(runtime::DoubleToText(runtime::TextToDouble(text))) == expected);
    }
}

TEST_CASE("RoundToDecimals agrees with printf")
{
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        const double value = std::uniform_real_distribution<double>(-2, 2)(random)
                * std::pow(10.0, int(random() % 10));
        const int decimals = int(random() % 6);
        char buffer[400];
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
        INFO(buffer);
        REQUIRE(bits(runtime::RoundToDecimals(value, decimals)) == bits(referenceStrtod(buffer)));
    }
}

#endif
