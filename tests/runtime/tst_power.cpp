#include "runtime/fault_test.h"
#include "runtime/error.h"
#include "../support/fault_text.h"

#include <doctest/doctest.h>

#include <limits>
#include <optional>

using runtime::ErrorKind;
using runtime::FaultTest;
using test_support::faultText;
using test_support::faultTextOf;

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

// Without isPow, exp(base).
struct Row {
    const char *name;
    bool isPow;
    double base, exponent;
    std::optional<ErrorKind> expected;
};

const std::optional<ErrorKind> none;

const Row rows[] = {
    {"exp beyond the range is an overflow", false, 1000.0, 0, ErrorKind::Overflow},
    {"exp below the range is zero, not a fault", false, -1000.0, 0, none},
    {"exp of minus infinity is zero, not a fault", false, -inf, 0, none},
    {"exp of infinity is no new fault", false, inf, 0, none},
    {"exp of NaN is no new fault", false, nan, 0, none},
    {"pow beyond the range is an overflow", true, 1e300, 2.0, ErrorKind::Overflow},
    {"negative pow beyond the range is an overflow", true, -1e300, 3.0, ErrorKind::Overflow},
    {"pow below the range is zero, not a fault", true, 1e-300, 2.0, none},
    {"zero to a negative power is a division by zero", true, 0.0, -1.0, ErrorKind::DivisionByZero},
    {"negative zero to an odd negative power is a division by zero", true, -0.0, -3.0, ErrorKind::DivisionByZero},
    {"negative base to a fractional power is invalid", true, -8.0, 1.0 / 3.0, ErrorKind::InvalidOperation},
    {"pow of a NaN base is no new fault", true, nan, 2.0, none},
    {"pow to a NaN exponent is no new fault", true, 2.0, nan, none},
    {"pow of an infinite base is no new fault", true, inf, 2.0, none},
    {"pow to an infinite exponent is no new fault", true, 2.0, inf, none},
    {"ordinary pow", true, 2.0, 3.0, none},
};

} // namespace

TEST_CASE("the fault a result of pow or exp stands for")
{
    for (const Row &row : rows) {
        INFO(row.name);
        FaultTest faults;
        if (row.isPow)
            faults.pow(row.base, row.exponent);
        else
            faults.exp(row.base);
        CHECK(faultTextOf([&] { faults.test(); }) == faultText(row.expected));
    }
}
