#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace calc {

// The calculation of the main window, free of any user interface: from a
// temperature text (K) and a wavelength text (µm) to λT and the fraction of
// blackbody emissive power below λ, by the first 100 terms of
//
//   F = 15/PI^4 · Σ e^(-n z)/n · (z^3 + 3z^2/n + 6z/n^2 + 6/n^3),  z = C2/(λT),
//
// and from there to the two result captions. Failures are runtime::Error
// exceptions; presenting them is left to the caller.

// The module variables of the main window, in their declared order. They
// keep their values between calculations; a failed calculation leaves the
// ones it wrote before the failing step (the failing step's own variable
// holds its non-finite value).
struct CalculationState {
    double C2 = 14387.96;         // second radiation constant, µm·K
    double z = 0.0;               // C2 / (λT)
    double PI = 3.14159265359;    // deliberately the 11-decimal value, not π
    std::int16_t n = 0;           // series index; afterwards the fraction caption's length
    double InfSum = 0.0;          // the series sum before the factor 15/PI^4
    double F = 0.0;               // F(0→λ)
    double L = 0.0;               // wavelength, µm
    double T = 0.0;               // temperature, K
    double LT = 0.0;              // λT, µm·K
};

// True when either text is exactly "0" (code unit by code unit: "0.0",
// " 0" and "-0" are not). The calculation is then skipped.
bool IsZeroInput(std::u16string_view temperature, std::u16string_view wavelength);

// Converts the wavelength, then the temperature, forms LT and z, sums the
// 100 terms into InfSum and forms F, testing the floating-point faults after
// every step. Success leaves n = 101. Throws runtime::Error: a conversion
// error (attributed to its input) or the numeric fault of the failing step.
// Negative inputs are evaluated as they come.
void EvaluateSeries(CalculationState &state, std::u16string_view temperature,
                    std::u16string_view wavelength);

// The terms of one calculation, indices 0 to 100; element 0 is never written.
using SeriesTerms = std::array<double, 101>;

// The same, also handing out the terms: `terms` is zeroed when the
// calculation starts and holds every term written up to where it ended.
void EvaluateSeries(CalculationState &state, std::u16string_view temperature,
                    std::u16string_view wavelength, SeriesTerms &terms);

// The fraction caption before filling: "0.0000" or "1.0000" when F rounds
// to 0 or 1 at four decimals, otherwise the canonical text of the rounded
// value ("0.7201", "0.001").
std::u16string FCaption(double F);

// The λT caption: LT rounded to a whole number (ties to even), as text.
std::u16string LTCaption(double LT);

struct ResultTexts {
    std::u16string fraction;
    std::u16string product;
};

// The whole calculation from the two texts to the two captions: the zero
// rule ("0.0000" and "0"), the refusal of a negative wavelength or
// temperature when both texts convert (runtime::Error NegativeInput,
// nothing changed), the series, and the fraction caption filled with zeros
// to six characters. Leaves n at the fraction caption's length. A text that
// does not convert fails as in EvaluateSeries, with the same state.
ResultTexts CalculateValues(CalculationState &state, std::u16string_view temperature,
                            std::u16string_view wavelength);

} // namespace calc
