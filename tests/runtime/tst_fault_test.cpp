#include "runtime/fault_test.h"
#include "runtime/error.h"
#include "runtime/power.h"

#include <doctest/doctest.h>

#include <limits>
#include <optional>

using runtime::ErrorKind;

namespace {

// Operands are read through volatile so that nothing is folded at compile
// time: every operation really runs and raises its flags.
volatile double zero = 0.0;
volatile double one = 1.0;
volatile double huge = 1e300;
volatile double tiny = 1e-300;
volatile double infinity = std::numeric_limits<double>::infinity();

struct FaultRow {
    const char *name;
    double (*operation)();
    std::optional<ErrorKind> expected;
};

const std::optional<ErrorKind> none;

const FaultRow faultRows[] = {
    {"product beyond the range is an overflow", [] { return huge * huge; }, ErrorKind::Overflow},
    {"pow beyond the range is an overflow", [] { return runtime::Pow(huge, 2.0); }, ErrorKind::Overflow},
    {"pow of zero to a negative power is a division by zero", [] { return runtime::Pow(zero, -1.0); }, ErrorKind::DivisionByZero},
    {"exp beyond the range is an overflow", [] { return runtime::Exp(1000.0 * one); }, ErrorKind::Overflow},
    {"dividing by zero", [] { return one / zero; }, ErrorKind::DivisionByZero},
    {"zero over zero is invalid", [] { return zero / zero; }, ErrorKind::InvalidOperation},
    {"infinity minus infinity is invalid", [] { return infinity - infinity; }, ErrorKind::InvalidOperation},
    {"division by zero reported before the invalid operation it causes",
     [] { const double i = one / zero; volatile double v = i; return v - v; }, ErrorKind::DivisionByZero},
    {"overflow reported before the invalid operation it causes",
     [] { const double i = huge * huge; volatile double v = i; return v * zero; }, ErrorKind::Overflow},
    {"underflow is not a fault", [] { return tiny * tiny; }, none},
    {"exp below the range is not a fault", [] { return runtime::Exp(-1000.0 * one); }, none},
    {"inexact is not a fault", [] { return one / 3.0; }, none},
    {"arithmetic on infinity alone is not a fault", [] { return infinity * 2.0; }, none},
};

} // namespace

TEST_CASE("the fault test reports the raised fault")
{
    for (const FaultRow &row : faultRows) {
        INFO(row.name);
        runtime::ClearFaults();
        std::optional<ErrorKind> reported;
        try {
            runtime::Checked(row.operation());
        } catch (const runtime::Error &error) {
            reported = error.kind();
        }
        CHECK(reported == row.expected);
    }
    runtime::ClearFaults();
}

TEST_CASE("clearing forgets earlier faults")
{
    runtime::ClearFaults();
    volatile double ignored = one / zero;
    (void)ignored;
    runtime::ClearFaults();
    CHECK_NOTHROW(runtime::TestFaults());
    CHECK(runtime::PendingFaults() == 0);
}

TEST_CASE("faults stay set until cleared")
{
    // The flags are sticky: a fault raised before harmless steps is still
    // reported by a later test.
    runtime::ClearFaults();
    volatile double overflowed = huge * huge;
    volatile double harmless = one + one;
    (void)overflowed;
    (void)harmless;
    CHECK_THROWS_AS(runtime::TestFaults(), runtime::Error);
    CHECK_THROWS_AS(runtime::TestFaults(), runtime::Error);
    runtime::ClearFaults();
}
