// calc::CalculateValues from two arbitrary texts: the input up to the first
// line feed is the temperature, the rest the wavelength (bytes as Latin-1).
//
//  - The zero rule: either text exactly "0" gives "0.0000" and "0".
//  - Otherwise a failure is a runtime::Error: a conversion error of the
//    wavelength, then of the temperature, attributed to that input; then the
//    refusal of a negative wavelength, then of a negative temperature; then
//    a floating-point fault of the series (division by zero when λT is 0,
//    overflow when λT overflows), attributed to no input.
//  - A success leaves n = 6, λT = T·λ, a fraction caption of six characters
//    "d.dddd" between "0.0000" and "1.0000" that is F printed with four
//    decimals, and the λT caption that is λT rounded to a whole number and
//    printed as "%.15G".

#include "fuzz_common.h"

#include "calc/calculation.h"
#include "runtime/conversion.h"
#include "runtime/error.h"

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace {

using runtime::ErrorKind;
using runtime::Input;

const char *inputName(Input input)
{
    switch (input) {
    case Input::None: return "no input";
    case Input::Temperature: return "temperature";
    case Input::Wavelength: return "wavelength";
    }
    return "(unknown input)";
}

struct Conversion {
    double value = 0.0;
    std::optional<ErrorKind> error;
};

Conversion convert(std::u16string_view text)
{
    try {
        return {runtime::TextToDouble(text), std::nullopt};
    } catch (const runtime::Error &error) {
        return {0.0, error.kind()};
    }
}

std::u16string widen(const std::string &ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

struct Expected {
    std::optional<ErrorKind> kind; // a definite error
    Input input = Input::None;
    bool seriesMayFail = false; // the series may fault (or not)
};

Expected expectation(const Conversion &t, const Conversion &l)
{
    if (l.error)
        return {l.error, Input::Wavelength};
    if (t.error)
        return {t.error, Input::Temperature};
    if (l.value < 0)
        return {ErrorKind::NegativeInput, Input::Wavelength};
    if (t.value < 0)
        return {ErrorKind::NegativeInput, Input::Temperature};
    const double product = t.value * l.value;
    if (product == 0)
        return {ErrorKind::DivisionByZero, Input::None};
    if (std::isinf(product))
        return {ErrorKind::Overflow, Input::None};
    return {std::nullopt, Input::None, true};
}

void checkSuccess(const std::string &what, const calc::CalculationState &state,
                  const calc::ResultTexts &texts, const Conversion &t, const Conversion &l)
{
    const std::u16string &f = texts.fraction;
    const bool shaped = f.size() == 6 && (f[0] == u'0' || f[0] == u'1') && f[1] == u'.' &&
                        f.find_first_not_of(u"0123456789", 2) == std::u16string::npos &&
                        (f[0] == u'0' || f == u"1.0000");
    if (!shaped)
        fuzz::fail("%s: fraction caption %s", what.c_str(), fuzz::show(f).c_str());
    if (state.n != 6)
        fuzz::fail("%s: n = %d after a calculation, not 6", what.c_str(), int(state.n));

    const std::string shown = fuzz::printC("%.4f", state.F);
    if (f != widen(shown))
        fuzz::fail("%s: fraction caption %s for F = %a, which prints as \"%s\"", what.c_str(),
                   fuzz::show(f).c_str(), state.F, shown.c_str());

    const double product = t.value * l.value;
    if (fuzz::bits(state.LT) != fuzz::bits(product))
        fuzz::fail("%s: LT = %a, T*L = %a", what.c_str(), state.LT, product);
    const double whole = strtod_l(fuzz::printC("%.0f", product).c_str(), nullptr, fuzz::cLocale());
    const std::string productText = whole == 0 ? std::string("0") : fuzz::printC("%.15G", whole);
    if (texts.product != widen(productText))
        fuzz::fail("%s: product caption %s for LT = %a, expected \"%s\"", what.c_str(),
                   fuzz::show(texts.product).c_str(), product, productText.c_str());
}

void check(std::u16string_view temperature, std::u16string_view wavelength)
{
    const std::string what =
        "CalculateValues(" + fuzz::show(temperature) + ", " + fuzz::show(wavelength) + ")";
    calc::CalculationState state;
    calc::ResultTexts texts;
    try {
        texts = calc::CalculateValues(state, temperature, wavelength);
    } catch (const runtime::Error &error) {
        if (temperature == u"0" || wavelength == u"0")
            fuzz::fail("%s threw %s under the zero rule", what.c_str(), fuzz::kindName(error.kind()));
        const Conversion t = convert(temperature);
        const Conversion l = convert(wavelength);
        const Expected expected = expectation(t, l);
        if (expected.kind) {
            if (error.kind() != *expected.kind || error.input() != expected.input)
                fuzz::fail("%s threw %s for %s, expected %s for %s", what.c_str(),
                           fuzz::kindName(error.kind()), inputName(error.input()),
                           fuzz::kindName(*expected.kind), inputName(expected.input));
            return;
        }
        const ErrorKind kind = error.kind();
        const bool seriesFault = kind == ErrorKind::DivisionByZero || kind == ErrorKind::Overflow ||
                                 kind == ErrorKind::InvalidOperation;
        if (!seriesFault || error.input() != Input::None)
            fuzz::fail("%s threw %s for %s during the series", what.c_str(), fuzz::kindName(kind),
                       inputName(error.input()));
        return;
    } catch (const std::exception &other) {
        fuzz::fail("%s threw a foreign exception: %s", what.c_str(), other.what());
    } catch (...) {
        fuzz::fail("%s threw something that is no exception class", what.c_str());
    }

    if (temperature == u"0" || wavelength == u"0") {
        if (texts.fraction != u"0.0000" || texts.product != u"0")
            fuzz::fail("%s under the zero rule gave %s and %s", what.c_str(),
                       fuzz::show(texts.fraction).c_str(), fuzz::show(texts.product).c_str());
        return;
    }
    const Conversion t = convert(temperature);
    const Conversion l = convert(wavelength);
    const Expected expected = expectation(t, l);
    if (expected.kind)
        fuzz::fail("%s succeeded (%s, %s), expected %s for %s", what.c_str(),
                   fuzz::show(texts.fraction).c_str(), fuzz::show(texts.product).c_str(),
                   fuzz::kindName(*expected.kind), inputName(expected.input));
    checkSuccess(what, state, texts, t, l);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::u16string text = fuzz::latin1(data, size);
    const std::size_t split = text.find(u'\n');
    const std::u16string_view all(text);
    if (split == std::u16string::npos)
        check(all, std::u16string_view());
    else
        check(all.substr(0, split), all.substr(split + 1));
    return 0;
}
