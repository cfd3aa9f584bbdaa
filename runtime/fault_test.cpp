#include "runtime/fault_test.h"

#include "runtime/error.h"

namespace runtime {

namespace {

constexpr unsigned DivisionByZeroFault = 1u << 0;
constexpr unsigned OverflowFault = 1u << 1;
constexpr unsigned InvalidFault = 1u << 2;

} // namespace

unsigned FaultTest::classify(Operation operation, double a, double b, double result) noexcept
{
    if (std::isnan(result))
        return std::isnan(a) || std::isnan(b) ? 0 : InvalidFault;
    if (!std::isfinite(a) || !std::isfinite(b))
        return 0;
    if ((operation == Operation::Division && b == 0.0) || (operation == Operation::Power && a == 0.0 && b < 0.0))
        return DivisionByZeroFault;
    return OverflowFault;
}

void FaultTest::raise() const
{
    if (m_faults & DivisionByZeroFault)
        throw Error(ErrorKind::DivisionByZero);
    if (m_faults & OverflowFault)
        throw Error(ErrorKind::Overflow);
    throw Error(ErrorKind::InvalidOperation);
}

} // namespace runtime
