// runtime::DoubleToText and runtime::RoundToDecimals against printf in the C
// locale, and the text of a double read back by runtime::TextToDouble.
//
// The first eight bytes are a double (NaN and infinities are skipped):
//  - DoubleToText(x) is "%.15G" of x, "0" for both zeros, except that the
//    largest doubles, which "%.15G" rounds out of range, give
//    1.79769313486231E+308;
//  - reading that text back and printing it again gives the same text;
//  - RoundToDecimals(x, k), k = 0..6, is strtod of "%.*f" (k, x) for
//    |x| < 1e300.

#include "fuzz_common.h"

#include "runtime/conversion.h"
#include "runtime/error.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {


std::string expectedText(double x)
{
    if (x == 0.0)
        return "0";
    std::string text = fuzz::printC("%.15G", x);
    if (text.ends_with("1.79769313486232E+308"))
        text.replace(text.size() - 21, 21, "1.79769313486231E+308");
    return text;
}

std::u16string widen(const std::string &ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

void checkText(double x)
{
    const std::u16string text = runtime::DoubleToText(x);
    const std::string expected = expectedText(x);
    if (text != widen(expected))
        fuzz::fail("DoubleToText(%a) = %s, printf gives \"%s\"", x, fuzz::show(text).c_str(),
                   expected.c_str());

    double back = 0.0;
    try {
        back = runtime::TextToDouble(text);
    } catch (const runtime::Error &error) {
        fuzz::fail("TextToDouble(DoubleToText(%a) = %s) threw %s", x, fuzz::show(text).c_str(),
                   fuzz::kindName(error.kind()));
    }
    const std::u16string again = runtime::DoubleToText(back);
    if (again != text)
        fuzz::fail("%s read back as %a prints as %s", fuzz::show(text).c_str(), back,
                   fuzz::show(again).c_str());
}

void checkRounding(double x)
{
    if (!(std::fabs(x) < 1e300))
        return;
    for (int k = 0; k <= 6; ++k) {
        const double rounded = runtime::RoundToDecimals(x, k);
        const std::string printed = fuzz::printC("%.*f", k, x);
        const double expected = strtod_l(printed.c_str(), nullptr, fuzz::cLocale());
        if (fuzz::bits(rounded) != fuzz::bits(expected))
            fuzz::fail("RoundToDecimals(%a, %d) = %a, printf gives \"%s\" = %a", x, k, rounded,
                       printed.c_str(), expected);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < sizeof(double))
        return 0;
    double x;
    std::memcpy(&x, data, sizeof x);
    if (!std::isfinite(x))
        return 0;
    try {
        checkText(x);
        checkRounding(x);
    } catch (const runtime::Error &error) {
        fuzz::fail("%a: unexpected runtime::Error %s", x, fuzz::kindName(error.kind()));
    } catch (...) {
        fuzz::fail("%a: unexpected exception", x);
    }
    return 0;
}
