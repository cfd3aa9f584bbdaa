#pragma once

#include "runtime/power.h"

#include <cmath>

namespace runtime {

// The floating-point fault test, derived from the results of the checked
// operations rather than read from the IEEE-754 status flags: WebAssembly
// has none, and a C library's exp or pow may leave them unset (MinGW's
// exp(1000) returns infinity without raising overflow).
//
// Each operation looks at its own result, and only when that result is not
// finite asks what it stands for: an infinity from finite operands is an
// overflow, except a division by a zero divisor or a power of zero with a
// negative exponent, which are divisions by zero; a NaN from operands that
// are not NaN is an invalid operation. Anything else (an infinity or NaN
// carried on from an operand) is no new fault. The kind is OR-ed into a
// sticky word, as the flags would be, and test() reports what the word
// holds with the cause before its consequence (division by zero, then
// overflow, then invalid operation): an overflowing exp times zero is an
// overflow, and an overflow that turns into 0 further on (exp(-inf)) is
// still reported. Underflow and inexact results are never faults. Negation
// is exact and never faults, so it has no checked form.
//
// Which operations are checked and where the tests go is left to the
// caller; each result is what the plain operation gives, bit for bit.
class FaultTest {
public:
    double add(double a, double b) noexcept { return checked(Operation::Other, a, b, a + b); }
    double multiply(double a, double b) noexcept { return checked(Operation::Other, a, b, a * b); }
    double divide(double a, double b) noexcept { return checked(Operation::Division, a, b, a / b); }
    double pow(double base, double exponent) noexcept
    {
        return checked(Operation::Power, base, exponent, Pow(base, exponent));
    }
    // exp has one operand; the second one a classification looks at is 0.
    double exp(double x) noexcept { return checked(Operation::Other, x, 0.0, Exp(x)); }

    // The fault test: throws the Error for the faults recorded so far.
    void test() const
    {
        if (m_faults != 0) [[unlikely]]
            raise();
    }

private:
    enum class Operation { Division, Power, Other };

    // Only a result that is not finite is looked at, out of line.
    double checked(Operation operation, double a, double b, double result) noexcept
    {
        if (!std::isfinite(result)) [[unlikely]]
            m_faults |= classify(operation, a, b, result);
        return result;
    }

    static unsigned classify(Operation operation, double a, double b, double result) noexcept;
    [[noreturn]] void raise() const;

    unsigned m_faults = 0;
};

} // namespace runtime
