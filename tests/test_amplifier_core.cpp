// The network evaluations against an independent nodal solution of the two circuits, the R2
// bisection and the R1/R2 Newton design on both circuits and on artificial ones that drive the
// solvers down their rare paths, and the best standard pair.

#include "amplifier/best_pair.h"
#include "amplifier/feedback_design.h"
#include "amplifier/inverting.h"
#include "amplifier/non_inverting.h"
#include "amplifier/spice_netlist.h"
#include "amplifier_runs.h"
#include "core/arithmetic_fault.h"
#include "core/decimal_text.h"
#include "core/whole_file.h"
#include "ngspice_run.h"
#include "nodal_model.h"

#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>

namespace {

// R2 that gives a wanted Rвых, from Rвых = Rт(R1 + R2)/(Rт + R2).
double r2ForRout(double r1, double rt, double rout) { return rt * (r1 - rout) / (rout - rt); }

bool near(double a, double b, double relative) {
    return std::fabs(a - b) <= relative * std::fabs(b);
}

LastResults amplifierInputs(double r1, double r2, double roc, double rload, double rt) {
    LastResults last;
    last.r1 = r1;
    last.r2 = r2;
    last.roc = roc;
    last.rload = rload;
    last.rt = rt;
    return last;
}

// The netlist of a run, ASCII only, run by `ngspice -b` (ngspice_run.h): the Ку and Rвых it
// prints within 1e-6 of the program's.
bool ngspiceAgrees(SchemeKind kind, const Network &n, double rload) {
    const AmplifierRun run = runOf(kind, 3, n, rload);
    const std::string netlist = spiceNetlist(run);
    QTemporaryDir dir;
    const QString path = dir.filePath("network.cir");
    writeWholeFile(path.toStdString(), netlist);
    const auto spice = measureWithNgspice(path);
    return spice && std::fabs(spice->gain / run.outputs.gain - 1) < 1e-6 &&
           std::fabs(spice->rout / run.outputs.rout - 1) < 1e-6 &&
           std::all_of(netlist.begin(), netlist.end(), [](char c) { return c > 0; });
}

// A circuit for the solvers' rare paths: Ку and Rвых as plain functions of R1 and R2.
LoadStep (*fakeModel)(double r1, double r2) = nullptr;
LoadStep fakeLoadStep(const Network &n, double) { return fakeModel(n.r1, n.r2); }
AmplifierCircuit::Start fakeStart(int attempt, double, double, double) {
    return {1000.0 * attempt, 100};
}
// No positive pair on the line of Rвых: the fake's rare endings keep their messages.
double fakeFloor(double, double, double, double) { return 1e9; }
const AmplifierCircuit fakeCircuit{fakeLoadStep, fakeStart, fakeFloor};

// Ку = gain and Rвых = rout, with the two load currents 1 and 0.
LoadStep point(double gain, double rout) { return {gain, 1, gain + rout, 0}; }

template <typename Calculation>
QString faultOf(Calculation calculation) {
    try {
        calculation();
    } catch (const ArithmeticFault &fault) {
        return fault.what();
    }
    return "no fault";
}

} // namespace

class AmplifierCoreTest : public QObject {
    Q_OBJECT

private slots:
    void evaluationsAgreeWithNodalSolution() {
        for (const double r1 : {50.0, 2'000.0, 20'000.0, 1e6})
            for (const double r2 : {50.0, 10'000.0, 1e6})
                for (const double roc : {50.0, 1'000.0, 1e6})
                    for (const double rt : {0.05, 0.2, 20.0})
                        for (const double rl : {1.0, 4.0, 100.0}) {
                            const Network n{r1, r2, roc, rt};
                            QVERIFY(
                                near(nonInvertingGain(n, rl), nodalNonInvertingGain(n, rl), 1e-9));
                            QVERIFY(near(invertingGain(n, rl), nodalInvertingGain(n, rl), 1e-9));
                            QVERIFY(near(nonInvertingOutputResistance(n, rl), theveninResistance(n),
                                         1e-6));
                            QVERIFY(near(invertingOutputResistance(n, rl), theveninResistance(n),
                                         1e-6));
                            // Rвых = Rт·(R1 + R2)/(R2 + Rт) on both, whatever Roc and Rн.
                            const double rout = rt * (r1 + r2) / (r2 + rt);
                            QVERIFY(near(nodalOutputResistance(nodalNonInvertingGain, n, rl), rout,
                                         1e-6));
                            QVERIFY(
                                near(nodalOutputResistance(nodalInvertingGain, n, rl), rout, 1e-6));
                        }
    }

    void variant3Defaults() {
        // Non-inverting 20k/10k/1k, 4 Ω, 0,2 Ω: Rвых = 3·(0,2‖10k) ≈ 0,599988; Ку ≈ 20.
        LastResults ni = amplifierInputs(20'000, 10'000, 1'000, 4, 0.2);
        evaluateNetwork(nonInvertingCircuit, ni);
        QCOMPARE(displayRounded(ni.rout, 2), std::string("0,6"));
        QCOMPARE(displayRounded(ni.gain, 1), std::string("20"));
        QVERIFY(near(ni.rout, 3 / 5.0001, 1e-9));

        // Inverting 10k/1k/1k: Rвых = 11·(0,2‖1k) ≈ 2,19956; Ку ≈ 6,4521.
        LastResults inv = amplifierInputs(10'000, 1'000, 1'000, 4, 0.2);
        evaluateNetwork(invertingCircuit, inv);
        QVERIFY(near(inv.rout, 11 / 5.001, 1e-9));
        QCOMPARE(displayRounded(inv.rout, 2), std::string("2,2"));
        QCOMPARE(displayRounded(inv.gain, 1), std::string("6,5"));

        // 0,05 kΩ, 1 MΩ, 1 MΩ, 100 Ω, 20 Ω: Rвых = 1,00005·(20‖1M) ≈ 20, Ку ≈ 4,2e-5 shows 0.
        LastResults edge = amplifierInputs(50, 1e6, 1e6, 100, 20);
        evaluateNetwork(invertingCircuit, edge);
        QCOMPARE(displayRounded(edge.rout, 2), std::string("20"));
        QCOMPARE(displayRounded(edge.gain, 1), std::string("0"));
    }

    void bisectionFindsR2() {
        struct Case {
            const AmplifierCircuit &circuit;
            double r1, roc, rload, rt, rout;
            const char *shownR2, *shownGain;
        };
        const Case cases[] = {
            {nonInvertingCircuit, 20'000, 1'000, 4, 0.2, 0.6, "10", "20"},
            {invertingCircuit, 10'000, 1'000, 4, 0.2, 2.2, "1", "6,5"},
            {invertingCircuit, 10'000, 1'000, 4, 0.2, 0.3, "20", "9,3"},
        };
        for (const Case &c : cases) {
            LastResults last = amplifierInputs(c.r1, 0, c.roc, c.rload, c.rt);
            last.rout = c.rout;
            const R2Search search = searchR2(c.circuit, last);
            QCOMPARE(search.outcome, R2Search::Found);
            // 10 Ω … 10 MΩ halved below 0,1 mΩ: 2^37 > 9 999 990 / 0,0001 > 2^36.
            QCOMPARE(search.halvings, 37);
            const double exact = r2ForRout(c.r1, c.rt, c.rout);
            QVERIFY(std::fabs(search.lowerEnd - exact) < 1e-4);
            // Shown from the lower end; LastResults keeps the last midpoint, just above it.
            QVERIFY(last.r2 >= search.lowerEnd && last.r2 - search.lowerEnd < 1e-4);
            QCOMPARE(displayKiloOhms(search.lowerEnd), std::string(c.shownR2));
            QCOMPARE(displayRounded(last.gain, 1), std::string(c.shownGain));
        }
    }

    void bisectionRefusals() {
        // Rвых 200 Ω needs R2 ≈ 9,8 Ω, below the bracket: no sign change.
        LastResults last = amplifierInputs(10'000, 0, 1'000, 4, 0.2);
        last.rout = 200;
        QCOMPARE(searchR2(invertingCircuit, last).outcome, R2Search::NoSignChange);
        QCOMPARE(last.r2, 10'000'000.0); // the bracket's upper end was evaluated last
        QVERIFY(near(last.gain, invertingGain({10'000, 1e7, 1'000, 0.2}, 4), 1e-15));

        // Rт not below the target: refused before any evaluation.
        LastResults equal = amplifierInputs(20'000, 123, 1'000, 4, 0.2);
        equal.rout = 0.2;
        equal.gain = 7;
        QCOMPARE(searchR2(nonInvertingCircuit, equal).outcome, R2Search::SenseNotBelowRout);
        QCOMPARE(equal.r2, 123.0);
        QCOMPARE(equal.gain, 7.0);
    }

    void newtonDesignsBothCircuits() {
        // Non-inverting Ку 20, Rвых 0,6: R1 = 20k, R2 ≈ 10k in five steps of the first attempt.
        LastResults ni = amplifierInputs(0, 0, 1'000, 4, 0.2);
        ni.targetGain = 20;
        ni.rout = 0.6;
        const R1R2Design a = designR1R2(nonInvertingCircuit, ni);
        QCOMPARE(a.outcome, R1R2Design::Converged);
        QCOMPARE(a.attempts, 1);
        QCOMPARE(a.steps, 5);
        QVERIFY(near(nodalNonInvertingGain({a.r1, a.r2, 1'000, 0.2}, 4), 20, 1e-6));
        QVERIFY(std::fabs(theveninResistance({a.r1, a.r2, 1'000, 0.2}) - 0.6) < 1e-6);
        QCOMPARE(displayKiloOhms(a.r1), std::string("20"));
        QCOMPARE(displayKiloOhms(a.r2), std::string("10"));
        QCOMPARE(ni.r1, a.r1);
        QCOMPARE(ni.r2, a.r2);

        // Inverting Ку 6,5, Rвых 2,2: the exact answer R1 = 10 075 Ω lies on the display tie
        // 1007,5; the iterate after six steps shows 10,08 either way.
        LastResults inv = amplifierInputs(0, 0, 1'000, 4, 0.2);
        inv.targetGain = 6.5;
        inv.rout = 2.2;
        const R1R2Design b = designR1R2(invertingCircuit, inv);
        QCOMPARE(b.outcome, R1R2Design::Converged);
        QCOMPARE(b.steps, 6);
        QVERIFY(std::fabs(b.r1 - 10'075) < 1e-6);
        QCOMPARE(displayKiloOhms(b.r1), std::string("10,08"));
        QCOMPARE(displayKiloOhms(b.r2), std::string("1,01"));
        QVERIFY(near(nodalInvertingGain({b.r1, b.r2, 1'000, 0.2}, 4), 6.5, 1e-6));

        inv.targetGain = 3;
        const R1R2Design c = designR1R2(invertingCircuit, inv);
        QCOMPARE(displayKiloOhms(c.r1), std::string("4,65"));
        QCOMPARE(displayKiloOhms(c.r2), std::string("0,46"));

        inv.rt = 2.2;
        QCOMPARE(designR1R2(invertingCircuit, inv).outcome, R1R2Design::SenseNotBelowRout);
    }

    // Where Newton's method stops on a zero determinant, the line of Rвых finds the pair, or
    // tells that none is positive; a converged run is left as it was.
    void lineDecidesWhereNewtonStops() {
        struct Case {
            const AmplifierCircuit &circuit;
            double gain, rload, rt, rout;
            R1R2Design::Outcome outcome;
            const char *shownR1, *shownR2;
        };
        const Case cases[] = {
            {nonInvertingCircuit, 8.724, 3.2, 0.1, 0.38, R1R2Design::FoundOnLine, "5,96", "2,13"},
            {nonInvertingCircuit, 23.253, 51.1, 1.95, 19.38, R1R2Design::FoundOnLine, "22,13",
             "2,47"},
            {nonInvertingCircuit, 20, 18.998, 0.5, 24.345, R1R2Design::Stopped, "0", "0"},
            {invertingCircuit, 20, 18.998, 0.5, 24.345, R1R2Design::Converged, "45,63", "0,96"},
        };
        for (const Case &c : cases) {
            LastResults last = amplifierInputs(0, 0, 1'000, c.rload, c.rt);
            last.targetGain = c.gain;
            last.rout = c.rout;
            const R1R2Design d = designR1R2(c.circuit, last);
            QCOMPARE(d.outcome, c.outcome);
            QCOMPARE(displayKiloOhms(d.r1), std::string(c.shownR1));
            QCOMPARE(displayKiloOhms(d.r2), std::string(c.shownR2));
            QCOMPARE(last.r1, d.r1);
            QCOMPARE(last.r2, d.r2);
            const Network n{d.r1, d.r2, 1'000, c.rt};
            if (d.outcome == R1R2Design::FoundOnLine) {
                const bool nonInverting = &c.circuit == &nonInvertingCircuit;
                QVERIFY(near(nonInverting ? nodalNonInvertingGain(n, c.rload)
                                          : nodalInvertingGain(n, c.rload),
                             c.gain, 1e-12));
                QVERIFY(near(theveninResistance(n), c.rout, 1e-12));
                QVERIFY(near(last.gain, c.gain, 1e-12));
            }
        }
        // No positive pair: Ку on the line of 24,345 Ω never falls to 20.
        QVERIFY(nodalNonInvertingGain({24.345 + 1e-6 * 47.69, 1e-6, 1'000, 0.5}, 18.998) > 21.35);

        // Variant 1's hint where R2 would have to be negative.
        LastResults v1 = amplifierInputs(50, 0, 1'000, 4, 0.2);
        v1.rout = 200;
        QCOMPARE(neededR2Text(v1), std::string("Нужное R2 = (R1 − Rвых)/(Rвых/Rт − 1) не "
                                               "положительно: R1 = 0,05 кОм не больше Rвых = "
                                               "200 Ом"));
    }

    void newtonRarePaths() {
        LastResults last;
        last.targetGain = 10;
        last.rout = 1;
        last.rt = 0.2;

        // Residuals that do not move: a singular Jacobian stops at the starting point, and
        // nothing of it is kept.
        fakeModel = [](double, double) { return point(12, 3); };
        R1R2Design d = designR1R2(fakeCircuit, last);
        QCOMPARE(d.outcome, R1R2Design::Stopped);
        QCOMPARE(last.r1, 0.0);
        QCOMPARE(last.r2, 0.0);
        QCOMPARE(last.gain, 0.0);

        // No Rвых anywhere (equal load currents): R1 grows by 10 % uncounted, and the loop
        // test sees the corrections of no step at all, so the attempt ends at once.
        fakeModel = [](double r1, double) { return LoadStep{r1, 1, r1, 1}; };
        d = designR1R2(fakeCircuit, last);
        QCOMPARE(d.outcome, R1R2Design::Converged);
        QCOMPARE(d.steps, 0);
        QCOMPARE(d.r1, 1.1 * 1000.0);

        // Ку never reaches the target (a parabola above it): ten attempts of 101 steps fail,
        // and the last iterate is still answered.
        fakeModel = [](double r1, double r2) {
            return point(11 + 1e-6 * (r1 - 5000) * (r1 - 5000), 1 + (r2 - 300) / 100);
        };
        d = designR1R2(fakeCircuit, last);
        QCOMPARE(d.outcome, R1R2Design::NotConverged);
        QCOMPARE(d.attempts, 10);
        QCOMPARE(d.steps, 101);
        QCOMPARE(last.r1, d.r1);
        QVERIFY(std::isfinite(d.r1) && std::isfinite(d.r2));
    }

    // The simulator's op-amp is ideal enough where the loop gain is least: R1 of 1 MΩ over Roc of
    // 50 Ω. The window's exports of every calculator are checked with the page sweeps.
    void netlistsAgreeWithNgspice() {
        QVERIFY(ngspiceAgrees(SchemeKind::NonInverting, {1e6, 1e6, 50, 0.05}, 100));
        QVERIFY(ngspiceAgrees(SchemeKind::NonInverting, {1e6, 50, 50, 0.05}, 100));
        QVERIFY(ngspiceAgrees(SchemeKind::Inverting, {1e6, 50, 50, 0.05}, 100));
    }

    void faultsInsteadOfInfinities() {
        // Equal load currents leave Rвых undefined: a division by zero, nothing stored.
        fakeModel = [](double, double) { return LoadStep{5, 1, 5, 1}; };
        LastResults last = amplifierInputs(1, 1, 1, 1, 0.1);
        last.rout = 42;
        QCOMPARE(faultOf([&] { evaluateNetwork(fakeCircuit, last); }),
                 QString("Invalid floating point operation"));
        QCOMPARE(last.rout, 42.0);
        fakeModel = [](double, double) { return LoadStep{5, 1, 6, 1}; };
        QCOMPARE(faultOf([&] { evaluateNetwork(fakeCircuit, last); }),
                 QString("Floating point division by zero"));
        QCOMPARE(faultOf([] { checked(1e308 * 10); }), QString("Floating point overflow"));

        // Newton's R1 growing without bound overflows, not hangs (corrections carried over from
        // a failed attempt keep the guard loop going); the design stops there without a result.
        fakeModel = [](double r1, double r2) {
            if (r1 > 1500)
                return LoadStep{r1, 1, r1, 1}; // no Rвых: from here R1 only grows
            return point(11 + 1e-6 * (r1 - 500) * (r1 - 500), 1 + (r2 - 300) / 100);
        };
        LastResults runaway;
        runaway.targetGain = 10;
        runaway.rout = 1;
        runaway.rt = 0.2;
        const R1R2Design d = designR1R2(fakeCircuit, runaway);
        QCOMPARE(d.outcome, R1R2Design::Stopped);
        QCOMPARE(d.attempts, 0); // ended by the fault
    }

    void bestStandardPair() {
        // Non-inverting Variant 2, Ку 5,61, Rвых 1,06 with Roc 0,26 kΩ, Rн 6, Rт 0,2: the design
        // gives R1 ≈ 0,338 and R2 ≈ 0,0784 kΩ. Rвых = 0,2·(330 + 82)/82,2 = 1,0024 misses by
        // −5,4 % with the nearest values; 0,2·405/75,2 = 1,0771 by +1,6 % with R2 = 0,075.
        LastResults last = amplifierInputs(0, 0, 260, 6, 0.2);
        last.targetGain = 5.61;
        last.rout = 1.06;
        const R1R2Design d = designR1R2(nonInvertingCircuit, last);
        const AmplifierRun v2 =
            runOf(SchemeKind::NonInverting, 2, {d.r1, d.r2, 260, 0.2}, 6, 1.06, 5.61);
        QCOMPARE(nearestStandardValue(StandardSeries::E24, d.r1 / 1000), 0.33);
        QCOMPARE(nearestStandardValue(StandardSeries::E24, d.r2 / 1000), 0.082);
        QCOMPARE(pairErrorText(evaluatePair(v2, 0.33, 0.082)), "Rвых −5,4 %, Ку −4,1 %");
        const auto best = ::bestStandardPair(v2, StandardSeries::E24);
        QCOMPARE(best->r1KiloOhms, 0.33);
        QCOMPARE(best->r2KiloOhms, 0.075);
        QCOMPARE(pairErrorText(*best), "Rвых +1,6 %, Ку +0,6 %");

        // Variant 1 keeps its typed R1, standard or not: 0,2·29 500/10 000,2 misses by −1,7 %.
        const AmplifierRun v1 = runOf(SchemeKind::NonInverting, 1,
                                      {19'500, r2ForRout(19'500, 0.2, 0.6), 1'000, 0.2}, 4, 0.6);
        const auto kept = ::bestStandardPair(v1, StandardSeries::E24);
        QCOMPARE(kept->r1KiloOhms, 19.5);
        QCOMPARE(kept->r2KiloOhms, 10.0);
        QCOMPARE(pairErrorText(*kept).substr(0, 16), "Rвых −1,7 %");

        // The exact pair 0,3/0,047 lies below Variant 3's 0,05 kΩ; the steps run on past 0,1.
        AmplifierRun low = runOf(SchemeKind::Inverting, 2, {300, 47, 1'000, 0.2}, 4);
        low.targetRout = low.outputs.rout;
        low.targetGain = low.outputs.gain;
        QVERIFY(::bestStandardPair(low, StandardSeries::E24)->r2KiloOhms >= 0.05);
        QCOMPARE(standardValuesAround(StandardSeries::E24, 0.1, 3),
                 (std::vector<double>{0.075, 0.082, 0.091, 0.1, 0.11, 0.12, 0.13}));
    }
};

QTEST_APPLESS_MAIN(AmplifierCoreTest)
#include "test_amplifier_core.moc"
