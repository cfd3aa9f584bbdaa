#include "calc/calculation.h"

#include "runtime/conversion.h"
#include "runtime/error.h"
#include "runtime/fault_test.h"

#include <array>
#include <cmath>

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

// One pass of the loop with a fault test after each step. Each step's
// operands are read after the previous test (Fresh) and each result is
// complete before its own test (Checked), so a fault is reported at the step
// that raised it, with the module variables as that step leaves them.
void checkedPass(CalculationState &s, Terms &terms)
{
    const double nHat = Fresh(static_cast<double>(s.n));
    const double a = Checked((std::pow(Fresh(s.z), 2.0) * 3.0) / nHat);
    const double b = Checked(std::pow(Fresh(s.z), 3.0) + a);
    const double c = Checked(Fresh(s.z) * 6.0);
    const double d = Checked(c / std::pow(Fresh(nHat), 2.0) + b);
    const double p = Checked(6.0 / std::pow(Fresh(nHat), 3.0) + d);
    const double x = Checked((-Fresh(nHat)) * Fresh(s.z));
    double &term = terms[s.n];
    term = (std::exp(x) / Fresh(nHat)) * p;
    Checked(term);
    s.InfSum = Fresh(term) + Fresh(s.InfSum);
    Checked(s.InfSum);
    s.n = runtime::AddInt16(s.n, 1);
}

// The same pass with no test between the steps: the fastest way through,
// taken when none of its steps raises a fault. The operations, groupings
// and roundings are exactly those of checkedPass, so the values agree to
// the last bit.
struct PassResult {
    double term;
    double sum;
};

PassResult uncheckedPass(const CalculationState &s)
{
    const double nHat = static_cast<double>(s.n);
    const double a = (std::pow(s.z, 2.0) * 3.0) / nHat;
    const double b = std::pow(s.z, 3.0) + a;
    const double c = s.z * 6.0;
    const double d = c / std::pow(nHat, 2.0) + b;
    const double p = 6.0 / std::pow(nHat, 3.0) + d;
    const double x = (-nHat) * s.z;
    const double term = (std::exp(x) / nHat) * p;
    return {term, term + s.InfSum};
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
    s.InfSum = 0.0;
    s.n = 1;
    termValues.fill(0.0);
    Terms terms(termValues);

    s.LT = Fresh(s.T) * Fresh(s.L);
    Checked(s.LT);
    // The product is formed again rather than reusing LT, as the series is
    // defined; it is the same value.
    s.z = Fresh(s.C2) / (Fresh(s.T) * Fresh(s.L));
    Checked(s.z);

    while (s.n <= TermCount) {
        // Sticky flags make one test per pass enough to know that no step
        // of it faulted. Only when one did is the pass replayed from its
        // start, step by step, to stop at the faulting step.
        const PassResult pass = uncheckedPass(s);
        if (runtime::PendingFaults() != 0) {
            runtime::ClearFaults();
            // Throws at the faulting step. Should the flag have come from
            // work the compiler moved across the test, the replay finds no
            // fault and simply completes this pass.
            checkedPass(s, terms);
            continue;
        }
        terms[s.n] = pass.term;
        s.InfSum = pass.sum;
        s.n = runtime::AddInt16(s.n, 1);
    }

    const double g = Checked(Fresh(s.InfSum) * 15.0);
    s.F = Fresh(g) / std::pow(Fresh(s.PI), 4.0);
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
