#include "runtime/power.h"

#include <cmath>

namespace runtime {

// This file is built with -fno-builtin-pow and -fno-builtin-exp: these stay
// calls to the library.
double Pow(double base, double exponent) noexcept
{
    return std::pow(base, exponent);
}

double Exp(double x) noexcept
{
    return std::exp(x);
}

} // namespace runtime
