#include "runtime/power.h"

#include <cfenv>
#include <cmath>

namespace runtime::detail {

void CompletePowFlags(double base, double exponent, double result) noexcept
{
    if (std::isinf(result)) {
        if (std::isfinite(base) && std::isfinite(exponent))
            std::feraiseexcept(base == 0.0 && exponent < 0.0 ? FE_DIVBYZERO : FE_OVERFLOW);
    } else if (std::isnan(result) && !std::isnan(base) && !std::isnan(exponent)) {
        std::feraiseexcept(FE_INVALID);
    }
}

void CompleteExpFlags(double x, double result) noexcept
{
    if (std::isinf(result)) {
        if (std::isfinite(x))
            std::feraiseexcept(FE_OVERFLOW);
    } else if (std::isnan(result) && !std::isnan(x)) {
        std::feraiseexcept(FE_INVALID);
    }
}

// This file is built with -fno-builtin-pow and -fno-builtin-exp: these stay
// calls to the library.
double LibraryPow(double base, double exponent) noexcept
{
    return std::pow(base, exponent);
}

double LibraryExp(double x) noexcept
{
    return std::exp(x);
}

} // namespace runtime::detail
