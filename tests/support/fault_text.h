#pragma once

// A fault as the suites compare it: the error a call throws, if any, and a
// fault's kind as the program describes it, or "no fault", so that a failed
// check prints both sides as words.

#include "runtime/error.h"

#include <optional>

namespace test_support {

template <class Call>
std::optional<runtime::Error> errorOf(Call call)
{
    try {
        call();
    } catch (const runtime::Error &error) {
        return error;
    }
    return std::nullopt;
}

inline const char *faultText(std::optional<runtime::ErrorKind> kind)
{
    return kind ? runtime::describe(*kind) : "no fault";
}

// The kind of fault a call throws, as text.
template <class Call>
const char *faultTextOf(Call call)
{
    const std::optional<runtime::Error> error = errorOf(call);
    return faultText(error ? std::optional(error->kind()) : std::nullopt);
}

} // namespace test_support
