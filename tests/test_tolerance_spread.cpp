// A run's spread at part tolerances: the corners of the tolerance box against points inside it,
// and the window's cells for the default networks against values a reader works out by hand.

#include "amplifier_runs.h"
#include "speaker/closed_box.h"
#include "tolerance/spread_table.h"

#include <QTest>
#include <cmath>
#include <random>

class ToleranceSpreadTest : public QObject {
    Q_OBJECT

private slots:
    // With the others held, Rвых and Ку are monotonic in each part, so the 16 corners bound the
    // whole tolerance box; 10⁵ inside points over random designs of the field ranges check it.
    // The load step leaves rounding noise of some 1e-8 in Rвых, hence the margin.
    void cornersBoundTheToleranceBox() {
        std::mt19937_64 random(22);
        const auto logUniform = [&random](double low, double high) {
            return std::exp(std::uniform_real_distribution(std::log(low), std::log(high))(random));
        };
        std::uniform_real_distribution<double> tolerance(0, 20), inside(-1, 1);
        for (int design = 0; design < 1'000; ++design) {
            const Network n{logUniform(50, 1e6), logUniform(50, 1e6), logUniform(50, 1e6),
                            logUniform(0.05, 20)};
            const auto kind = design % 2 ? SchemeKind::Inverting : SchemeKind::NonInverting;
            const AmplifierRun run = runOf(kind, 3, n, logUniform(1, 100));
            const Tolerances t{tolerance(random), tolerance(random)};
            const OutputSpread spread = outputSpread(run, t);
            const auto within = [](double value, const Spread &s) {
                const double margin = 1e-7 * s.nominal;
                return value >= s.min.value - margin && value <= s.max.value + margin;
            };
            for (int point = 0; point < 100; ++point) {
                const auto part = [&](double nominal, double percent) {
                    return nominal * (1 + inside(random) * percent / 100);
                };
                const Network p{part(n.r1, t.parts), part(n.r2, t.parts), part(n.roc, t.parts),
                                part(n.rt, t.sense)};
                const NetworkOutputs o = networkOutputs(circuitFor(kind), p, run.rload);
                QVERIFY(within(o.rout, spread.rout) && within(o.gain, spread.gain));
            }
        }
    }

    // The default networks of Variant 3 at 1 %/1 %, 100 W into 4 Ω. Rвых = Rт·(R1 + R2)/(R2 + Rт)
    // rises with R1 and Rт and falls with R2; Ку = E·Rн/(Rн + Rвых) with the open-circuit gain
    // E = (R1 + R2)/(R2 + Rт) + R1/Roc (non-inverting) or R1/Roc (inverting). Rт takes
    // 100·0,2/4 = 5 W, 0,2/4,2 = 4,8 % of the output.
    void spreadsOfTheDefaults() {
        const Driver driver{19, 3.4, 2.63, 0.18, 90};
        const SpeakerRun speaker{driver, 50, 6, closedBox(driver, 50, 6), {}};
        using Row = std::vector<std::string>;
        struct Case {
            AmplifierRun run;
            const SpeakerRun *speaker;
            std::vector<Row> cells;
        };
        const Case cases[] = {
            // Rвых 0,599988: 0,198·29 900/10 100,198 = 0,586147 (−2,31 %),
            // 0,202·30 100/9 900,202 = 0,614149 (+2,36 %). Ку 20: E = 29 900/10 100,202 +
            // 19 800/1 010 = 22,564296 gives 19,6297 (−1,85 %); E = 30 300/10 100,198 +
            // 20 200/990 = 23,403981 with Rвых 0,593988 gives 20,3779 (+1,89 %). Qtc' = s·Qts' with
            // s = √2,8 and Qes' = 0,18·(3,4 + Rвых)/3,4: 0,327953, 0,326901, 0,329027.
            {runOf(SchemeKind::NonInverting, 3, {20'000, 10'000, 1'000, 0.2}, 4),
             &speaker,
             {{"0,6", "0,59", "0,61", "−2,31 … +2,36", "R1− R2+ Roc± Rт−", "R1+ R2− Roc± Rт+"},
              {"20", "19,6", "20,4", "−1,85 … +1,89", "R1− R2+ Roc+ Rт+", "R1+ R2+ Roc− Rт−"},
              {"0,328", "0,327", "0,329", "−0,32 … +0,33", "R1− R2+ Roc± Rт−", "R1+ R2− Roc± Rт+"},
              {"5 Вт, 4,8 % мощности усилителя"}}},
            // Rвых 2,199560: 0,198·10 910/1 010,198 = 2,138373 (−2,78 %),
            // 0,202·11 090/990,202 = 2,262346 (+2,85 %). Ку 6,452071: 9 900/1 010·4/(4 +
            // 0,202·10 890/990,202) = 6,301957 (−2,33 %); 10 100/990·4/(4 + 0,198·11 110/
            // 1 010,198) = 6,605843 (+2,38 %).
            {runOf(SchemeKind::Inverting, 3, {10'000, 1'000, 1'000, 0.2}, 4),
             nullptr,
             {{"2,2", "2,14", "2,26", "−2,78 … +2,85", "R1− R2+ Roc± Rт−", "R1+ R2− Roc± Rт+"},
              {"6,5", "6,3", "6,6", "−2,33 … +2,38", "R1− R2− Roc+ Rт+", "R1+ R2+ Roc− Rт−"},
              {"5 Вт, 4,8 % мощности усилителя"}}},
        };
        for (const Case &c : cases)
            QCOMPARE(spreadCells(c.run, c.speaker, {1, 1}, 100), c.cells);

        // At tolerance 0 every corner is the nominal network; Rт 20 Ω under 4 Ω takes 5/6.
        const AmplifierRun exact =
            runOf(SchemeKind::NonInverting, 3, {20'000, 10'000, 1'000, 20}, 4);
        QCOMPARE(spreadCells(exact, nullptr, {0, 0}, 100)[0],
                 (Row{"59,88", "59,88", "59,88", "0,00 … 0,00", "R1± R2± Roc± Rт±",
                      "R1± R2± Roc± Rт±"}));
        QCOMPARE(spreadCells(exact, nullptr, {0, 0}, 100)[2][0],
                 "500 Вт, 83,3 % мощности усилителя");
    }
};

QTEST_APPLESS_MAIN(ToleranceSpreadTest)
#include "test_tolerance_spread.moc"
