#include "runtime/fault_test.h"

#include "runtime/error.h"

namespace runtime {

void RaiseFaults(int flags)
{
    if (flags & FE_DIVBYZERO)
        throw Error(ErrorKind::DivisionByZero);
    if (flags & FE_OVERFLOW)
        throw Error(ErrorKind::Overflow);
    throw Error(ErrorKind::InvalidOperation);
}

} // namespace runtime
