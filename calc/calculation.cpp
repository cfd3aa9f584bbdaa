#include "calc/calculation.h"

#include "runtime/conversion.h"
#include "runtime/error.h"
#include "runtime/fault_test.h"
#include "runtime/power.h"

#include <array>
#include <cmath>

namespace calc {

namespace {

using runtime::Error;
using runtime::ErrorKind;
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

// The arithmetic of a pass of the series. The pass is written once, over
// one of these, so both ways through it run the same operations with the
// same groupings and roundings.
//
// Unchecked: the plain operations, the fastest way through. A step only
// notes whether its result is finite. The inputs of the loop are finite, so
// the first result that is not is a fault, and no step turns an infinity or
// NaN met on its way into a finite result (exp(x) is 0 for x = -inf, but x
// is a step result of its own): a loop whose step results were all finite
// had no fault.
class Unchecked {
public:
    static double add(double a, double b) noexcept { return a + b; }
    static double multiply(double a, double b) noexcept { return a * b; }
    static double divide(double a, double b) noexcept { return a / b; }
    static double pow(double base, double exponent) noexcept { return runtime::Pow(base, exponent); }
    static double exp(double x) noexcept { return runtime::Exp(x); }

    double step(double result) noexcept
    {
        m_notFinite |= !std::isfinite(result);
        return result;
    }
    bool notFinite() const noexcept { return m_notFinite; }

private:
    bool m_notFinite = false;
};

// StepByStep: the checked operations and the fault test after every step,
// so a fault is reported at the step that caused it, with the module
// variables as that step leaves them.
class StepByStep : public runtime::FaultTest {
public:
    double step(double result)
    {
        test();
        return result;
    }
};

// One pass of the loop: term n, added to the sum, and the next n.
template <class Arithmetic>
void pass(CalculationState &s, Terms &terms, Arithmetic &op)
{
    const double nHat = static_cast<double>(s.n);
    // a = (z^2 * 3) / n
    const double a = op.step(op.divide(op.multiply(op.pow(s.z, 2.0), 3.0), nHat));
    // b = z^3 + a
    const double b = op.step(op.add(op.pow(s.z, 3.0), a));
    // c = z * 6
    const double c = op.step(op.multiply(s.z, 6.0));
    // d = c / n^2 + b
    const double d = op.step(op.add(op.divide(c, op.pow(nHat, 2.0)), b));
    // p = 6 / n^3 + d
    const double p = op.step(op.add(op.divide(6.0, op.pow(nHat, 3.0)), d));
    // x = (-n) * z; negating is exact and never faults
    const double x = op.step(op.multiply(-nHat, s.z));
    // The term and the sum are stored before their tests, so a failing step
    // leaves its non-finite value behind.
    double &term = terms[s.n];
    // term = (exp(x) / n) * p
    term = op.multiply(op.divide(op.exp(x), nHat), p);
    op.step(term);
    s.InfSum = op.add(term, s.InfSum);
    op.step(s.InfSum);
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
template <class Arithmetic>
void sumTerms(CalculationState &s, SeriesTerms &termValues, Arithmetic &op)
{
    Terms terms(termValues);
    while (s.n <= TermCount)
        pass(s, terms, op);
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
    s.T = convert(temperature, Input::Temperature);
    startSum(s, termValues);

    StepByStep checked;
    s.LT = checked.multiply(s.T, s.L);
    checked.step(s.LT);
    // The product is formed again rather than reusing LT, as the series is
    // defined; it is the same value.
    s.z = checked.divide(s.C2, checked.multiply(s.T, s.L));
    checked.step(s.z);

    // The loop runs unchecked; when every step result was finite, it is done,
    // with its results. Only when one was not is it run again from its first
    // term, step by step, to stop at the faulting step with the state that
    // step leaves.
    Unchecked unchecked;
    sumTerms(s, termValues, unchecked);
    if (unchecked.notFinite()) {
        startSum(s, termValues);
        sumTerms(s, termValues, checked);
    }

    const double g = checked.step(checked.multiply(s.InfSum, 15.0));
    s.F = checked.divide(g, checked.pow(s.PI, 4.0));
    checked.step(s.F);
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
