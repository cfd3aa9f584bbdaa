#pragma once

#include <cmath>

namespace runtime {

// The power operation and the exponential of the series: the C library's
// pow and exp, with the IEEE-754 flags that their result calls for raised
// whatever the library did. Not every C runtime raises them (MinGW's exp
// returns infinity for exp(1000) without raising overflow), and the fault
// test after each step of the series only sees the flags. Underflow and
// inexact are left as the library leaves them; nothing tests them.
// Pow and Exp are defined below.

namespace detail {

// Raises the flags IEEE 754 asks of `result` as the value of pow(base,
// exponent) or exp(x), in case the library left them out: an infinite result
// from finite arguments is an overflow, except pow's pole (a zero base with a
// negative exponent), which is a division by zero; a NaN from arguments that
// are not NaN is an invalid operation. Raising a flag that is already up
// changes nothing, so a library that raises them itself gives the same flags.
void CompletePowFlags(double base, double exponent, double result) noexcept;
void CompleteExpFlags(double x, double result) noexcept;

// The library's pow and exp themselves. They are called from this library's
// own source, which is built so that the compiler neither evaluates nor
// replaces them (pow(x, 2.0) by x * x) whatever the caller is built with.
double LibraryPow(double base, double exponent) noexcept;
double LibraryExp(double x) noexcept;

} // namespace detail

// Inline, so that the series pays for one call per power, not two (a
// calculation makes 500 of them): only a result that is not finite needs
// its flags looked at.
inline double Pow(double base, double exponent) noexcept
{
    const double result = detail::LibraryPow(base, exponent);
    if (!std::isfinite(result)) [[unlikely]]
        detail::CompletePowFlags(base, exponent, result);
    return result;
}

inline double Exp(double x) noexcept
{
    const double result = detail::LibraryExp(x);
    if (!std::isfinite(result)) [[unlikely]]
        detail::CompleteExpFlags(x, result);
    return result;
}

} // namespace runtime
