// The loudspeaker as the amplifier's load against what a reader derives by hand: without Le the
// page's second-order high-pass, the pass band from η0 and P, the impedance peak at fc and the
// excursion of a stiffened suspension; with Le the F3 against a fine scan; the netlist with the
// loudspeaker against ngspice; the exported files read back.

#include "amplifier/spice_netlist.h"
#include "core/decimal_text.h"
#include "driver_load/driver_f3.h"
#include "driver_load/driver_load_export.h"
#include "driver_load/driver_load_fields.h"
#include "ngspice_run.h"
#include "speaker/response_export.h"

#include <QTest>
#include <cmath>
#include <numbers>

namespace {

SpeakerRun speakerRun(const Driver &d, double vb, double rout) {
    return {d, vb, rout, closedBox(d, vb, rout), {}};
}

// The page's defaults, a box already above Qtc = 0,7, and a sharp one near the field bounds.
const std::array<SpeakerRun, 3> runs{speakerRun({19, 3.4, 2.63, 0.18, 90}, 50, 6),
                                     speakerRun({30, 6, 5, 0.6, 50}, 20, 1),
                                     speakerRun({60, 8, 10, 2, 400}, 3, 0.6)};

DriverLoadInputs inputs(double le, double heating, double targetQtc = 0.7) {
    DriverLoadInputs in = defaultDriverLoadInputs();
    std::tie(in.le, in.heating, in.targetQtc) = std::tuple(le, heating, targetQtc);
    return in;
}

bool near(double a, double b, double tolerance) { return std::fabs(a - b) <= tolerance; }

// The rows of three numbers after an exported file's '*' comment lines; none where it is not
// ASCII or holds another line or a line end other than CR LF.
std::vector<QStringList> readBack(const std::string &text) {
    const auto file = QRegularExpression("^(\\*[^\r\n]*\r\n)+((\\S+ \\S+ \\S+\r\n)+)$")
                          .match(QString::fromStdString(text));
    std::vector<QStringList> rows;
    if (file.hasMatch() && std::all_of(text.begin(), text.end(), [](char c) { return c > 0; }))
        for (const QString &line : file.captured(2).split("\r\n", Qt::SkipEmptyParts))
            rows.push_back(line.split(' '));
    return rows;
}

} // namespace

class TestDriverLoad : public QObject {
    Q_OBJECT

private slots:
    // Without Le every level curve is the high-pass of its Qtc shifted to its pass band, the
    // heated coil's Qtc' the page's with Re and Qes raised by 0,393 % a degree; the impedance
    // peaks at fc, and the excursion is that of a second-order low-pass.
    void withoutInductanceTheBoxIsOfSecondOrder() {
        for (const SpeakerRun &run : runs) {
            const Driver &d = run.driver;
            const DriverLoad load = driverLoad(run, inputs(0, 80));
            const double rise = 1 + 0.00393 * 80, re = d.re, rout = run.rout, fc = run.box.fc;
            const double hotQtc =
                closedBox({d.fs, re * rise, d.qms, d.qes * rise, d.vas}, run.vb, rout).qtcNew;
            // η0 = 4π²·Fs³·Vas/(c³·Qes) with Vas in m³; 100 W into Re adds 20 dB.
            const double eta0 = 4 * std::pow(std::numbers::pi, 2) * std::pow(d.fs, 3) * d.vas /
                                1000 / 343 / 343 / 343 / d.qes;
            QVERIFY(near(load.ideal.passband, 112.1 + 10 * std::log10(eta0) + 20, 1e-12));
            QVERIFY(near(load.passbandLoss, 20 * std::log10(re / (re + rout)), 1e-12));
            // The hot coil only lowers the force, Bl·E/(Re + Rвых).
            QVERIFY(near(load.heated->passband - load.atRout.passband,
                         20 * std::log10((re + rout) / (re * rise + rout)), 1e-12));
            for (const auto &[curve, qtc] :
                 {std::pair{&load.ideal, run.box.qtc}, std::pair{&load.atRout, run.box.qtcNew},
                  std::pair{&*load.heated, hotQtc}}) {
                QVERIFY(curve->f3 && near(*curve->f3 / cornerFrequency(fc, qtc), 1, 1e-9));
                for (std::size_t k = 0; k < load.frequency.size(); ++k)
                    QVERIFY(near(curve->spl[k] - curve->passband,
                                 responseLevel(load.frequency[k], fc, qtc), 1e-9));
            }

            // The motional branch resonates at fc: a resistance Re + Res there, less either side.
            const DriverModel model = driverModel(run, inputs(0, 0));
            const auto z = [&](double f) { return driverPoint(model, coldCoil(model), rout, f).z; };
            const double peak = re + re * d.qms / d.qes;
            QVERIFY(near(z(fc).real(), peak, 1e-12 * peak) && near(z(fc).imag(), 0, 1e-12));
            QVERIFY(std::abs(z(fc * 1.001)) < peak && std::abs(z(fc / 1.001)) < peak);
            // Far below fc the force Bl·E/(Re + Rвых) meets the suspension stiffened by the box,
            // (1 + Vas/Vb)/Cms with Cms = Vas/(ρ0·c²·Sd²); above, the cone follows the
            // second-order low-pass of Qtc': x = x0/|1 − u² + j·u/Qtc'|, u = f/fc.
            const double cms = d.vas / 1000 / (1.18 * 343 * 343 * 0.05 * 0.05);
            const double x0 = std::sqrt(2 * 100 * re) * model.bl * cms * 1000 /
                              ((1 + d.vas / run.vb) * (re + rout));
            for (std::size_t k = 0; k < load.frequency.size(); ++k) {
                const double u = load.frequency[k] / fc;
                QVERIFY(near(load.excursion[k] * std::hypot(1 - u * u, u / run.box.qtcNew), x0,
                             1e-9 * x0));
            }
        }
    }

    // With Le the response is of third order: its F3 against a scan in steps of 0,01 % from 1 Hz.
    // With 10 mH the third run's resonance alone reaches the threshold, and the faint driver's
    // response never does.
    void f3WithInductanceAgainstAScan() {
        const SpeakerRun faint = speakerRun({10, 1, 0.1, 0.1, 50}, 500, 0.1);
        QVERIFY(!driverLoad(faint, inputs(10, 0)).ideal.f3);
        for (const SpeakerRun &run : {runs[0], runs[1], runs[2], faint})
            for (const double le : {0.5, 3.0, 10.0})
                for (const double source : {0.0, run.rout}) {
                    const DriverModel model = driverModel(run, inputs(le, 0));
                    const Coil coil = coldCoil(model);
                    const double threshold =
                        passbandLevel(model, coil, source) + 10 * std::log10(0.5);
                    double f = 1;
                    while (f < 20'000 &&
                           soundLevel(model, coil, driverPoint(model, coil, source, f), f) <
                               threshold)
                        f *= 1.0001;
                    const std::optional<double> f3 = driverF3(model, coil, source);
                    QVERIFY(f < 20'000 ? f3 && *f3 <= f && *f3 > f / 1.0001 : !f3);
                }
    }

    void outputResistanceForATarget() {
        const SpeakerRun &run = runs[0];
        for (const double target : {0.6, 0.7, 1.0, 1.5}) {
            const DriverLoad load = driverLoad(run, inputs(0, 0, target));
            QVERIFY(load.routForTarget &&
                    near(closedBox(run.driver, run.vb, *load.routForTarget).qtcNew, target, 1e-4));
            QVERIFY(load.targetAdvice.text.ends_with("Qtc' = " + formatGeneral(target)));
        }
        // Qts = 0,536: Vb = 50/((0,9/0,536)² − 1) = 27,4 l brings the box down to 0,9.
        QCOMPARE(qtcAdvice(runs[1], 0.9).text,
                 "Уже при Rвых = 0 Qtc = 1,002 ≥ 0,9: положительное Rвых только повышает "
                 "добротность. Qtc = 0,9 при Rвых = 0 даёт ящик Vb = 27,4 л.");
    }

    // Seen from the loudspeaker the amplifier is Eoc = Ку·(Rн + Rвых)/Rн behind Rвых, inverted on
    // the inverting page: the loudspeaker's voltage over the sweep, and the op-amp's to 1e-3, as
    // the model leaves out the current R2 takes from Rт.
    void netlistWithTheDriverAgreesWithNgspice() {
        for (const auto &[kind, network, le, sign] :
             {std::tuple{SchemeKind::NonInverting, Network{20'000, 10'000, 1'000, 0.2}, 1.0, 1.0},
              std::tuple{SchemeKind::Inverting, Network{10'000, 1'000, 1'000, 0.2}, 0.0, -1.0}}) {
            const AmplifierRun amp{
                kind, 3, network, 4, 0, 0, networkOutputs(circuitFor(kind), network, 4), {}};
            const double rout = amp.outputs.rout;
            const SpeakerRun run = speakerRun(runs[0].driver, 50, rout);
            DriverModel model = driverModel(run, inputs(le, 0));
            model.e = sign * amp.outputs.gain * (4 + rout) / 4;
            QTemporaryDir dir;
            writeWholeFile(dir.filePath("driver.cir").toStdString(),
                           spiceNetlistWithDriver(amp, driverCircuit(run, le)));
            const auto sweep = sweepWithNgspice(dir.filePath("driver.cir"));
            QVERIFY(sweep.size() > 160 && sweep.back()[0] > 19'000);
            for (const auto &[f, loadRe, loadIm, outRe, outIm] : sweep) {
                const DriverPoint point = driverPoint(model, coldCoil(model), rout, f);
                const auto load = point.current * point.z, output = load + point.current * 0.2;
                QVERIFY(std::abs(std::complex(loadRe, loadIm) - load) < 1e-6 * std::abs(load));
                QVERIFY(std::abs(std::complex(outRe, outIm) - output) < 1e-3 * std::abs(output));
            }
        }
    }

    // The ZMA holds the impedance of the netlist's elements, the FRD without Le the high-pass of
    // Qtc' in level and phase, both over frdFrequencies(). The table has a column per curve, the
    // heated coil's among them, and a reader gets its amplifier's columns from |Z| (the ZMA's)
    // and the phase: I = √2·E/|Rвых + Z| with E = √(P·Re), V = I·|Z + Rт|, P = I²·Rт/2.
    void exportsReadBack() {
        const SpeakerRun &run = runs[0];
        const auto frequencies = frdFrequencies();
        const DriverCircuit c = driverCircuit(run, 2);
        const std::string zmaFile = zmaText(run, inputs(2, 0));
        QVERIFY(zmaFile.find("Le = 2 mH") != std::string::npos &&
                zmaFile.find("* Hz Ohm Deg\r\n10 ") != std::string::npos);
        const auto zma = readBack(zmaFile), frd = readBack(levelFrdText(run, inputs(0, 0)));
        const double passband = driverLoad(run, inputs(0, 0)).atRout.passband;
        QVERIFY(zma.size() == frequencies.size() && frd.size() == frequencies.size());
        for (std::size_t k = 0; k < frequencies.size(); ++k) {
            const double f = frequencies[k], w = 2 * std::numbers::pi * f;
            const auto z = c.re + std::complex(0.0, w * c.le) +
                           1.0 / std::complex(1 / c.res, w * c.cmes - 1 / (w * c.lces));
            QVERIFY(zma[k][0].toDouble() == f && frd[k][0].toDouble() == f);
            QVERIFY(near(zma[k][1].toDouble() / std::abs(z), 1, 1e-12));
            QVERIFY(near(zma[k][2].toDouble(), std::arg(z) * 180 / std::numbers::pi, 1e-9));
            QVERIFY(near(frd[k][1].toDouble() - passband,
                         responseLevel(f, run.box.fc, run.box.qtcNew), 1e-9));
            QVERIFY(near(frd[k][2].toDouble(), responsePhase(f, run.box.fc, run.box.qtcNew), 1e-9));
        }

        const DriverLoadInputs hot = inputs(2, 40);
        const auto table =
            QString::fromStdString(driverLoadTable(run, hot, driverLoad(run, hot))).split('\n');
        QVERIFY(table.size() == 102 && table[0].split('\t').size() == 10);
        for (qsizetype k = 1; k <= 100; ++k) {
            std::vector<double> v;
            for (const QString &cell : table[k].split('\t'))
                v.push_back(QString(cell).replace(',', '.').toDouble());
            const auto z = std::polar(v[4], v[5] * std::numbers::pi / 180);
            QVERIFY(v.size() == 10 && near(v[0] / frequencies[k - 1], 1, 1e-14));
            QVERIFY(near(zma[k - 1][1].toDouble() / v[4], 1, 1e-14));
            QVERIFY(near(v[8] * std::abs(6.0 + z) / std::sqrt(2 * 340.0), 1, 1e-12));
            QVERIFY(near(v[7] / (v[8] * std::abs(z + 0.2)), 1, 1e-12));
            QVERIFY(near(v[9] / (v[8] * v[8] * 0.1), 1, 1e-12));
        }
        QCOMPARE(levelFrdFileName(run), "Уровень_Rвых_6_Ом.frd");
        QCOMPARE(levelFrdFileName(speakerRun(run.driver, 50, 0.6)), "Уровень_Rвых_0,6_Ом.frd");
        QCOMPARE(levelFrdFileName(speakerRun(run.driver, 50, 0)), "Уровень_Rвых_0.frd");
    }

    void fieldTextsAgreeWithTheirBounds() {
        for (const DriverLoadField &field : driverLoadFields()) {
            const double value = *parseDecimalComma(field.defaultText);
            QVERIFY(parseDecimalComma(field.minText) == field.min && value >= field.min);
            QVERIFY(parseDecimalComma(field.maxText) == field.max && value <= field.max);
        }
    }
};

QTEST_APPLESS_MAIN(TestDriverLoad)
#include "test_driver_load.moc"
