#pragma once

#include <cfenv>

namespace runtime {

// The floating-point fault test. Arithmetic raises the sticky IEEE-754 flags;
// a test looks at overflow, division by zero and invalid operation (never
// underflow or inexact) and throws the matching Error when one is up.
//
// GCC honours no FENV_ACCESS pragma, so it may move floating-point work
// across the call that reads the flags. Pin() is an empty asm that the
// compiler must treat as reading and rewriting its operand and touching
// memory: a result pinned before a test is computed before the test, and an
// operand pinned after it is used after it. Build the code that uses these
// with -fno-builtin-pow and -ffp-contract=off so every power is the
// library's pow and no multiply-add is fused.

// Clears every sticky flag.
inline void ClearFaults() noexcept
{
    std::feclearexcept(FE_ALL_EXCEPT);
}

inline constexpr int TestedFaults = FE_OVERFLOW | FE_DIVBYZERO | FE_INVALID;

// The raised flags among the tested ones, without throwing.
inline int PendingFaults() noexcept
{
    return std::fetestexcept(TestedFaults);
}

// Throws the Error matching the raised flags. When one step raised more
// than one, the cause is reported before its consequence: a division by
// zero or an overflow before the invalid operation it may lead to.
[[noreturn]] void RaiseFaults(int flags);

// The fault test after a step: throws when a tested flag is up.
inline void TestFaults()
{
    if (const int flags = PendingFaults())
        RaiseFaults(flags);
}

// See above: forces `value` to exist at this point of the program, ordered
// against the calls and the other pins around it.
inline void Pin(double &value) noexcept
{
#if defined(__x86_64__) || defined(__i386__)
    asm volatile("" : "+x"(value) : : "memory");
#else
    asm volatile("" : "+m"(value) : : "memory");
#endif
}

// A result of a step: pinned before the fault test and again after it, so
// that whatever uses it runs after the test.
inline double Checked(double value)
{
    Pin(value);
    TestFaults();
    Pin(value);
    return value;
}

// An operand read after the last fault test, never before it.
inline double Fresh(double value) noexcept
{
    Pin(value);
    return value;
}

} // namespace runtime
