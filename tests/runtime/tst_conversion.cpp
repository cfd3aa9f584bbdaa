#include "runtime/conversion.h"
#include "runtime/error.h"

#include <QtTest>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <random>
#include <string>

using runtime::ErrorKind;

namespace {

enum class Outcome { Value, ConversionError, OverflowError };

std::u16string u16(const QString &s) { return s.toStdU16String(); }
QString qs(const std::u16string &s) { return QString::fromStdU16String(s); }

// strtod in the C locale, whatever the process locale: the reference for
// correctly rounded conversion.
double referenceStrtod(const std::string &text)
{
    static locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return strtod_l(text.c_str(), nullptr, c);
}

std::string referencePrint(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value);
    return buffer;
}

} // namespace

Q_DECLARE_METATYPE(Outcome)

class TestConversion : public QObject {
    Q_OBJECT

private slots:
    void textToDouble_data();
    void textToDouble();
    void textToDoubleAgreesWithStrtod();
    void textToDoubleIgnoresProcessLocale();
    void doubleToText_data();
    void doubleToText();
    void doubleToTextAgreesWithPrintfAndRoundTrips();
    void roundToDecimals_data();
    void roundToDecimals();
    void roundToDecimalsAgreesWithPrintf();
    void int16Arithmetic();
};

void TestConversion::textToDouble_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<double>("expected");

    const auto value = [](const char *name, const QString &text, double expected) {
        QTest::newRow(name) << text << Outcome::Value << expected;
    };
    const auto rejected = [](const char *name, const QString &text) {
        QTest::newRow(name) << text << Outcome::ConversionError << 0.0;
    };

    value("plain integer", "5800", 5800.0);
    value("trailing full stop", "5.", 5.0);
    value("leading full stop", ".5", 0.5);
    value("trailing zero in fraction", "0.50", 0.5);
    value("leading plus", "+2.5", 2.5);
    value("leading minus", "-250", -250.0);
    value("minus zero", "-0", -0.0);
    value("zero with fraction", "0.0", 0.0);
    value("lower-case exponent", "1e3", 1000.0);
    value("upper-case exponent with sign", "1.5E+20", 1.5e20);
    value("negative exponent", "1E-05", 1e-5);
    value("exponent after trailing full stop", "5.e2", 500.0);
    value("spaces around", "  300  ", 300.0);
    value("tabs around", "\t300\t", 300.0);
    value("many leading zeros", "000000000000000000000000000042", 42.0);
    value("correctly rounded 0.1", "0.1", 0.1);
    value("largest double", "1.7976931348623157e308", std::numeric_limits<double>::max());
    value("subnormal", "4.9406564584124654e-324", std::numeric_limits<double>::denorm_min());
    value("below the smallest double becomes zero", "1e-400", 0.0);
    value("negative below the smallest double", "-1e-400", -0.0);
    value("tiny mantissa with huge exponent", "0.000001e-99999999999999999999", 0.0);
    value("long zero with big exponent", "0e99999", 0.0);
    value("long digit string", QString(400, '1').prepend("0.").append("e1"), 1.1111111111111112);

    rejected("empty text", "");
    rejected("only spaces", "   ");
    rejected("lone full stop", ".");
    rejected("lone sign", "-");
    rejected("two signs", "+-1");
    rejected("infinity", "inf");
    rejected("infinity spelled out", "Infinity");
    rejected("not a number", "nan");
    rejected("hexadecimal", "0x10");
    rejected("hexadecimal float", "0x1p3");
    rejected("thousands separator", "1,000");
    rejected("decimal comma", "0,5");
    rejected("unit after number", "5800K");
    rejected("inner space", "58 00");
    rejected("space between sign and digits", "- 5");
    rejected("exponent without digits", "1e");
    rejected("exponent with sign only", "1e+");
    rejected("exponent without mantissa", "e5");
    rejected("fractional exponent", "1e2.5");
    rejected("two full stops", "1.2.3");
    rejected("letters", "abc");
    rejected("arabic-indic digits", QString::fromUtf16(u"\u0665\u0668\u0660\u0660"));
    rejected("fullwidth digits", QString::fromUtf16(u"\uFF15"));
    rejected("non-breaking space around", QString::fromUtf16(u"\u00A05"));
    rejected("newline after number", "5\n");
    rejected("embedded nul", QString("5") + QChar(0) + "0");

    QTest::newRow("beyond the double range") << "1E400" << Outcome::OverflowError << 0.0;
    QTest::newRow("negative beyond the double range") << "-1e400" << Outcome::OverflowError << 0.0;
    QTest::newRow("just beyond the largest double") << "1.7976931348623159e308" << Outcome::OverflowError << 0.0;
    QTest::newRow("huge exponent") << "1e99999999999999999999" << Outcome::OverflowError << 0.0;
    QTest::newRow("huge number of digits") << QString(400, '9') << Outcome::OverflowError << 0.0;
}

void TestConversion::textToDouble()
{
    QFETCH(QString, text);
    QFETCH(Outcome, outcome);
    QFETCH(double, expected);

    try {
        const double value = runtime::TextToDouble(u16(text));
        QCOMPARE(outcome, Outcome::Value);
        QCOMPARE(std::bit_cast<std::uint64_t>(value), std::bit_cast<std::uint64_t>(expected));
    } catch (const runtime::Error &error) {
        QVERIFY2(outcome != Outcome::Value, error.what());
        QCOMPARE(error.kind(), outcome == Outcome::OverflowError ? ErrorKind::Overflow : ErrorKind::Conversion);
        QCOMPARE(error.input(), runtime::Input::None);
    }
}

void TestConversion::textToDoubleAgreesWithStrtod()
{
    // Random decimal texts of every shape the grammar allows; each accepted
    // one must give exactly strtod's correctly rounded double.
    std::mt19937_64 random(20261208);
    const std::string digits = "0123456789";
    auto someDigits = [&](int most) {
        std::string s;
        const int count = std::uniform_int_distribution<int>(1, most)(random);
        for (int i = 0; i < count; ++i)
            s += digits[random() % 10];
        return s;
    };
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        if (random() % 3 == 0)
            text += (random() % 2) ? "-" : "+";
        switch (random() % 3) {
        case 0: text += someDigits(20); break;
        case 1: text += someDigits(20) + "." + someDigits(20); break;
        default: text += "." + someDigits(25); break;
        }
        if (random() % 2)
            text += ((random() % 2) ? "e" : "E") + std::to_string(std::uniform_int_distribution<int>(-330, 310)(random));
        const double expected = referenceStrtod(text);
        try {
            const double value = runtime::TextToDouble(std::u16string(text.begin(), text.end()));
            QVERIFY2(std::bit_cast<std::uint64_t>(value) == std::bit_cast<std::uint64_t>(expected), text.c_str());
        } catch (const runtime::Error &error) {
            QVERIFY2(error.kind() == ErrorKind::Overflow && std::isinf(expected), text.c_str());
        }
    }
}

void TestConversion::textToDoubleIgnoresProcessLocale()
{
    // A desktop session may run the program in a locale with a decimal
    // comma; the full stop stays the separator.
    const char *previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        QSKIP("no locale with a decimal comma is installed");
    const double value = runtime::TextToDouble(u"0.5");
    const std::u16string text = runtime::DoubleToText(0.25);
    std::setlocale(LC_NUMERIC, saved.c_str());
    QCOMPARE(value, 0.5);
    QCOMPARE(qs(text), QString("0.25"));
}

void TestConversion::doubleToText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");

    QTest::newRow("whole number gives digits only") << 5800.0 << "5800";
    QTest::newRow("trailing zeros removed") << 0.5 << "0.5";
    QTest::newRow("four decimals below one") << 0.7201 << "0.7201";
    QTest::newRow("rounded fraction 0.001") << 0.001 << "0.001";
    QTest::newRow("negative") << -51.6004 << "-51.6004";
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("fifteen significant digits") << 0.1 + 0.2 << "0.3";
    QTest::newRow("pi to fifteen digits") << 3.14159265358979 << "3.14159265358979";
    QTest::newRow("smallest fixed value") << 1e-4 << "0.0001";
    QTest::newRow("below fixed range") << 1e-5 << "1E-05";
    QTest::newRow("largest fixed range") << 999999999999999.0 << "999999999999999";
    QTest::newRow("start of exponent form") << 1e15 << "1E+15";
    QTest::newRow("exponent with mantissa") << 1.5e20 << "1.5E+20";
    QTest::newRow("three-digit exponent") << 1e300 << "1E+300";
    QTest::newRow("negative tiny") << -2.5e-7 << "-2.5E-07";
    QTest::newRow("largest double stays within the range") << std::numeric_limits<double>::max() << "1.79769313486231E+308";
    QTest::newRow("largest negative double") << -std::numeric_limits<double>::max() << "-1.79769313486231E+308";
    QTest::newRow("just below the rounding edge") << 1.7976931348623e308 << "1.7976931348623E+308";
    QTest::newRow("subnormal") << std::numeric_limits<double>::denorm_min() << "4.94065645841247E-324";
    QTest::newRow("one million") << 1e6 << "1000000";
}

void TestConversion::doubleToText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(qs(runtime::DoubleToText(value)), text);
}

void TestConversion::doubleToTextAgreesWithPrintfAndRoundTrips()
{
    std::mt19937_64 random(42);
    for (int i = 0; i < 20000; ++i) {
        double value = std::bit_cast<double>(random());
        if (!std::isfinite(value))
            continue;
        if (i % 2)
            value = std::ldexp(std::uniform_real_distribution<double>(-1, 1)(random), int(random() % 120) - 60);
        const std::u16string text = runtime::DoubleToText(value);
        std::string expected = value == 0 ? "0" : referencePrint(value);
        if (expected.ends_with("1.79769313486232E+308"))
            expected.replace(expected.size() - 21, 21, "1.79769313486231E+308");
        QCOMPARE(qs(text), QString::fromStdString(expected));
        // Reading the text back and writing it again gives the same text.
        QCOMPARE(qs(runtime::DoubleToText(runtime::TextToDouble(text))), qs(text));
    }
}

void TestConversion::roundToDecimals_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("expected");

    QTest::newRow("F for 5800 K and 1 um") << 0.72012419788325499 << 4 << 0.7201;
    QTest::newRow("exact tie goes down to even") << 0.53125 << 4 << 0.5312;
    QTest::newRow("exact tie goes up to even") << 0.59375 << 4 << 0.5938;
    QTest::newRow("2.5 to a whole number is 2") << 2.5 << 0 << 2.0;
    QTest::newRow("3.5 to a whole number is 4") << 3.5 << 0 << 4.0;
    QTest::newRow("-2.5 to a whole number is -2") << -2.5 << 0 << -2.0;
    QTest::newRow("double nearest 0.00005 lies above the tie") << 0.00005 << 4 << 0.0001;
    QTest::newRow("double nearest 0.00015 lies below the tie") << 0.00015 << 4 << 0.0001;
    QTest::newRow("just below one rounds to one") << 0.99999995 << 4 << 1.0;
    QTest::newRow("tiny positive rounds to zero") << 8.8e-202 << 4 << 0.0;
    QTest::newRow("tiny negative rounds to negative zero") << -1e-9 << 4 << -0.0;
    QTest::newRow("negative fraction") << -51.60036023 << 4 << -51.6004;
    QTest::newRow("large whole value unchanged") << 1e300 << 0 << 1e300;
    QTest::newRow("largest double unchanged") << std::numeric_limits<double>::max() << 4 << std::numeric_limits<double>::max();
    QTest::newRow("0.999999598468 rounds to one") << 0.999999598468 << 4 << 1.0;
    QTest::newRow("1110.0000001 to a whole number") << 1110.0000001 << 0 << 1110.0;
}

void TestConversion::roundToDecimals()
{
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(double, expected);
    const double rounded = runtime::RoundToDecimals(value, decimals);
    QCOMPARE(std::bit_cast<std::uint64_t>(rounded), std::bit_cast<std::uint64_t>(expected));
}

void TestConversion::roundToDecimalsAgreesWithPrintf()
{
    // glibc printf rounds the exact binary value, ties to even: an
    // independent reference for the decision.
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        const double value = std::uniform_real_distribution<double>(-2, 2)(random)
                * std::pow(10.0, int(random() % 10));
        const int decimals = int(random() % 6);
        char buffer[400];
        std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
        const double expected = referenceStrtod(buffer);
        QCOMPARE(std::bit_cast<std::uint64_t>(runtime::RoundToDecimals(value, decimals)),
                 std::bit_cast<std::uint64_t>(expected));
    }
    // Exact binary ties k/2^m at four decimals: 0.xxxx5 is a tie only when
    // it is a dyadic rational, e.g. 0.03125 = 1/32.
    QCOMPARE(runtime::RoundToDecimals(0.03125, 4), 0.0312);
    QCOMPARE(runtime::RoundToDecimals(0.09375, 4), 0.0938);
}

void TestConversion::int16Arithmetic()
{
    QCOMPARE(runtime::TextLength(u"0.7201"), std::int16_t(6));
    QCOMPARE(runtime::TextLength(std::u16string(32767, u'0')), std::int16_t(32767));
    try {
        runtime::TextLength(std::u16string(32768, u'0'));
        QFAIL("a length of 32768 must overflow");
    } catch (const runtime::Error &error) {
        QCOMPARE(error.kind(), ErrorKind::Overflow16);
    }
    QCOMPARE(runtime::AddInt16(100, 1), std::int16_t(101));
    QCOMPARE(runtime::AddInt16(-32768, 32767), std::int16_t(-1));
    for (auto [a, b] : {std::pair<std::int16_t, std::int16_t>{32767, 1}, {-32768, -1}}) {
        try {
            runtime::AddInt16(a, b);
            QFAIL("16-bit addition must overflow");
        } catch (const runtime::Error &error) {
            QCOMPARE(error.kind(), ErrorKind::Overflow16);
        }
    }
}

QTEST_APPLESS_MAIN(TestConversion)
#include "tst_conversion.moc"
