#include "calc/calculation.h"
#include "runtime/error.h"

#include <QtTest>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

using calc::CalculationState;
using runtime::ErrorKind;
using runtime::Input;

namespace {

std::u16string u16(const QString &s) { return s.toStdU16String(); }
QString qs(const std::u16string &s) { return QString::fromStdU16String(s); }

// A value to 12 significant digits, as the worked examples list them.
QString digits12(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 12);
    return QString::fromLatin1(buffer, int(result.ptr - buffer));
}

constexpr double Sentinel = 777.0;
constexpr std::int16_t SentinelN = 777;

// A state whose every variable but the constants holds a value no
// calculation writes, so a test sees exactly which ones were written.
CalculationState sentinelState()
{
    CalculationState s;
    s.z = s.InfSum = s.F = s.L = s.T = s.LT = Sentinel;
    s.n = SentinelN;
    return s;
}

bool sameDouble(double a, double b)
{
    return (std::isnan(a) && std::isnan(b)) || std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// What a failed calculation leaves: the error and every module variable.
struct FaultCase {
    ErrorKind kind;
    Input input;
    double L, T, LT, z, InfSum, F;
    std::int16_t n;
};

constexpr double inf = std::numeric_limits<double>::infinity();

} // namespace

Q_DECLARE_METATYPE(FaultCase)

class TestCalculation : public QObject {
    Q_OBJECT

private slots:
    void defaultStateHoldsTheConstants();
    void isZeroInput_data();
    void isZeroInput();
    void workedExamples_data();
    void workedExamples();
    void firstAndLastTerms();
    void underflowingTermsAreZeroWithoutFault_data();
    void underflowingTermsAreZeroWithoutFault();
    void referenceBitsOfF();
    void negativeInputsInTheRawSeries_data();
    void negativeInputsInTheRawSeries();
    void faultsLeaveTheStateOfTheFailingStep_data();
    void faultsLeaveTheStateOfTheFailingStep();
    void overflowInTheLoopForNegativeLambdaT();
    void captions_data();
    void captions();
    void zeroInputChangesNothing_data();
    void zeroInputChangesNothing();
    void inputsRefusedByCalculateValues_data();
    void inputsRefusedByCalculateValues();
    void captionFunctions_data();
    void captionFunctions();
    void fractionCaptionIsSixCharactersBetweenZeroAndOne();
};

void TestCalculation::defaultStateHoldsTheConstants()
{
    const CalculationState s;
    QCOMPARE(s.C2, 14387.96);
    QCOMPARE(s.PI, 3.14159265359);
    QVERIFY(s.PI > 3.141592653589793); // the 11-decimal value, above the double nearest pi
    QCOMPARE(s.z, 0.0);
    QCOMPARE(s.n, std::int16_t(0));
    QCOMPARE(s.InfSum + s.F + s.L + s.T + s.LT, 0.0);
}

void TestCalculation::isZeroInput_data()
{
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<QString>("wavelength");
    QTest::addColumn<bool>("zero");

    QTest::newRow("wavelength 0") << "5800" << "0" << true;
    QTest::newRow("temperature 0") << "0" << "2" << true;
    QTest::newRow("both 0") << "0" << "0" << true;
    QTest::newRow("temperature 0 with a wavelength that is no number") << "0" << "abc" << true;
    QTest::newRow("0.0 is not the zero text") << "0.0" << "1" << false;
    QTest::newRow("00 is not the zero text") << "00" << "1" << false;
    QTest::newRow("space before 0 is not the zero text") << " 0" << "1" << false;
    QTest::newRow("-0 is not the zero text") << "1" << "-0" << false;
    QTest::newRow("empty is not the zero text") << "" << "" << false;
    QTest::newRow("ordinary inputs") << "5800" << "1" << false;
}

void TestCalculation::isZeroInput()
{
    QFETCH(QString, temperature);
    QFETCH(QString, wavelength);
    QFETCH(bool, zero);
    QCOMPARE(calc::IsZeroInput(u16(temperature), u16(wavelength)), zero);
}

void TestCalculation::workedExamples_data()
{
    QTest::addColumn<QString>("wavelength");
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<QString>("LT");
    QTest::addColumn<QString>("z");
    QTest::addColumn<QString>("InfSum");
    QTest::addColumn<QString>("F");
    QTest::addColumn<QString>("fraction");
    QTest::addColumn<QString>("product");

    QTest::newRow("1 um at 5800 K") << "1" << "5800" << "5800" << "2.48068275862" << "4.67644290316"
                                    << "0.720124197883" << "0.7201" << "5800";
    QTest::newRow("0.5 um at 5800 K") << "0.5" << "5800" << "2900" << "4.96136551724" << "1.62706546511"
                                      << "0.250551377881" << "0.2506" << "2900";
    QTest::newRow("10 um at 300 K") << "10" << "300" << "3000" << "4.79598666667" << "1.77427567088"
                                    << "0.273220238282" << "0.2732" << "3000";
    QTest::newRow("large lambda T stays below one") << "1000" << "1000" << "1000000" << "0.01438796"
                                                    << "6.49393679474" << "0.999999598468" << "1.0000" << "1000000";
    QTest::newRow("lambda T 30 keeps only the first term") << "0.1" << "300" << "30" << "479.598666667"
                                                           << "5.73190352256e-201" << "8.82654297722e-202"
                                                           << "0.0000" << "30";
}

void TestCalculation::workedExamples()
{
    QFETCH(QString, wavelength);
    QFETCH(QString, temperature);

    CalculationState s;
    calc::EvaluateSeries(s, u16(temperature), u16(wavelength));
    QTEST(digits12(s.LT), "LT");
    QTEST(digits12(s.z), "z");
    QTEST(digits12(s.InfSum), "InfSum");
    QTEST(digits12(s.F), "F");
    QCOMPARE(s.n, std::int16_t(101));

    CalculationState t;
    const calc::ResultTexts texts = calc::CalculateValues(t, u16(temperature), u16(wavelength));
    QTEST(qs(texts.fraction), "fraction");
    QTEST(qs(texts.product), "product");
    QCOMPARE(t.n, std::int16_t(6));
    QVERIFY(sameDouble(t.F, s.F));
}

void TestCalculation::firstAndLastTerms()
{
    CalculationState s;
    calc::SeriesTerms terms;
    terms.fill(Sentinel);
    calc::EvaluateSeries(s, u"5800", u"1", terms);
    QCOMPARE(terms[0], 0.0);
    QCOMPARE(digits12(terms[1]), QString("4.57018413072"));
    QCOMPARE(digits12(terms[2]), QString("0.101434179565"));
    QCOMPARE(digits12(terms[3]), QString("0.00455101478763"));
    QCOMPARE(digits12(terms[100]), QString("2.84638052455e-109"));
}

void TestCalculation::underflowingTermsAreZeroWithoutFault_data()
{
    QTest::addColumn<QString>("wavelength");
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<int>("nonZeroTerms");

    QTest::newRow("lambda T 30: only the first term") << "0.1" << "300" << 1;
    QTest::newRow("lambda T 10: no term") << "0.1" << "100" << 0;
    QTest::newRow("lambda T 2.5: no term") << "0.5" << "5" << 0;
}

void TestCalculation::underflowingTermsAreZeroWithoutFault()
{
    QFETCH(QString, wavelength);
    QFETCH(QString, temperature);
    QFETCH(int, nonZeroTerms);

    CalculationState s;
    calc::SeriesTerms terms;
    calc::EvaluateSeries(s, u16(temperature), u16(wavelength), terms);
    for (int i = 1; i <= 100; ++i)
        QVERIFY2((terms[std::size_t(i)] != 0.0) == (i <= nonZeroTerms), qPrintable(QString::number(i)));
    QCOMPARE(s.n, std::int16_t(101));
    if (nonZeroTerms == 0)
        QCOMPARE(s.F, 0.0);
}

void TestCalculation::referenceBitsOfF()
{
    // F to the last bit, with the library's pow and exp.
    CalculationState s;
    calc::EvaluateSeries(s, u"5800", u"1");
    QCOMPARE(std::bit_cast<std::uint64_t>(s.F), std::bit_cast<std::uint64_t>(0.72012419788325499));

    // An exact binary tie at four decimals goes to the even neighbour.
    calc::EvaluateSeries(s, u"4291.335050572353", u"1");
    QCOMPARE(s.F, 0.53125);
    QCOMPARE(qs(calc::CalculateValues(s, u"4291.335050572353", u"1").fraction), QString("0.5312"));
}

void TestCalculation::negativeInputsInTheRawSeries_data()
{
    QTest::addColumn<QString>("wavelength");
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<QString>("F");
    QTest::addColumn<QString>("fraction");
    QTest::addColumn<QString>("product");

    QTest::newRow("negative wavelength, series completes") << "-100" << "1000" << "-51.6003602301" << "-51.6004" << "-100000";
    QTest::newRow("negative wavelength, far from zero") << "-1000" << "1000" << "0.999999381468" << "1.0000" << "-1000000";
    QTest::newRow("both negative equal both positive") << "-1" << "-5800" << "0.720124197883" << "0.7201" << "5800";
}

void TestCalculation::negativeInputsInTheRawSeries()
{
    // The series itself takes negative inputs as they come; only
    // CalculateValues refuses them.
    QFETCH(QString, wavelength);
    QFETCH(QString, temperature);
    CalculationState s;
    calc::EvaluateSeries(s, u16(temperature), u16(wavelength));
    QTEST(digits12(s.F), "F");
    QTEST(qs(calc::FCaption(s.F)), "fraction");
    QTEST(qs(calc::LTCaption(s.LT)), "product");
}

void TestCalculation::faultsLeaveTheStateOfTheFailingStep_data()
{
    QTest::addColumn<QString>("wavelength");
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<FaultCase>("expected");

    const double S = Sentinel;
    const std::int16_t N = SentinelN;
    QTest::newRow("both texts bad: the wavelength is reported, nothing written")
            << "abc" << "xyz" << FaultCase{ErrorKind::Conversion, Input::Wavelength, S, S, S, S, S, S, N};
    QTest::newRow("empty wavelength")
            << "" << "5800" << FaultCase{ErrorKind::Conversion, Input::Wavelength, S, S, S, S, S, S, N};
    QTest::newRow("bad temperature: the wavelength is already stored")
            << "1" << "5800K" << FaultCase{ErrorKind::Conversion, Input::Temperature, 1, S, S, S, S, S, N};
    QTest::newRow("wavelength beyond the double range")
            << "1e400" << "5800" << FaultCase{ErrorKind::Overflow, Input::Wavelength, S, S, S, S, S, S, N};
    QTest::newRow("temperature beyond the double range")
            << "2" << "-1e400" << FaultCase{ErrorKind::Overflow, Input::Temperature, 2, S, S, S, S, S, N};
    QTest::newRow("temperature 0.0 divides by zero at z")
            << "1" << "0.0" << FaultCase{ErrorKind::DivisionByZero, Input::None, 1, 0, 0, inf, 0, S, 1};
    QTest::newRow("temperature 00 divides by zero at z")
            << "1" << "00" << FaultCase{ErrorKind::DivisionByZero, Input::None, 1, 0, 0, inf, 0, S, 1};
    QTest::newRow("wavelength -0 divides by zero at z")
            << "-0" << "5800" << FaultCase{ErrorKind::DivisionByZero, Input::None, -0.0, 5800, -0.0, -inf, 0, S, 1};
    QTest::newRow("lambda T beyond the range overflows at LT")
            << "1e200" << "1e200" << FaultCase{ErrorKind::Overflow, Input::None, 1e200, 1e200, inf, S, 0, S, 1};
    QTest::newRow("lambda T 1e-300 overflows at z squared")
            << "1e-300" << "1" << FaultCase{ErrorKind::Overflow, Input::None, 1e-300, 1, 1e-300, 14387.96 / 1e-300, 0, S, 1};
    QTest::newRow("lambda T 1e-116 overflows at z cubed")
            << "1e-116" << "1" << FaultCase{ErrorKind::Overflow, Input::None, 1e-116, 1, 1e-116, 14387.96 / 1e-116, 0, S, 1};
}

void TestCalculation::faultsLeaveTheStateOfTheFailingStep()
{
    QFETCH(QString, wavelength);
    QFETCH(QString, temperature);
    QFETCH(FaultCase, expected);

    CalculationState s = sentinelState();
    calc::SeriesTerms terms;
    try {
        calc::EvaluateSeries(s, u16(temperature), u16(wavelength), terms);
        QFAIL("the calculation did not fail");
    } catch (const runtime::Error &error) {
        QCOMPARE(error.kind(), expected.kind);
        QCOMPARE(error.input(), expected.input);
    }
    QVERIFY(sameDouble(s.L, expected.L));
    QVERIFY(sameDouble(s.T, expected.T));
    QVERIFY(sameDouble(s.LT, expected.LT));
    QVERIFY(sameDouble(s.z, expected.z));
    QVERIFY(sameDouble(s.InfSum, expected.InfSum));
    QVERIFY(sameDouble(s.F, expected.F));
    QCOMPARE(s.n, expected.n);
    QCOMPARE(s.C2, 14387.96);
    QCOMPARE(s.PI, 3.14159265359);
    if (expected.n == 1)
        for (double term : terms)
            QCOMPARE(term, 0.0);
}

void TestCalculation::overflowInTheLoopForNegativeLambdaT()
{
    // λT = -100: e^(-n z) grows with n and leaves the double range at the
    // fifth term, whose exponential overflows; the four terms before it are
    // summed, the fifth is stored as infinite, and F is not reached.
    CalculationState s = sentinelState();
    calc::SeriesTerms terms;
    QVERIFY_THROWS_EXCEPTION(runtime::Error, calc::EvaluateSeries(s, u"1000", u"-0.1", terms));
    try {
        calc::EvaluateSeries(s, u"1000", u"-0.1", terms);
    } catch (const runtime::Error &error) {
        QCOMPARE(error.kind(), ErrorKind::Overflow);
    }
    QCOMPARE(s.LT, -100.0);
    QCOMPARE(s.n, std::int16_t(5));
    QVERIFY(std::isinf(terms[5]));
    QVERIFY(std::isfinite(s.InfSum));
    QCOMPARE(s.InfSum, ((terms[1] + 0.0) + terms[2] + terms[3]) + terms[4]);
    QCOMPARE(s.F, Sentinel);
    for (std::size_t i = 6; i <= 100; ++i)
        QCOMPARE(terms[i], 0.0);

    // Just below -2038.47 µm·K the series completes; its sum can still be
    // too large for the factor 15, which then overflows after the loop.
    CalculationState t = sentinelState();
    try {
        calc::EvaluateSeries(t, u"1000", u"-2.0382");
        QFAIL("the factor 15 should overflow");
    } catch (const runtime::Error &error) {
        QCOMPARE(error.kind(), ErrorKind::Overflow);
    }
    QCOMPARE(t.n, std::int16_t(101));
    QVERIFY(std::isfinite(t.InfSum));
    QCOMPARE(t.F, Sentinel);
}

void TestCalculation::captions_data()
{
    QTest::addColumn<QString>("wavelength");
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<QString>("fraction");
    QTest::addColumn<QString>("product");

    QTest::newRow("typical") << "1" << "5800" << "0.7201" << "5800";
    QTest::newRow("rounds up at the fourth decimal") << "0.5" << "5800" << "0.2506" << "2900";
    QTest::newRow("0.001 filled with one zero") << "1.11" << "1000" << "0.0010" << "1110";
    QTest::newRow("0.01 filled with two zeros") << "1.447" << "1000" << "0.0100" << "1447";
    QTest::newRow("rounds to one") << "1000" << "1000" << "1.0000" << "1000000";
    QTest::newRow("tiny fraction rounds to zero") << "0.1" << "300" << "0.0000" << "30";
    QTest::newRow("lambda T 2.5 rounds to even 2") << "0.5" << "5" << "0.0000" << "2";
    QTest::newRow("lambda T 3.5 rounds to even 4") << "0.5" << "7" << "0.0000" << "4";
    QTest::newRow("wavelength 0") << "0" << "5800" << "0.0000" << "0";
    QTest::newRow("temperature 0") << "2" << "0" << "0.0000" << "0";
    QTest::newRow("truncated series shows 0.9999 just below the rounding edge") << "143.3248" << "1000" << "0.9999" << "143325";
    QTest::newRow("texts as typed: spaces and exponent") << " 1e0 " << "5.8E3" << "0.7201" << "5800";
    QTest::newRow("lambda T beyond 1e15 in exponent form") << "1e10" << "1e10" << "1.0000" << "1E+20";
}

void TestCalculation::captions()
{
    QFETCH(QString, wavelength);
    QFETCH(QString, temperature);
    CalculationState s;
    const calc::ResultTexts texts = calc::CalculateValues(s, u16(temperature), u16(wavelength));
    QTEST(qs(texts.fraction), "fraction");
    QTEST(qs(texts.product), "product");
}

void TestCalculation::zeroInputChangesNothing_data()
{
    QTest::addColumn<QString>("wavelength");
    QTest::addColumn<QString>("temperature");
    QTest::newRow("wavelength 0") << "0" << "5800";
    QTest::newRow("temperature 0 and a wavelength that is no number") << "abc" << "0";
    QTest::newRow("temperature 0 and an empty wavelength") << "" << "0";
    QTest::newRow("both 0") << "0" << "0";
}

void TestCalculation::zeroInputChangesNothing()
{
    QFETCH(QString, wavelength);
    QFETCH(QString, temperature);
    CalculationState s = sentinelState();
    const calc::ResultTexts texts = calc::CalculateValues(s, u16(temperature), u16(wavelength));
    QCOMPARE(qs(texts.fraction), QString("0.0000"));
    QCOMPARE(qs(texts.product), QString("0"));
    QCOMPARE(s.n, SentinelN);
    for (double v : {s.z, s.InfSum, s.F, s.L, s.T, s.LT})
        QCOMPARE(v, Sentinel);
}

void TestCalculation::inputsRefusedByCalculateValues_data()
{
    QTest::addColumn<QString>("wavelength");
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("input");

    const int negative = int(ErrorKind::NegativeInput);
    const int conversion = int(ErrorKind::Conversion);
    QTest::newRow("negative wavelength") << "-100" << "1000" << negative << int(Input::Wavelength);
    QTest::newRow("negative temperature") << "1" << "-5800" << negative << int(Input::Temperature);
    QTest::newRow("both negative: the wavelength is reported") << "-1" << "-5800" << negative << int(Input::Wavelength);
    QTest::newRow("negative exponent form") << "-1e-3" << "5800" << negative << int(Input::Wavelength);
    QTest::newRow("bad wavelength before a negative temperature") << "abc" << "-5" << conversion << int(Input::Wavelength);
    QTest::newRow("bad temperature before a negative wavelength") << "-1" << "abc" << conversion << int(Input::Temperature);
    QTest::newRow("bad temperature after a good wavelength") << "2" << "" << conversion << int(Input::Temperature);
    QTest::newRow("wavelength beyond the range before a negative temperature")
            << "1e999" << "-5" << int(ErrorKind::Overflow) << int(Input::Wavelength);
}

void TestCalculation::inputsRefusedByCalculateValues()
{
    QFETCH(QString, wavelength);
    QFETCH(QString, temperature);
    QFETCH(int, kind);
    QFETCH(int, input);

    CalculationState s = sentinelState();
    try {
        calc::CalculateValues(s, u16(temperature), u16(wavelength));
        QFAIL("the calculation did not fail");
    } catch (const runtime::Error &error) {
        QCOMPARE(int(error.kind()), kind);
        QCOMPARE(int(error.input()), input);
    }
    if (kind == int(ErrorKind::NegativeInput)) {
        QCOMPARE(s.n, SentinelN);
        for (double v : {s.z, s.InfSum, s.F, s.L, s.T, s.LT})
            QCOMPARE(v, Sentinel);
    } else {
        // A conversion failure leaves what the series leaves.
        CalculationState series = sentinelState();
        QVERIFY_THROWS_EXCEPTION(runtime::Error, calc::EvaluateSeries(series, u16(temperature), u16(wavelength)));
        QCOMPARE(s.n, series.n);
        QVERIFY(sameDouble(s.L, series.L));
        QVERIFY(sameDouble(s.T, series.T));
        QCOMPARE(s.LT, Sentinel);
    }
}

void TestCalculation::captionFunctions_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("fraction");
    QTest::addColumn<QString>("product");

    QTest::newRow("typical fraction") << 0.720124197883 << "0.7201" << "1";
    QTest::newRow("0.001 before filling") << 0.000999801503588 << "0.001" << "0";
    QTest::newRow("0.01 before filling") << 0.00995441512531 << "0.01" << "0";
    QTest::newRow("negative rounds to negative zero: the zero text") << -0.00001 << "0.0000" << "0";
    QTest::newRow("negative result shown as it comes") << -51.6003602301 << "-51.6004" << "-52";
    QTest::newRow("exactly one") << 1.0 << "1.0000" << "1";
    QTest::newRow("above one") << 1.23456 << "1.2346" << "1";
    QTest::newRow("half goes to even (down)") << 2.5 << "2.5" << "2";
    QTest::newRow("half goes to even (up)") << 3.5 << "3.5" << "4";
    QTest::newRow("large whole number") << 1e6 << "1000000" << "1000000";
}

void TestCalculation::captionFunctions()
{
    QFETCH(double, value);
    QTEST(qs(calc::FCaption(value)), "fraction");
    QTEST(qs(calc::LTCaption(value)), "product");
}

void TestCalculation::fractionCaptionIsSixCharactersBetweenZeroAndOne()
{
    // Over λT from 1 to 1e7 µm·K the filled caption is always a digit, the
    // full stop and four digits, and n holds its length.
    CalculationState s;
    for (double lt = 1.0; lt < 1e7; lt *= 1.01) {
        const std::u16string wavelength = u"1";
        const QString temperature = QString::number(lt, 'g', 17);
        const calc::ResultTexts texts = calc::CalculateValues(s, u16(temperature), wavelength);
        QVERIFY2(texts.fraction.size() == 6 && texts.fraction[1] == u'.', qPrintable(temperature));
        QVERIFY(texts.fraction >= u"0.0000" && texts.fraction <= u"1.0000");
        QCOMPARE(s.n, std::int16_t(6));
    }
}

QTEST_APPLESS_MAIN(TestCalculation)
#include "tst_calculation.moc"
