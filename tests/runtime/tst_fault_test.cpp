#include "runtime/error.h"
#include "runtime/fault_test.h"

#include <QtTest>

#include <cmath>
#include <functional>
#include <limits>
#include <optional>

using runtime::ErrorKind;

namespace {

// Operands are read through volatile so that nothing is folded at compile
// time: every operation really runs and raises its flags.
volatile double zero = 0.0;
volatile double one = 1.0;
volatile double huge = 1e300;
volatile double tiny = 1e-300;
volatile double infinity = std::numeric_limits<double>::infinity();

using Operation = std::function<double()>;

} // namespace

Q_DECLARE_METATYPE(Operation)
Q_DECLARE_METATYPE(std::optional<ErrorKind>)

class TestFaultTest : public QObject {
    Q_OBJECT

private slots:
    void reportsTheRaisedFault_data();
    void reportsTheRaisedFault();
    void clearingForgetsEarlierFaults();
    void faultsStaySetUntilCleared();
};

void TestFaultTest::reportsTheRaisedFault_data()
{
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<std::optional<ErrorKind>>("expected");

    const std::optional<ErrorKind> none;
    QTest::newRow("product beyond the range is an overflow")
            << Operation([] { return huge * huge; }) << std::optional(ErrorKind::Overflow);
    QTest::newRow("pow beyond the range is an overflow")
            << Operation([] { return std::pow(huge, 2.0); }) << std::optional(ErrorKind::Overflow);
    QTest::newRow("exp beyond the range is an overflow")
            << Operation([] { return std::exp(1000.0 * one); }) << std::optional(ErrorKind::Overflow);
    QTest::newRow("dividing by zero")
            << Operation([] { return one / zero; }) << std::optional(ErrorKind::DivisionByZero);
    QTest::newRow("zero over zero is invalid")
            << Operation([] { return zero / zero; }) << std::optional(ErrorKind::InvalidOperation);
    QTest::newRow("infinity minus infinity is invalid")
            << Operation([] { return infinity - infinity; }) << std::optional(ErrorKind::InvalidOperation);
    QTest::newRow("division by zero reported before the invalid operation it causes")
            << Operation([] { const double i = one / zero; volatile double v = i; return v - v; })
            << std::optional(ErrorKind::DivisionByZero);
    QTest::newRow("overflow reported before the invalid operation it causes")
            << Operation([] { const double i = huge * huge; volatile double v = i; return v * zero; })
            << std::optional(ErrorKind::Overflow);
    QTest::newRow("underflow is not a fault")
            << Operation([] { return tiny * tiny; }) << none;
    QTest::newRow("exp below the range is not a fault")
            << Operation([] { return std::exp(-1000.0 * one); }) << none;
    QTest::newRow("inexact is not a fault")
            << Operation([] { return one / 3.0; }) << none;
    QTest::newRow("arithmetic on infinity alone is not a fault")
            << Operation([] { return infinity * 2.0; }) << none;
}

void TestFaultTest::reportsTheRaisedFault()
{
    QFETCH(Operation, operation);
    QFETCH(std::optional<ErrorKind>, expected);

    runtime::ClearFaults();
    try {
        runtime::Checked(operation());
        QVERIFY2(!expected, "the fault went unreported");
    } catch (const runtime::Error &error) {
        QVERIFY2(expected.has_value(), error.what());
        QCOMPARE(error.kind(), *expected);
    }
}

void TestFaultTest::clearingForgetsEarlierFaults()
{
    runtime::ClearFaults();
    volatile double ignored = one / zero;
    (void)ignored;
    runtime::ClearFaults();
    runtime::TestFaults(); // must not throw
    QCOMPARE(runtime::PendingFaults(), 0);
}

void TestFaultTest::faultsStaySetUntilCleared()
{
    // The flags are sticky: a fault raised before harmless steps is still
    // reported by a later test.
    runtime::ClearFaults();
    volatile double overflowed = huge * huge;
    volatile double harmless = one + one;
    (void)overflowed;
    (void)harmless;
    QVERIFY_THROWS_EXCEPTION(runtime::Error, runtime::TestFaults());
    QVERIFY_THROWS_EXCEPTION(runtime::Error, runtime::TestFaults());
    runtime::ClearFaults();
}

QTEST_APPLESS_MAIN(TestFaultTest)
#include "tst_fault_test.moc"
