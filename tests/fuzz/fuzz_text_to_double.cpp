// runtime::TextToDouble against an independent reading of its grammar and
// against strtod in the C locale.
//
// For every text: when it has the accepted shape (blanks, sign, digits with
// an optional full stop, optional exponent, blanks) the conversion must give
// exactly strtod's double of the text without its blanks, or throw Overflow
// exactly when strtod overflows to HUGE_VAL; any other text must be refused
// with a Conversion error. No other exception may come out.

#include "fuzz_common.h"

#include "runtime/conversion.h"
#include "runtime/error.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

using runtime::ErrorKind;

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The number without its surrounding blanks when the text has the accepted
// shape, nothing otherwise.
bool acceptedShape(std::u16string_view text, std::u16string_view &number)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    std::size_t i = begin;
    if (i < end && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    std::size_t digits = 0;
    while (i < end && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < end && text[i] == u'.') {
        ++i;
        while (i < end && isDigit(text[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < end && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < end && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        if (i == end || !isDigit(text[i]))
            return false;
        while (i < end && isDigit(text[i]))
            ++i;
    }
    if (i != end)
        return false;
    number = text.substr(begin, end - begin);
    return true;
}

struct Reference {
    double value;
    bool overflow;
};

Reference referenceStrtod(const std::string &number)
{
    char *stop = nullptr;
    errno = 0;
    const double value = strtod_l(number.c_str(), &stop, fuzz::cLocale());
    const int error = errno;
    if (stop != number.c_str() + number.size())
        fuzz::fail("strtod stopped early in \"%s\"", number.c_str());
    return {value, error == ERANGE && std::fabs(value) == HUGE_VAL};
}

void check(std::u16string_view text)
{
    std::u16string_view number;
    const bool shaped = acceptedShape(text, number);

    double value = 0.0;
    bool accepted = false;
    ErrorKind kind = ErrorKind::Conversion;
    try {
        value = runtime::TextToDouble(text);
        accepted = true;
    } catch (const runtime::Error &error) {
        kind = error.kind();
    } catch (const std::exception &other) {
        fuzz::fail("TextToDouble(%s) threw a foreign exception: %s", fuzz::show(text).c_str(),
                   other.what());
    } catch (...) {
        fuzz::fail("TextToDouble(%s) threw something that is no exception class",
                   fuzz::show(text).c_str());
    }

    if (!shaped) {
        if (accepted)
            fuzz::fail("TextToDouble(%s) accepted a text outside the grammar, giving %.17g",
                       fuzz::show(text).c_str(), value);
        if (kind != ErrorKind::Conversion)
            fuzz::fail("TextToDouble(%s) refused a text outside the grammar with %s, not Conversion",
                       fuzz::show(text).c_str(), fuzz::kindName(kind));
        return;
    }

    const std::string ascii = fuzz::narrow(number);
    const Reference reference = referenceStrtod(ascii);
    if (reference.overflow) {
        if (accepted)
            fuzz::fail("TextToDouble(%s) gave %.17g where strtod overflows", fuzz::show(text).c_str(),
                       value);
        if (kind != ErrorKind::Overflow)
            fuzz::fail("TextToDouble(%s) threw %s where strtod overflows", fuzz::show(text).c_str(),
                       fuzz::kindName(kind));
        return;
    }
    if (!accepted)
        fuzz::fail("TextToDouble(%s) threw %s; strtod gives %a", fuzz::show(text).c_str(),
                   fuzz::kindName(kind), reference.value);
    if (fuzz::bits(value) != fuzz::bits(reference.value))
        fuzz::fail("TextToDouble(%s) = %a, strtod gives %a", fuzz::show(text).c_str(), value,
                   reference.value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    check(fuzz::latin1(data, size));
    check(fuzz::utf16(data, size));
    return 0;
}
