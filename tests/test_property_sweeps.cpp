// Whole-range sweeps of the six amplifier calculations and of the closed box: every input from
// its lower to its upper bound on a log-spaced grid, every result finite (or an arithmetic fault
// with nothing stored), shown as it is stored, and in agreement with the nodal solution of the
// circuit (nodal_model.h) or the textbook closed box (closed_box_model.h).

#include "amplifier/feedback_design.h"
#include "amplifier/inverting.h"
#include "amplifier/non_inverting.h"
#include "closed_box_model.h"
#include "core/arithmetic_fault.h"
#include "core/decimal_text.h"
#include "speaker/closed_box.h"
#include "sweep_checks.h"

#include <QTest>
#include <cmath>

namespace {

struct Circuit {
    const char *name;
    const AmplifierCircuit &circuit;
    Stage stage;
};
const Circuit circuits[] = {{"non-inverting", nonInvertingCircuit, Stage::NonInverting},
                            {"inverting", invertingCircuit, Stage::Inverting}};

// The field ranges, in the units the calculations get (kilo-ohm fields in ohms).
std::vector<double> kiloOhms(int n) { return logGrid(50, 1e6, n); }
std::vector<double> loads(int n) { return logGrid(1, 100, n); }
std::vector<double> senses(int n) { return logGrid(0.05, 20, n); }
std::vector<double> routs(int n) { return logGrid(0.1, 200, n); }
std::vector<double> gains(int n) { return logGrid(3, 300, n); }

constexpr double sentinel = -12345; // a record value no calculation writes

template <std::size_t N>
QString describe(const char *circuit, const char *names, const std::array<double, N> &values) {
    QString text = QString(circuit) + ": " + names;
    for (const double v : values)
        text += ' ' + QString::number(v, 'g', 17);
    return text;
}

bool nearGain(Stage stage, const Network &n, double rload, double gain) {
    return std::fabs(gain - nodalGain(stage, n, rload)) <= gainTolerance(stage, n, rload) * gain;
}

} // namespace

class PropertySweepsTest : public QObject {
    Q_OBJECT

private slots:
    // Variant 3: Rвых and Ку of every network agree with the nodal solution. Rвых is positive
    // and finite on every accepted network, so the two load currents always differ: no fault.
    void knownNetworks() {
        for (const Circuit &c : circuits) {
            int cases = 0;
            forEachCombination<5>(
                {kiloOhms(8), kiloOhms(8), kiloOhms(8), loads(5), senses(6)}, [&](const auto &v) {
                    const auto [r1, r2, roc, rload, rt] = v;
                    const auto where = [&] { return describe(c.name, "R1 R2 Roc Rн Rт", v); };
                    LastResults last;
                    last.r1 = r1, last.r2 = r2, last.roc = roc, last.rload = rload, last.rt = rt;
                    evaluateNetwork(c.circuit, last);
                    ++cases;
                    const Network n{r1, r2, roc, rt};
                    const double rout = theveninResistance(n);
                    SWEEP_VERIFY(std::fabs(last.rout - rout) <=
                                     routTolerance(c.stage, n, rload) * rout,
                                 where);
                    SWEEP_VERIFY(nearGain(c.stage, n, rload, last.gain), where);
                    SWEEP_VERIFY(showsRounded(displayRounded(last.rout, 2), last.rout, 2), where);
                    SWEEP_VERIFY(showsRounded(displayRounded(last.gain, 1), last.gain, 1), where);
                });
            qInfo("%s Variant 3: %d networks", c.name, cases);
        }
    }

    // Variant 1: a shown R2 brackets the target Rвых; "no solution" only where no R2 of
    // 10 Ω … 10 MΩ reaches it; "R < Rвых!" exactly where Rт is not below the target.
    void r2Search() {
        // The bracket after the fixed number of halvings of 10 Ω … 10 MΩ.
        constexpr int halvings = 37;
        const double width = (10'000'000.0 - 10) / std::pow(2.0, halvings);
        for (const Circuit &c : circuits) {
            int found = 0, none = 0, refused = 0;
            forEachCombination<5>(
                {kiloOhms(8), kiloOhms(3), loads(5), senses(8), routs(12)}, [&](const auto &v) {
                    const auto [r1, roc, rload, rt, target] = v;
                    const auto where = [&] { return describe(c.name, "R1 Roc Rн Rт Rвых", v); };
                    LastResults last;
                    last.r1 = r1, last.roc = roc, last.rload = rload, last.rt = rt;
                    last.rout = target;
                    last.r2 = last.gain = sentinel;
                    const R2Search search = searchR2(c.circuit, last);
                    const R2Reach reach = r2Reach(c.stage, {r1, 0, roc, rt}, rload, target);
                    switch (search.outcome) {
                    case R2Search::SenseNotBelowRout:
                        ++refused;
                        SWEEP_VERIFY(rt >= target, where);
                        SWEEP_VERIFY(last.r2 == sentinel && last.gain == sentinel, where);
                        return;
                    case R2Search::NoSignChange:
                        ++none;
                        SWEEP_VERIFY(rt < target && reach.none, where);
                        // The upper end was evaluated last.
                        SWEEP_VERIFY(last.r2 == 10'000'000, where);
                        SWEEP_VERIFY(nearGain(c.stage, {r1, last.r2, roc, rt}, rload, last.gain),
                                     where);
                        return;
                    case R2Search::Found:
                        ++found;
                        SWEEP_VERIFY(rt < target && reach.some, where);
                        SWEEP_VERIFY(search.halvings == halvings, where);
                        SWEEP_VERIFY(bracketHoldsTarget(c.stage, {r1, search.lowerEnd, roc, rt},
                                                        width, rload, target),
                                     where);
                        // The record keeps the last midpoint, one end of the final bracket, and
                        // the Ку evaluated there.
                        SWEEP_VERIFY(last.r2 == search.lowerEnd ||
                                         std::fabs(last.r2 - search.lowerEnd - width) < 1e-9,
                                     where);
                        SWEEP_VERIFY(nearGain(c.stage, {r1, last.r2, roc, rt}, rload, last.gain),
                                     where);
                        SWEEP_VERIFY(showsRounded(displayKiloOhms(search.lowerEnd),
                                                  search.lowerEnd / 1000, 2),
                                     where);
                        SWEEP_VERIFY(showsRounded(displayRounded(last.gain, 1), last.gain, 1),
                                     where);
                        return;
                    }
                });
            qInfo("%s Variant 1: %d found, %d without solution, %d Rт not below Rвых", c.name,
                  found, none, refused);
        }
    }

    // Variant 2: every design shown without a message meets both targets on the nodal circuit
    // within Newton's tolerance with a positive pair; a message only where Ку on the line of the
    // target Rвых (which rises along it) stays above the target, so no positive pair exists.
    void newtonDesign() {
        for (const Circuit &c : circuits) {
            int converged = 0, onLine = 0, negative = 0, notConverged = 0, stopped = 0, refused = 0;
            forEachCombination<5>(
                {gains(8), kiloOhms(6), loads(5), senses(6), routs(8)}, [&](const auto &v) {
                    const auto [gain, roc, rload, rt, target] = v;
                    const auto where = [&] { return describe(c.name, "Ку Roc Rн Rт Rвых", v); };
                    LastResults last;
                    last.targetGain = gain, last.roc = roc, last.rload = rload, last.rt = rt;
                    last.rout = target;
                    last.r1 = last.r2 = sentinel;
                    const R1R2Design design = designR1R2(c.circuit, last);
                    if (design.outcome == R1R2Design::SenseNotBelowRout) {
                        ++refused;
                        SWEEP_VERIFY(rt >= target && last.r1 == sentinel, where);
                        return;
                    }
                    SWEEP_VERIFY(rt < target, where);
                    SWEEP_VERIFY(last.r1 == design.r1 && last.r2 == design.r2, where);
                    SWEEP_VERIFY(showsRounded(displayKiloOhms(design.r1), design.r1 / 1000, 2),
                                 where);
                    SWEEP_VERIFY(showsRounded(displayKiloOhms(design.r2), design.r2 / 1000, 2),
                                 where);
                    // Ку along the line rises from its floor through the whole range.
                    const auto lineGain = [&](double r2) {
                        return nodalLineGain(c.stage, r2, roc, rload, rt, target);
                    };
                    const double floor = nodalLineFloor(c.stage, roc, rload, rt, target);
                    SWEEP_VERIFY(std::fabs(c.circuit.lineGainFloor(roc, rload, rt, target) -
                                           floor) <= 1e-9 * floor,
                                 where);
                    double below = floor;
                    for (const double r2 : {0.01, 0.02, 1.0, 1e2, 1e4, 1e6, 1e8}) {
                        SWEEP_VERIFY(lineGain(r2) > below, where);
                        below = lineGain(r2);
                    }
                    switch (design.outcome) {
                    case R1R2Design::SenseNotBelowRout:
                        return;
                    case R1R2Design::Converged:
                    case R1R2Design::FoundOnLine:
                        ++(design.outcome == R1R2Design::Converged ? converged : onLine);
                        SWEEP_VERIFY(design.r1 >= 0 && design.r2 >= 0, where);
                        SWEEP_VERIFY(meetsTargets(c.stage, {design.r1, design.r2, roc, rt}, rload,
                                                  gain, target),
                                     where);
                        return;
                    case R1R2Design::NegativePair:
                        ++negative;
                        SWEEP_VERIFY(design.r1 < 0 || design.r2 < 0, where);
                        break;
                    case R1R2Design::NotConverged:
                        ++notConverged;
                        SWEEP_VERIFY(design.attempts == 10 && design.steps == 101, where);
                        break;
                    case R1R2Design::Stopped:
                        ++stopped;
                        SWEEP_VERIFY(last.r1 == 0 && last.r2 == 0 && last.gain == 0, where);
                        break;
                    }
                    SWEEP_VERIFY(gain <= floor * (1 + 1e-9), where);
                });
            qInfo("%s Variant 2: %d converged, %d found on the line of Rвых; without a positive "
                  "pair %d negative, %d not converged, %d stopped; %d Rт not below Rвых",
                  c.name, converged, onLine, negative, notConverged, stopped, refused);
        }
    }

    // The closed box over all seven inputs: Q, corners and the required Rвых against the
    // textbook, the shown figures, and every level of both curves finite and right.
    void closedBoxes() {
        const auto f = responseFrequencies();
        for (std::size_t k = 1; k < f.size(); ++k)
            QVERIFY(f[k] > f[k - 1]);
        QCOMPARE(f.front(), 10.0);
        QVERIFY(f.back() > 1000 && f.back() < 1000.1);

        const double halfPowerDb = -10 * std::log10(2.0);
        int cases = 0, faults = 0;
        forEachCombination<7>(
            {logGrid(10, 500, 5), logGrid(1, 100, 4), logGrid(0.1, 10, 5), logGrid(0.1, 10, 5),
             logGrid(2, 500, 5), logGrid(3, 500, 5), logGrid(0.1, 200, 5)},
            [&](const auto &v) {
                const auto [fs, re, qms, qes, vas, vb, rout] = v;
                const auto where = [&] {
                    return describe("closed box", "Fs Re Qms Qes Vas Vb Rвых", v);
                };
                ++cases;
                const Driver d{fs, re, qms, qes, vas};
                const ClosedBox box = closedBox(d, vb, rout);
                const Textbook t = textbook(d, vb, rout);
                SWEEP_VERIFY(std::fabs(box.fc / t.fc - 1) < 1e-14, where);
                SWEEP_VERIFY(std::fabs(box.qtc / t.qtc - 1) < 1e-14, where);
                SWEEP_VERIFY(std::fabs(box.qtcNew / t.qtcNew - 1) < 1e-14, where);
                // Each corner is where the high-pass is 3 dB down.
                SWEEP_VERIFY(std::fabs(highPassDb(box.f3, t.fc, t.qtc) - halfPowerDb) < 1e-9,
                             where);
                SWEEP_VERIFY(std::fabs(highPassDb(box.f3New, t.fc, t.qtcNew) - halfPowerDb) < 1e-9,
                             where);
                SWEEP_VERIFY(showsRounded(displayRounded(box.qtc, 3), box.qtc, 3), where);
                SWEEP_VERIFY(showsRounded(displayRounded(box.f3, 2), box.f3, 2), where);
                SWEEP_VERIFY(showsRounded(displayRounded(box.qtcNew, 3), box.qtcNew, 3), where);
                SWEEP_VERIFY(showsRounded(displayRounded(box.f3New, 2), box.f3New, 2), where);

                // The required Rвых is shown rounded to 1 mΩ, so Qtc' = 0,7 falls between the Q
                // half a milliohm either side of it. Only where s/0,7 and 1/Qms coincide is there
                // no such Rвых: then a fault.
                const double rise = std::sqrt(1 + vas / vb);
                try {
                    const double r = requiredOutputResistance(d, box.s);
                    SWEEP_VERIFY(showsRounded(formatGeneral(r), r, 3), where);
                    const double halfUnit = 0.0005 + 1e-15 * std::fabs(r);
                    const double below = textbook(d, vb, r - halfUnit).qtcNew;
                    const double above = textbook(d, vb, r + halfUnit).qtcNew;
                    SWEEP_VERIFY(std::min(below, above) <= 0.7 * (1 + 1e-12) &&
                                     0.7 * (1 - 1e-12) <= std::max(below, above),
                                 where);
                } catch (const ArithmeticFault &) {
                    ++faults;
                    SWEEP_VERIFY(std::fabs(rise / 0.7 - 1 / qms) <= 8 * unitRoundoff * rise / 0.7,
                                 where);
                }

                for (const double fk : f) {
                    SWEEP_VERIFY(std::fabs(responseLevel(fk, box.fc, box.qtc) -
                                           highPassDb(fk, t.fc, t.qtc)) < 1e-9,
                                 where);
                    SWEEP_VERIFY(std::fabs(responseLevel(fk, box.fc, box.qtcNew) -
                                           highPassDb(fk, t.fc, t.qtcNew)) < 1e-9,
                                 where);
                }
            });
        qInfo("closed box: %d cases, %d without a required Rвых", cases, faults);
    }
};

QTEST_APPLESS_MAIN(PropertySweepsTest)
#include "test_property_sweeps.moc"
