// The loudspeaker as the amplifier's load against what a reader derives by hand: without Le the
// page's second-order high-pass, the pass band from η0 and P, the impedance peak at fc and the
// excursion of a stiffened suspension; with Le the F3 against a fine scan; the netlist with the
// loudspeaker against ngspice; the exported files read back.

#include "amplifier/spice_netlist.h"
#include "core/decimal_text.h"
#include "core/whole_file.h"
#include "driver_load/b4_alignment.h"
#include "driver_load/driver_f3.h"
#include "driver_load/driver_load_export.h"
#include "driver_load/driver_load_fields.h"
#include "driver_load/window_box.h"
#include "ngspice_run.h"
#include "speaker/response_export.h"

#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <numbers>
#include <set>

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

// Without Le, by hand at f: the level of the high-pass over its pass band, the excursion of a
// second-order low-pass, the current from E behind Rвых through Z; then the level each limit
// allows, Pe as the average power I²·Re of the RMS current: Xmax, Pe, Uмакс, Iмакс.
std::array<double, 4> limitLevels(const SpeakerRun &run, const DriverLoadInputs &in, double f) {
    const Driver &d = run.driver;
    const double e = std::sqrt(in.power * d.re), u = f / run.box.fc, qtc = run.box.qtcNew;
    const double level = driverLoad(run, in).atRout.passband + responseLevel(f, run.box.fc, qtc);
    const DriverModel model = driverModel(run, in);
    const double cms = d.vas / 1000 / (1.18 * 343 * 343 * in.sd * in.sd / 1e8);
    const double x0 =
        std::sqrt(2.0) * e * model.bl * cms * 1000 / ((1 + d.vas / run.vb) * (d.re + run.rout));
    const double x = x0 / std::hypot(1 - u * u, u / qtc);
    const auto z = d.re + d.re * d.qms / d.qes / std::complex(1.0, run.box.s * d.qms * (u - 1 / u));
    const double current = e / std::abs(run.rout + z); // RMS
    const double voltage = std::sqrt(2.0) * current * std::abs(z + in.rt);
    return {level + 20 * std::log10(in.xmax / x),
            level + 10 * std::log10(in.pe / (current * current * d.re)),
            level + 20 * std::log10(in.opAmpVoltage / voltage),
            level + 20 * std::log10(in.opAmpCurrent / (std::sqrt(2.0) * current))};
}

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
            // The hot coil adds to Re alone: the current √2·E/|Rвых + Z + ΔRe|.
            for (std::size_t k = 0; k < load.frequency.size(); ++k) {
                const auto hot = z(load.frequency[k]) + re * (rise - 1);
                QVERIFY(near(load.hot->impedance[k], std::abs(hot), 1e-12 * std::abs(hot)));
                QVERIFY(near(load.hot->current[k] * std::abs(rout + hot) / std::sqrt(2 * 100 * re),
                             1, 1e-12));
            }
            // Far below fc the force Bl·E/(Re + Rвых) meets the suspension stiffened by the box,
            // (1 + Vas/Vb)/Cms with Cms = Vas/(ρ0·c²·Sd²); above, the cone follows the
            // second-order low-pass of Qtc': x = x0/|1 − u² + j·u/Qtc'|, u = f/fc.
            const double cms = d.vas / 1000 / (1.18 * 343 * 343 * 0.05 * 0.05);
            const double x0 = std::sqrt(2 * 100 * re) * model.bl * cms * 1000 /
                              ((1 + d.vas / run.vb) * (re + rout));
            for (std::size_t k = 0; k < load.frequency.size(); ++k) {
                const double u = load.frequency[k] / fc;
                QVERIFY(near(load.cold.excursion[k] * std::hypot(1 - u * u, u / run.box.qtcNew), x0,
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

    // `ngspice -b` prints the netlist's table: seen from the loudspeaker the amplifier is the
    // window's E behind Rвых, inverted on the inverting page and turned back by VIN's phase; the
    // level, the pressure's phase and the current equal the model's to 1e-6, in the closed box and
    // in vented ones, whose radiated share is taken across LCEB.
    void netlistWithTheDriverAgreesWithNgspice() {
        using N = Network;
        for (const auto &[kind, network, le, fb] :
             {std::tuple{SchemeKind::NonInverting, N{20'000, 10'000, 1'000, 0.2}, 1.0, 0.0},
              std::tuple{SchemeKind::Inverting, N{10'000, 1'000, 1'000, 0.2}, 0.0, 0.0},
              std::tuple{SchemeKind::NonInverting, N{20'000, 10'000, 1'000, 0.2}, 1.0, 19.0},
              std::tuple{SchemeKind::Inverting, N{10'000, 1'000, 1'000, 0.2}, 0.0, 30.0}}) {
            const AmplifierRun amp{
                kind, 3, network, 4, 0, 0, networkOutputs(circuitFor(kind), network, 4), {}};
            const SpeakerRun run = speakerRun(runs[0].driver, 50, amp.outputs.rout);
            DriverLoadInputs in = inputs(le, 0);
            std::tie(in.box, in.fb, in.ql) =
                std::tuple(fb > 0 ? BoxKind::Vented : BoxKind::Closed, fb, fb / 5);
            const DriverModel model = driverModel(run, in);
            const Coil coil = coldCoil(model);
            const VentedBox box{fb, fb / 5, 0.1, 0.05};
            QTemporaryDir dir;
            const std::string netlist =
                spiceNetlistWithDriver(amp, windowCircuit(run, in), driverDrive(run, in));
            QCOMPARE(netlist.find("LCEB mot box") != std::string::npos, fb > 0);
            writeWholeFile(dir.filePath("driver.cir").toStdString(), netlist);
            const auto table = tableWithNgspice(dir.filePath("driver.cir"));
            QVERIFY(table.size() > 160 && table.back()[0] > 19'000);
            for (const auto &[f, level, phase, current] : table) {
                DriverPoint point = driverPoint(model, coil, run.rout, f);
                if (fb > 0) {
                    const VentedPoint vented = ventedPoint(model, coil, box, run.rout, f);
                    point = vented.driver;
                    point.motional *= vented.radiating;
                }
                QVERIFY(near(level, soundLevel(model, coil, point, f), 1e-6));
                QVERIFY(near(phase, pressurePhase(point), 1e-6));
                QVERIFY(near(current / (std::sqrt(2.0) * std::abs(point.current)), 1, 1e-6));
            }
        }
    }

    // Each limit's level as a reader derives it; where one limit alone holds (the others out of
    // reach) the highest level is its level, elsewhere the least of them with the limit named,
    // at the chart's points and at 20, 30, 40 and 60 Гц. Doubling Pe raises its curve by 3,01 dB.
    void highestLevelByTheLimits() {
        constexpr double loose = 1e12;
        std::vector<DriverLoadInputs> cases{inputs(0, 0)};
        for (double DriverLoadInputs::*limit :
             {&DriverLoadInputs::xmax, &DriverLoadInputs::pe, &DriverLoadInputs::opAmpVoltage,
              &DriverLoadInputs::opAmpCurrent}) {
            DriverLoadInputs alone = inputs(0, 0);
            std::tie(alone.xmax, alone.pe, alone.opAmpVoltage, alone.opAmpCurrent) =
                std::tuple(loose, loose, loose, loose);
            alone.*limit = 1;
            cases.push_back(alone);
        }
        for (const SpeakerRun &run : runs)
            for (std::size_t c = 0; c < cases.size(); ++c) {
                const DriverLoad load = driverLoad(run, cases[c]);
                std::set<std::size_t> holding;
                const auto check = [&](double f, const LimitedLevel &limited) {
                    const auto hand = limitLevels(run, cases[c], f);
                    const auto least = std::ranges::min_element(hand) - hand.begin();
                    for (std::size_t i = 0; i < hand.size(); ++i)
                        QVERIFY(near(limited.levels[i], hand[i], 1e-9));
                    QVERIFY(near(limited.level, hand[std::size_t(least)], 1e-9));
                    QCOMPARE(limited.holding, std::size_t(least));
                    holding.insert(limited.holding);
                };
                for (std::size_t k = 0; k < load.frequency.size(); ++k) {
                    std::vector<double> levels;
                    for (const ChartCurve &curve : load.highest.byLimit)
                        levels.push_back(curve[k]);
                    check(load.frequency[k],
                          {levels, load.highest.level[k], load.highest.holding[k]});
                }
                for (const HighestAt &at : load.highestAt)
                    check(at.f, at.limited);
                if (c > 0)
                    QCOMPARE(holding, std::set<std::size_t>{c - 1});
            }
        DriverLoadInputs doubled = inputs(0, 0);
        doubled.pe *= 2;
        const DriverLoad base = driverLoad(runs[0], inputs(0, 0));
        const DriverLoad twice = driverLoad(runs[0], doubled);
        for (std::size_t k = 0; k < base.frequency.size(); ++k)
            QVERIFY(near(twice.highest.byLimit[1][k] - base.highest.byLimit[1][k], 3.0103, 1e-4));
    }

    // At the power the figure names, the largest excursion of the chart is Xmax; at the window's
    // power the cone reaches Xmax at the frequency the figure names and goes beyond it below.
    // The heat's compression is the closed form, and it tends to 0 dB as Rвых grows.
    void xmaxAndCompressionFigures() {
        for (const SpeakerRun &run : runs) {
            const DriverLoad load = driverLoad(run, inputs(0, 0));
            DriverLoadInputs atXmax = inputs(0, 0);
            atXmax.power = load.xmaxPower;
            QVERIFY(near(driverLoad(run, atXmax).maxExcursion / atXmax.xmax, 1, 1e-12));
            DriverLoadInputs louder = inputs(0, 0);
            louder.power = 5000;
            const DriverLoad loud = driverLoad(run, louder);
            const DriverModel model = driverModel(run, louder);
            const auto x = [&](double f) {
                return excursion(model, driverPoint(model, coldCoil(model), run.rout, f), f) * 1e3;
            };
            QVERIFY(loud.xmaxBelow && near(x(*loud.xmaxBelow) / 10, 1, 1e-8));
            QVERIFY(x(*loud.xmaxBelow * 0.999) > 10 && x(*loud.xmaxBelow * 1.001) < 10);
            QVERIFY(!load.beyondXmax || load.xmaxBelow);
        }
        double previous = INFINITY;
        for (const double rout : {0.0, 1.0, 6.0, 20.0, 200.0}) {
            const DriverLoad load =
                driverLoad(speakerRun(runs[0].driver, 50, rout), inputs(0, 100));
            const double c = 20 * std::log10((3.4 + rout) / (3.4 * 1.393 + rout));
            QVERIFY(near(load.compressionAtRout, c, 1e-12) && std::fabs(c) < previous);
            QVERIFY(near(load.compressionAtZero, -20 * std::log10(1.393), 1e-12));
            previous = std::fabs(c);
        }
        QVERIFY(previous < 0.06);
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
        QVERIFY(table.size() == 102 && table[0].split('\t').size() == 21);
        for (qsizetype k = 1; k <= 100; ++k) {
            std::vector<double> v;
            for (const QString &cell : table[k].split('\t'))
                v.push_back(QString(cell).replace(',', '.').toDouble());
            const auto z = std::polar(v[4], v[5] * std::numbers::pi / 180);
            QVERIFY(v.size() == 21 && near(v[0] / frequencies[k - 1], 1, 1e-14));
            QVERIFY(near(zma[k - 1][1].toDouble() / v[4], 1, 1e-14));
            QVERIFY(near(v[8] * std::abs(6.0 + z) / std::sqrt(2 * 340.0), 1, 1e-12));
            QVERIFY(near(v[7] / (v[8] * std::abs(z + 0.2)), 1, 1e-12));
            QVERIFY(near(v[9] / (v[8] * v[8] * 0.1), 1, 1e-12));
        }
        QCOMPARE(levelFrdFileName(run), "Уровень_Rвых_6_Ом.frd");
        QCOMPARE(levelFrdFileName(speakerRun(run.driver, 50, 0.6)), "Уровень_Rвых_0,6_Ом.frd");
        QCOMPARE(levelFrdFileName(speakerRun(run.driver, 50, 0)), "Уровень_Rвых_0.frd");
    }

    // The vented box's curves, figures and files: where the port alone limits (the others out of
    // reach) the highest level is the level plus 20·lg(17 м/с / v); the port's speed per unit of
    // the cone's excursion, Sd·ω/(Sp·|B(jω)|), peaks at Fb, the grid point nearest it; the ZMA and
    // the FRD are Small's impedance and level; the table adds the port's columns; B4's Rвых as
    // the page rounds it, the Rвых without a rise rounded down, so that it does not rise either.
    void ventedBoxInTheWindow() {
        const SpeakerRun &run = runs[0];
        DriverLoadInputs in = inputs(0, 0);
        in.box = BoxKind::Vented;
        std::tie(in.fb, in.ql, in.portDiameter, in.xmax, in.pe, in.opAmpVoltage, in.opAmpCurrent) =
            std::tuple(25, 7, 5, 1e15, 1e15, 1e15, 1e15);
        const DriverLoad load = driverLoad(run, in);
        const DriverModel model = driverModel(run, in);
        const VentedBox box{25, 7, 0.05, 0.05};
        std::size_t peak = 0;
        for (std::size_t k = 0; k < load.frequency.size(); ++k) {
            const double f = load.frequency[k];
            const VentedPoint p = ventedPoint(model, coldCoil(model), box, run.rout, f);
            const double v = portSpeed(box, p);
            QVERIFY(near(load.cold.portSpeed[k], v, 1e-12 * v) && load.highest.holding[k] == 4);
            QVERIFY(near(load.highest.level[k],
                         ventedLevel(model, coldCoil(model), p, f) + 20 * std::log10(17 / v),
                         1e-9));
            const auto ratio = [&](std::size_t i) {
                return load.cold.portSpeed[i] / load.cold.excursion[i];
            };
            if (ratio(k) > ratio(peak))
                peak = k;
        }
        QCOMPARE(peak, std::size_t(std::ranges::min_element(
                                       load.frequency, {},
                                       [](double f) { return std::fabs(std::log(f / 25)); }) -
                                   load.frequency.begin()));
        const VentedFigures &v = *load.vented;
        QVERIFY(v.b4Rout == roundHalfEven(*b4Alignment(run.driver, 7).rout, 3));
        QVERIFY(*v.routWithoutRise <= *v.withoutRise.rout &&
                *v.routWithoutRise > *v.withoutRise.rout - 0.001);
        QVERIFY(levelRise(model, coldCoil(model), box, *v.routWithoutRise) <= flatTolerance);
        QVERIFY(v.f3WithoutRise == ventedF3(model, coldCoil(model), box, *v.routWithoutRise));

        const auto zma = readBack(zmaText(run, in)), frd = readBack(levelFrdText(run, in));
        QVERIFY(zma.size() == frdFrequencies().size() && frd.size() == zma.size());
        int peaks = 0;
        for (std::size_t k = 0; k < zma.size(); ++k) {
            const double f = zma[k][0].toDouble();
            const VentedPoint p = ventedPoint(model, coldCoil(model), box, run.rout, f);
            const auto z = ventedPoint(model, coldCoil(model), box, 0, f).driver.z;
            QVERIFY(near(zma[k][1].toDouble() / std::abs(z), 1, 1e-12));
            QVERIFY(near(frd[k][1].toDouble(), ventedLevel(model, coldCoil(model), p, f), 1e-9));
            peaks += k > 0 && k + 1 < zma.size() &&
                     zma[k][1].toDouble() > zma[k - 1][1].toDouble() &&
                     zma[k][1].toDouble() > zma[k + 1][1].toDouble();
        }
        QCOMPARE(peaks, 2);
        QCOMPARE(impedanceFileName(BoxKind::Vented), "Импеданс_динамика_ФИ.zma");
        QCOMPARE(levelFrdFileName(run, BoxKind::Vented), "Уровень_Rвых_6_Ом_ФИ.frd");
        const QStringList header =
            QString::fromStdString(driverLoadTable(run, in, load)).section('\n', 0, 0).split('\t');
        QCOMPARE(header.mid(9),
                 QStringList({"Скорость воздуха в порту (пик), м/с", "Наибольший уровень, дБ",
                              "Наибольший уровень по Xmax, дБ", "Наибольший уровень по Pe, дБ",
                              "Наибольший уровень по Uмакс, дБ", "Наибольший уровень по Iмакс, дБ",
                              "Наибольший уровень по скорости в порту, дБ"}));
    }

    // Fb's default is the page's default Fs, which the window's field then follows.
    void fieldTextsAgreeWithTheirBounds() {
        QCOMPARE(defaultDriverLoadInputs().fb, 19.0);
        for (const DriverLoadField &field : driverLoadFields()) {
            const double value = defaultDriverLoadInputs().*field.destination;
            QVERIFY(parseDecimalComma(field.minText) == field.min && value >= field.min);
            QVERIFY(parseDecimalComma(field.maxText) == field.max && value <= field.max);
        }
    }
};

QTEST_APPLESS_MAIN(TestDriverLoad)
#include "test_driver_load.moc"
