#include "runtime/error.h"

namespace runtime {

const char *describe(ErrorKind kind) noexcept
{
    switch (kind) {
    case ErrorKind::Conversion:
        return "conversion error";
    case ErrorKind::Overflow:
        return "overflow";
    case ErrorKind::DivisionByZero:
        return "division by zero";
    case ErrorKind::InvalidOperation:
        return "invalid operation";
    case ErrorKind::SubscriptOutOfRange:
        return "subscript out of range";
    case ErrorKind::Overflow16:
        return "16-bit integer overflow";
    case ErrorKind::NegativeInput:
        return "negative input";
    }
    return "unknown error";
}

const char *Error::what() const noexcept
{
    return describe(m_kind);
}

} // namespace runtime
