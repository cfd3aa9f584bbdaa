#pragma once

#include <exception>

namespace runtime {

// The kinds of failure the program can run into. Conversion and the
// 16-bit integer overflow come from the services in this folder; the three
// floating-point kinds from the fault test; NegativeInput from the
// calculation's refusal of a negative temperature or wavelength.
enum class ErrorKind {
    Conversion,
    Overflow,
    DivisionByZero,
    InvalidOperation,
    SubscriptOutOfRange,
    Overflow16,
    NegativeInput,
};

// Which input text an error belongs to, where there is one.
enum class Input {
    None,
    Temperature,
    Wavelength,
};

// The one exception type of the program. Throwing it abandons the running
// procedure and everything that called it; the user interface catches it in
// one place and turns it into a message.
class Error : public std::exception {
public:
    explicit Error(ErrorKind kind, Input input = Input::None) noexcept
        : m_kind(kind), m_input(input) { }

    ErrorKind kind() const noexcept { return m_kind; }
    Input input() const noexcept { return m_input; }

    // The same error, attributed to an input text.
    Error forInput(Input input) const noexcept { return Error(m_kind, input); }

    const char *what() const noexcept override;

private:
    ErrorKind m_kind;
    Input m_input;
};

// A short English description of an error kind ("division by zero").
const char *describe(ErrorKind kind) noexcept;

} // namespace runtime
