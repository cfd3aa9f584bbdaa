#include "calc/calculation.h"

#include "runtime/conversion.h"
#include "runtime/error.h"
#include "runtime/fault_test.h"
#include "runtime/power.h"

#include <array>

namespace calc {

namespace {

using runtime::Checked;
using runtime::Error;
using runtime::ErrorKind;
using runtime::Fresh;
using runtime::Input;

constexpr std::int16_t TermCount = 100;
static_assert(std::tuple_size_v<SeriesTerms> == TermCount + 1);

// Bounds-checked access to the terms of one calculation.
class Terms {
public:
    explicit Terms(SeriesTerms &values) : m_values(values) { }

    double &operator[](std::int16_t index)
    {
        if (index < 0 || index > TermCount)
            throw Error(ErrorKind::SubscriptOutOfRange);
        return m_values[static_cast<std::size_t>(index)];
    }

private:
    SeriesTerms &m_values;
};

double convert(std::u16string_view text, Input input)
{
    try {
        return runtime::TextToDouble(text);
    } catch (const Error &error) {
        throw error.forInput(input);
    }
}

bool tryConvert(std::u16string_view text, double &value)
{
    try {
        value = runtime::TextToDouble(text);
        return true;
    } catch (const Error &) {
        return false;
    }
}

// What happens between the steps of a pass of the series. The pass is
// written once, over one of these, so both ways through it run the same
// operations with the same groupings and roundings.
//
// Unchecked: nothing; the fastest way through. Its faults are only seen
// afterwards, in the sticky flags.
struct Unchecked {
    static double operand(double value) noexcept { return value; }
    static double result(double value) noexcept { return value; }
};

// StepByStep: a fault test after every step. Each step's operands are read
// after the previous test (Fresh) and each result is complete before its own
// test (Checked), so a fault is reported at the step that raised it, with the
// module variables as that step leaves them.
struct StepByStep {
    static double operand(double value) noexcept { return runtime::Fresh(value); }
    static double result(double value) { return runtime::Checked(value); }
};

// One pass of the loop: term n, added to the sum, and the next n.
template <class Step>
void pass(CalculationState &s, Terms &terms)
{
    using runtime::Exp;
    using runtime::Pow;
    const double nHat = Step::operand(static_cast<double>(s.n));
    const double a = Step::result((Pow(Step::operand(s.z), 2.0) * 3.0) / nHat);
    const double b = Step::result(Pow(Step::operand(s.z), 3.0) + a);
    const double c = Step::result(Step::operand(s.z) * 6.0);
    const double d = Step::result(c / Pow(Step::operand(nHat), 2.0) + b);
    const double p = Step::result(6.0 / Pow(Step::operand(nHat), 3.0) + d);
    const double x = Step::result((-Step::operand(nHat)) * Step::operand(s.z));
    // The term and the sum are stored before their tests, so a failing step
    // leaves its non-finite value behind.
    double &term = terms[s.n];
    term = (Exp(x) / Step::operand(nHat)) * p;
    Step::result(term);
    s.InfSum = Step::operand(term) + Step::operand(s.InfSum);
    Step::result(s.InfSum);
    s.n = runtime::AddInt16(s.n, 1);
}

// The state before the first term: InfSum and n at 0 and 1, every term zero.
void startSum(CalculationState &s, SeriesTerms &termValues)
{
    s.InfSum = 0.0;
    s.n = 1;
    termValues.fill(0.0);
}

// The loop of the series, from the state startSum leaves.
template <class Step>
void sumTerms(CalculationState &s, SeriesTerms &termValues)
{
    Terms terms(termValues);
    while (s.n <= TermCount)
        pass<Step>(s, terms);
}

} // namespace

bool IsZeroInput(std::u16string_view temperature, std::u16string_view wavelength)
{
    const bool wavelengthIsZero = wavelength == u"0";
    const bool temperatureIsZero = temperature == u"0";
    return wavelengthIsZero || temperatureIsZero;
}

void EvaluateSeries(CalculationState &state, std::u16string_view temperature,
                    std::u16string_view wavelength)
{
    SeriesTerms terms;
    EvaluateSeries(state, temperature, wavelength, terms);
}

void EvaluateSeries(CalculationState &s, std::u16string_view temperature,
                    std::u16string_view wavelength, SeriesTerms &termValues)
{
    s.L = convert(wavelength, Input::Wavelength);
    // The flags are clean from here on: the first test covers the
    // temperature's conversion and everything after it.
    runtime::ClearFaults();
    s.T = convert(temperature, Input::Temperature);
    startSum(s, termValues);

    s.LT = Fresh(s.T) * Fresh(s.L);
    Checked(s.LT);
    // The product is formed again rather than reusing LT, as the series is
    // defined; it is the same value.
    s.z = Fresh(s.C2) / (Fresh(s.T) * Fresh(s.L));
    Checked(s.z);

    // Sticky flags make one test after the whole loop enough to know that
    // none of its steps faulted; the loop is then done, with its results.
    // Only when one did is it run again from its first term, step by step,
    // to stop at the faulting step with the state that step leaves. Every
    // step of the loop feeds the sum, so pinning the sum before the test
    // leaves none of the loop's work after it.
    sumTerms<Unchecked>(s, termValues);
    runtime::Pin(s.InfSum);
    if (runtime::PendingFaults() != 0) {
        runtime::ClearFaults();
        startSum(s, termValues);
        // Throws at the faulting step. Should the flag have come from work
        // the compiler moved across a test, the replay finds no fault and
        // simply completes the loop.
        sumTerms<StepByStep>(s, termValues);
    }

    const double g = Checked(Fresh(s.InfSum) * 15.0);
    s.F = Fresh(g) / runtime::Pow(Fresh(s.PI), 4.0);
    Checked(s.F);
}

std::u16string FCaption(double F)
{
    const double r = runtime::RoundToDecimals(F, 4);
    if (r == 0)
        return u"0.0000";
    if (r == 1)
        return u"1.0000";
    return runtime::DoubleToText(r);
}

std::u16string LTCaption(double LT)
{
    return runtime::DoubleToText(runtime::RoundToDecimals(LT, 0));
}

ResultTexts CalculateValues(CalculationState &state, std::u16string_view temperature,
                            std::u16string_view wavelength)
{
    if (IsZeroInput(temperature, wavelength))
        return {u"0.0000", u"0"};

    // A negative temperature or wavelength has no physical meaning, and the
    // series would show nonsense for it; it is refused before anything is
    // written. A text that does not convert is left to the series, which
    // reports it in its own order (wavelength first) and state.
    double wavelengthValue = 0.0;
    double temperatureValue = 0.0;
    if (tryConvert(wavelength, wavelengthValue) && tryConvert(temperature, temperatureValue)) {
        if (wavelengthValue < 0)
            throw Error(ErrorKind::NegativeInput, Input::Wavelength);
        if (temperatureValue < 0)
            throw Error(ErrorKind::NegativeInput, Input::Temperature);
    }

    EvaluateSeries(state, temperature, wavelength);

    ResultTexts texts{FCaption(state.F), LTCaption(state.LT)};
    state.n = runtime::TextLength(texts.fraction);
    while (state.n < 6) {
        texts.fraction += u"0";
        state.n = runtime::TextLength(texts.fraction);
    }
    return texts;
}

} // namespace calc
