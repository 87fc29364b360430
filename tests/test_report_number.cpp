// The report's number fields: fixed point, halves away from zero after the value is taken to 18
// significant digits, right-aligned, never cut.

#include "core/arithmetic_fault.h"
#include "report/report_number.h"
#include "user_locales.h"

#include <QTest>
#include <cfloat>
#include <cmath>
#include <limits>

namespace {

QString number(double value, int width, int decimals) {
    return QString::fromStdString(formatReportNumber(value, width, decimals));
}

} // namespace

class ReportNumberTest : public QObject {
    Q_OBJECT

private slots:
    void fieldsOfTheReport() {
        QCOMPARE(number(20000, 4, 1), "20000.0"); // wider than the field, not cut
        QCOMPARE(number(0.2, 4, 2), "0.20");
        QCOMPARE(number(4, 4, 1), " 4.0");
        QCOMPARE(number(3.4, 4, 1), " 3.4");
        QCOMPARE(number(19.96, 4, 1), "20.0");
        QCOMPARE(number(0.23847, 3, 3), "0.238");
        QCOMPARE(number(-1.956, 4, 2), "-1.96");
        QCOMPARE(number(6, 4, 2), "6.00");
        QCOMPARE(number(5, 3, 2), "5.00");
        QCOMPARE(number(0, 4, 1), " 0.0");
    }

    // The value as 18 significant digits decides: exact binary halves go away from zero, a
    // decimal that is stored a hair below its half stays below, and a 19th digit is gone.
    void roundsTheEighteenDigitValue() {
        QCOMPARE(number(0.125, 3, 2), "0.13");
        QCOMPARE(number(-0.125, 3, 2), "-0.13");
        QCOMPARE(number(2.5, 1, 0), "3");
        QCOMPARE(number(-2.5, 1, 0), "-3");
        QCOMPARE(number(1.005, 4, 2), "1.00"); // 1.00499999999999989…
        QCOMPARE(number(0.05, 3, 1), "0.1");   // 0.0500000000000000028…
        QCOMPARE(number(std::ldexp(1.0, 60), 4, 1), "1152921504606846980.0");
        // The carry runs through every nine and lengthens the number.
        QCOMPARE(number(99.96, 4, 1), "100.0");
        QCOMPARE(number(0.9996, 3, 3), "1.000");
        QCOMPARE(number(-999.96, 4, 1), "-1000.0");
    }

    void zeroHasNoSignButATinyNegativeKeepsIt() {
        QCOMPARE(number(-0.0, 4, 2), "0.00");
        QCOMPARE(number(-0.001, 4, 2), "-0.00");
        QCOMPARE(number(0.004999, 4, 2), "0.00");
        QCOMPARE(number(0.005, 4, 2), "0.01"); // 0.005000000000000000104…
    }

    void everyFiniteDoubleIsPrintedInFull() {
        const QString max = number(DBL_MAX, 4, 1);
        QCOMPARE(max, "179769313486231571" + QString(291, '0') + ".0");
        QCOMPARE(number(-DBL_MAX, 4, 1), "-" + max);
        QCOMPARE(number(1e17, 4, 1), "100000000000000000.0");
        const double denormal = std::numeric_limits<double>::denorm_min();
        QCOMPARE(number(denormal, 4, 2), "0.00");
        QCOMPARE(number(-denormal, 4, 2), "-0.00");
        QCOMPARE(number(DBL_MIN, 3, 3), "0.000");
        // More decimals than the 18 digits reach: the rest is zeros, not binary noise.
        QCOMPARE(number(0.1, 4, 20), "0.10000000000000000600");
    }

    void noInfinityOrNanReachesTheFile() {
        QVERIFY_THROWS_EXCEPTION(ArithmeticFault,
                                 formatReportNumber(std::numeric_limits<double>::infinity(), 4, 1));
        QVERIFY_THROWS_EXCEPTION(
            ArithmeticFault, formatReportNumber(std::numeric_limits<double>::quiet_NaN(), 4, 1));
    }
};

int main(int argc, char **argv) { return runUnderEachLocale<ReportNumberTest>(argc, argv); }

#include "test_report_number.moc"
