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
constexpr double max = std::numeric_limits<double>::max();
constexpr double huge = 1e300;
constexpr double tiny = 1e-300;

struct Row {
    const char *name;
    void (*operations)(FaultTest &);
    std::optional<ErrorKind> expected;
};

const std::optional<ErrorKind> none;
constexpr ErrorKind overflow = ErrorKind::Overflow;
constexpr ErrorKind divisionByZero = ErrorKind::DivisionByZero;
constexpr ErrorKind invalid = ErrorKind::InvalidOperation;

const Row rows[] = {
    {"sum beyond the range is an overflow", [](FaultTest &f) { f.add(max, max); }, overflow},
    {"infinity minus infinity is invalid", [](FaultTest &f) { f.add(inf, -inf); }, invalid},
    {"sum with an infinite operand is no new fault", [](FaultTest &f) { f.add(inf, 1.0); }, none},
    {"sum with a NaN operand is no new fault", [](FaultTest &f) { f.add(nan, 1.0); }, none},

    {"product beyond the range is an overflow", [](FaultTest &f) { f.multiply(huge, huge); }, overflow},
    {"negative product beyond the range is an overflow", [](FaultTest &f) { f.multiply(-huge, huge); }, overflow},
    {"zero times infinity is invalid", [](FaultTest &f) { f.multiply(0.0, inf); }, invalid},
    {"underflow is not a fault", [](FaultTest &f) { f.multiply(tiny, tiny); }, none},
    {"product with an infinite operand is no new fault", [](FaultTest &f) { f.multiply(inf, 2.0); }, none},

    {"dividing by zero", [](FaultTest &f) { f.divide(1.0, 0.0); }, divisionByZero},
    {"dividing by negative zero", [](FaultTest &f) { f.divide(1.0, -0.0); }, divisionByZero},
    {"quotient beyond the range is an overflow", [](FaultTest &f) { f.divide(huge, tiny); }, overflow},
    {"zero over zero is invalid", [](FaultTest &f) { f.divide(0.0, 0.0); }, invalid},
    {"infinity over infinity is invalid", [](FaultTest &f) { f.divide(inf, inf); }, invalid},
    {"infinity over zero is no new fault", [](FaultTest &f) { f.divide(inf, 0.0); }, none},
    {"inexact is not a fault", [](FaultTest &f) { f.divide(1.0, 3.0); }, none},

    {"division by zero reported before the invalid operation it causes",
     [](FaultTest &f) { const double i = f.divide(1.0, 0.0); f.add(i, -i); }, divisionByZero},
    {"overflowing exp times zero is an overflow, not invalid",
     [](FaultTest &f) { f.multiply(f.exp(1000.0), 0.0); }, overflow},
    {"an overflow that exp turns into zero is still reported",
     [](FaultTest &f) { f.exp(f.multiply(-huge, huge)); }, overflow},
    {"a fault stays recorded through later operations",
     [](FaultTest &f) { f.multiply(huge, huge); f.add(1.0, 1.0); }, overflow},
    {"division by zero reported before an earlier overflow",
     [](FaultTest &f) { f.multiply(huge, huge); f.divide(1.0, 0.0); }, divisionByZero},
};

} // namespace

TEST_CASE("the fault test reports what the results of the checked operations stand for")
{
    for (const Row &row : rows) {
        INFO(row.name);
        FaultTest faults;
        row.operations(faults);
        CHECK(faultTextOf([&] { faults.test(); }) == faultText(row.expected));
    }
}
