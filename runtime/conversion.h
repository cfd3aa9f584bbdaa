#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace runtime {

// Text <-> number conversion, rounding and 16-bit text lengths: the services
// that turn what a user typed into doubles and doubles into what the window
// shows. They are locale-free: the decimal separator is always the full stop,
// whatever locale the process runs in.

// Converts a decimal number to the nearest double.
// Accepted: optional spaces or tabs around the number, an optional sign,
// digits with an optional full stop and fraction ("5", "5.", ".5"), and an
// optional exponent ("e" or "E", optional sign, digits).
// Throws Error(Conversion) for anything else, including the empty text,
// "inf", "nan", hexadecimal and non-ASCII digits, and Error(Overflow) for a
// magnitude beyond the double range. A magnitude below the smallest double
// gives 0 (or the nearest subnormal) without an error.
double TextToDouble(std::u16string_view text);

// Canonical text of a double: up to 15 significant digits, trailing zeros
// removed, fixed notation for 1e-4 <= |x| < 1e15 and "1.5E+20" / "1E-05"
// otherwise (C's "%.15G" in the C locale). Negative zero gives "0". The
// doubles above 1.79769313486231E+308, which "%.15G" rounds out of the double
// range, are written as 1.79769313486231E+308 so that every text converts
// back: converting the text and writing it again gives the same text.
std::u16string DoubleToText(double value);

// Rounds to `decimals` decimal places. The decision is taken on the exact
// binary value, an exact tie going to the even neighbour; the result is the
// double nearest the rounded decimal. Non-finite values come back unchanged.
double RoundToDecimals(double value, int decimals);

// The length of a text in UTF-16 code units as a signed 16-bit integer;
// throws Error(Overflow16) above 32767.
std::int16_t TextLength(std::u16string_view text);

// Throws Error(Overflow16).
[[noreturn]] void RaiseOverflow16();

// 16-bit addition that throws Error(Overflow16) when the sum leaves the range.
// Inline: the series counts its index with it once a term.
inline std::int16_t AddInt16(std::int16_t a, std::int16_t b)
{
    const int sum = int(a) + int(b);
    if (sum > INT16_MAX || sum < INT16_MIN) [[unlikely]]
        RaiseOverflow16();
    return static_cast<std::int16_t>(sum);
}

// The one-character text holding a carriage return (code 13), the line
// break inside texts the program builds.
inline constexpr char16_t CarriageReturn = u'\r';

} // namespace runtime
