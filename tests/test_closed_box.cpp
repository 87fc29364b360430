// The closed-box model against textbook relations and a direct evaluation of the second-order
// high-pass (closed_box_model.h).

#include "closed_box_model.h"
#include "core/arithmetic_fault.h"
#include "core/decimal_text.h"
#include "speaker/closed_box.h"
#include "speaker/response_export.h"

#include <QRegularExpression>
#include <QStringList>
#include <QTest>
#include <cmath>
#include <utility>

namespace {

const Driver defaults{19, 3.4, 2.63, 0.18, 90};
constexpr double defaultVb = 50;
constexpr double defaultRout = 6;

} // namespace

class TestClosedBox : public QObject {
    Q_OBJECT

private slots:
    void agreesWithTextbook_data() {
        QTest::addColumn<double>("fs");
        QTest::addColumn<double>("re");
        QTest::addColumn<double>("qms");
        QTest::addColumn<double>("qes");
        QTest::addColumn<double>("vas");
        QTest::addColumn<double>("vb");
        QTest::addColumn<double>("rout");
        QTest::newRow("defaults") << 19.0 << 3.4 << 2.63 << 0.18 << 90.0 << 50.0 << 6.0;
        QTest::newRow("second example") << 30.0 << 6.0 << 5.0 << 0.6 << 50.0 << 20.0 << 1.0;
        QTest::newRow("low bounds") << 10.0 << 1.0 << 0.1 << 0.1 << 2.0 << 500.0 << 0.1;
        QTest::newRow("high bounds") << 500.0 << 100.0 << 10.0 << 10.0 << 500.0 << 3.0 << 200.0;
    }

    void agreesWithTextbook() {
        QFETCH(double, fs);
        QFETCH(double, re);
        QFETCH(double, qms);
        QFETCH(double, qes);
        QFETCH(double, vas);
        QFETCH(double, vb);
        QFETCH(double, rout);
        const Driver d{fs, re, qms, qes, vas};
        const ClosedBox box = closedBox(d, vb, rout);
        const Textbook t = textbook(d, vb, rout);
        QVERIFY(std::fabs(box.fc / t.fc - 1) < 1e-13);
        QVERIFY(std::fabs(box.qtc / t.qtc - 1) < 1e-13);
        QVERIFY(std::fabs(box.qtcNew / t.qtcNew - 1) < 1e-13);
        QVERIFY(std::fabs(box.f3 / halfPowerFrequency(t.fc, t.qtc) - 1) < 1e-9);
        QVERIFY(std::fabs(box.f3New / halfPowerFrequency(t.fc, t.qtcNew) - 1) < 1e-9);
    }

    // The figures the page shows for the two worked examples and the Qms = 0,1 variant.
    void labelFigures() {
        ClosedBox box = closedBox(defaults, defaultVb, defaultRout);
        QCOMPARE(displayRounded(box.qtc, 3), "0,282");
        QCOMPARE(displayRounded(box.f3, 2), "103,89");
        QCOMPARE(displayRounded(box.qtcNew, 3), "0,7");
        QCOMPARE(displayRounded(box.f3New, 2), "32,11");
        QCOMPARE(formatGeneral(requiredOutputResistance(defaults, box.s)), "5,996");
        QVERIFY(std::fabs(box.fc - 31.793) < 0.0005);

        const Driver second{30, 6, 5, 0.6, 50};
        box = closedBox(second, 20, 1);
        QCOMPARE(displayRounded(box.qtc, 3), "1,002");
        QCOMPARE(displayRounded(box.f3, 2), "44,08");
        QCOMPARE(displayRounded(box.qtcNew, 3), "1,149");
        QCOMPARE(displayRounded(box.f3New, 2), "41,85");
        QCOMPARE(formatGeneral(requiredOutputResistance(second, box.s)), "-1,956");

        Driver lossy = defaults;
        lossy.qms = 0.1;
        box = closedBox(lossy, defaultVb, defaultRout);
        QCOMPARE(formatGeneral(requiredOutputResistance(lossy, box.s)), "-5,882");
    }

    // Fed through the required resistance, the box reaches Qtc = 0,7; the 0.001 Ω rounding moves
    // Q by far less than 1e-4.
    void requiredResistanceGivesButterworthQ() {
        for (const double vb : {20.0, 50.0, 120.0}) {
            const ClosedBox box = closedBox(defaults, vb, 0);
            const double r = requiredOutputResistance(defaults, box.s);
            QVERIFY(r > 0);
            QVERIFY(std::fabs(r * 1000 - std::round(r * 1000)) < 1e-6);
            QVERIFY(std::fabs(closedBox(defaults, vb, r).qtcNew - 0.7) < 1e-4);
        }
    }

    // s/0,7 = 1/Qms exactly: Vas/Vb = 3 makes s = 2, and 2/0,7 and 1/0,35 are the same double.
    void requiredResistanceAtTheSingularityFaults() {
        const Driver d{19, 3.4, 0.35, 0.18, 150};
        const ClosedBox box = closedBox(d, 50, 6);
        QCOMPARE(box.s, 2.0);
        try {
            requiredOutputResistance(d, box.s);
            QFAIL("no fault");
        } catch (const ArithmeticFault &fault) {
            QCOMPARE(fault.what(), "Floating point division by zero");
        }
    }

    void frequencyGrid() {
        const auto f = responseFrequencies();
        QCOMPARE(f.size(), std::size_t(100));
        QCOMPARE(f[0], 10.0);
        for (std::size_t k = 1; k < f.size(); ++k) {
            // 10 · 100^(k/98.999), evaluated in one step.
            const long double exact = 10.0L * std::pow(100.0L, k / 98.999L);
            QVERIFY(std::fabs(f[k] / exact - 1) < 1e-13);
            QVERIFY(f[k] > f[k - 1]);
        }
        QVERIFY(std::fabs(f[50] - 102.36) < 0.005);
        QVERIFY(f[99] > 1000 && std::fabs(f[99] - 1000.0465) < 0.00005);
    }

    void levelIsTheHighPassMagnitude() {
        for (const double q : {0.1, 0.282, 0.7, 1 / std::sqrt(2.0), 1.0, 5.0, 130.0})
            for (const double x : {0.01, 0.3, 0.999, 1.0, 1.7, 40.0}) {
                const double fc = 31.79;
                QVERIFY(std::fabs(responseLevel(x * fc, fc, q) - highPassDb(x * fc, fc, q)) < 1e-9);
            }
        // At the corner the level is 20·log10(Q); a Butterworth box is −3 dB there.
        QVERIFY(std::fabs(responseLevel(50, 50, 10) - 20) < 1e-12);
        QVERIFY(std::fabs(cornerFrequency(50, 1 / std::sqrt(2.0)) - 50) < 1e-12);
    }

    // The points quoted for the default inputs: first, 51st and last grid point of both curves.
    void defaultCurves() {
        const ClosedBox box = closedBox(defaults, defaultVb, defaultRout);
        const auto f = responseFrequencies();
        const auto near = [](double level, double expected, double tolerance) {
            return std::fabs(level - expected) <= tolerance;
        };
        QVERIFY(near(responseLevel(f[0], box.fc, box.qtc), -23.23, 0.005));
        QVERIFY(near(responseLevel(f[0], box.fc, box.qtcNew), -20.15, 0.005));
        QVERIFY(near(responseLevel(f[50], box.fc, box.qtc), -3.08, 0.005));
        QVERIFY(near(responseLevel(f[50], box.fc, box.qtcNew), -0.06, 0.005));
        QVERIFY(near(responseLevel(f[99], box.fc, box.qtc), -0.046, 0.0005));
        QVERIFY(near(responseLevel(f[99], box.fc, box.qtcNew), -0.0002, 0.00005));
    }

    // Both FRD files read back: comments first, then ascending points, the first 100 the
    // chart's, on to the first at or above 20 kHz, phases within (0°, 180°), 90° at fc.
    void exports() {
        const SpeakerRun run{defaults, defaultVb, 6.5, closedBox(defaults, defaultVb, 6.5), {}};
        const double fc = run.box.fc;
        const auto chart = responseFrequencies();
        for (const auto &[curve, q, about] :
             {std::tuple{ResponseCurve::IdealSource, run.box.qtc, "Rout = 0 Ohm"},
              std::tuple{ResponseCurve::RunRout, run.box.qtcNew, "Rout)) = -9.283"}}) {
            QCOMPARE(responsePhase(fc, fc, q), 90.0);
            QStringList lines = QString::fromStdString(frdText(run, curve)).split("\r\n");
            const qsizetype first = lines.indexOf(QRegularExpression("[^*].*"));
            QVERIFY(lines.takeLast().isEmpty() && lines.mid(0, first).join('\n').contains(about));
            double f = 0;
            for (qsizetype k = first; k < lines.size(); ++k) {
                const QStringList v = lines[k].split(' ');
                const double previous = std::exchange(f, v[0].toDouble()),
                             phase = v.value(2).toDouble();
                QVERIFY(v.size() == 3 && f > previous && phase > 0 && phase < 180);
                QVERIFY(k - first >= 100 ||
                        (f == chart[k - first] && v[1].toDouble() == responseLevel(f, fc, q)));
            }
            QVERIFY(lines.size() - first > 100 && f >= 20000 && f / responseRatio() < 20000);
        }
        QCOMPARE(frdFileName(run, ResponseCurve::IdealSource), "АЧХ_Rвых_0.frd");
        QCOMPARE(frdFileName(run, ResponseCurve::RunRout), "АЧХ_Rвых_6,5_Ом.frd");
    }
};

QTEST_APPLESS_MAIN(TestClosedBox)
#include "test_closed_box.moc"
