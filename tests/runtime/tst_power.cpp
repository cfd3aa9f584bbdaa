#include "runtime/power.h"
#include "runtime/fault_test.h"

#include <doctest/doctest.h>

#include <cfenv>
#include <cmath>
#include <limits>

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// A result as a C library might hand it back, with no flag raised: the
// completion alone decides which tested flags are up afterwards, so these
// rows hold on a library that raises the flags itself too.
struct Completion {
    const char *name;
    bool isPow;
    double base; // exp's argument when !isPow
    double exponent;
    double result;
    int raised;
};

const Completion completions[] = {
    {"exp: infinite from a finite argument is an overflow", false, 1000.0, 0, inf, FE_OVERFLOW},
    {"exp: NaN from a finite argument is invalid", false, 1.0, 0, nan, FE_INVALID},
    {"exp: NaN argument raises nothing new", false, nan, 0, nan, 0},
    {"exp: infinite argument, infinite result raises nothing", false, inf, 0, inf, 0},
    {"exp: ordinary result raises nothing", false, 1.0, 0, 2.718281828459045, 0},
    {"exp: result below the range raises nothing", false, -1000.0, 0, 0.0, 0},
    {"pow: infinite from finite arguments is an overflow", true, 1e300, 2.0, inf, FE_OVERFLOW},
    {"pow: negative infinite from finite arguments is an overflow", true, -1e300, 3.0, -inf, FE_OVERFLOW},
    {"pow: zero to a negative power is a pole, a division by zero", true, 0.0, -1.0, inf, FE_DIVBYZERO},
    {"pow: negative zero to an odd negative power is a pole", true, -0.0, -3.0, -inf, FE_DIVBYZERO},
    {"pow: NaN from a negative base and a fractional exponent is invalid", true, -8.0, 1.0 / 3.0, nan, FE_INVALID},
    {"pow: NaN base raises nothing new", true, nan, 2.0, nan, 0},
    {"pow: NaN exponent raises nothing new", true, 2.0, nan, nan, 0},
    {"pow: infinite base, infinite result raises nothing", true, inf, 2.0, inf, 0},
    {"pow: infinite exponent, infinite result raises nothing", true, 2.0, inf, inf, 0},
    {"pow: ordinary result raises nothing", true, 2.0, 3.0, 8.0, 0},
};

} // namespace

TEST_CASE("the flags of a pow or exp result are completed whatever the library raised")
{
    for (const Completion &row : completions) {
        INFO(row.name);
        runtime::ClearFaults();
        if (row.isPow)
            runtime::detail::CompletePowFlags(row.base, row.exponent, row.result);
        else
            runtime::detail::CompleteExpFlags(row.base, row.result);
        CHECK(runtime::PendingFaults() == row.raised);
    }
    runtime::ClearFaults();
}
