#pragma once

namespace runtime {

// The power operation and the exponential of the series: the C library's
// pow and exp, nothing added. They are defined in this library's own source,
// which is built so that the compiler neither evaluates nor replaces them
// (pow(x, 2.0) by x * x, a rounding different from the library's) whatever
// the caller is built with. What a result that is not finite stands for is
// FaultTest's business.
double Pow(double base, double exponent) noexcept;
double Exp(double x) noexcept;

} // namespace runtime
