// The arithmetic behind the buttons, without the window: one network evaluation of each
// amplifier, the three calculations of each amplifier page, Newton's method at its worst, and
// the loudspeaker page with its two curves, and the loudspeaker as the amplifier's load. Inputs are
// the field defaults unless stated.

#include "amplifier/feedback_design.h"
#include "amplifier/inverting.h"
#include "amplifier/non_inverting.h"
#include "bench_inputs.h"
#include "driver_load/driver_load.h"
#include "driver_load/driver_load_fields.h"
#include "speaker/closed_box.h"

#include <benchmark/benchmark.h>

namespace {

using G = FieldGroup;

// One call of a gain or output-resistance function on the Variant 3 network of its page.
void networkFunction(benchmark::State &state, double (*function)(const Network &, double),
                     G group) {
    const LastResults last = groupInputs(group);
    const Network network{last.r1, last.r2, last.roc, last.rt};
    for (auto _ : state)
        benchmark::DoNotOptimize(function(network, last.rload));
}
BENCHMARK_CAPTURE(networkFunction, nonInvertingGain, nonInvertingGain, G::NonInvertingVariant3);
BENCHMARK_CAPTURE(networkFunction, nonInvertingOutputResistance, nonInvertingOutputResistance,
                  G::NonInvertingVariant3);
BENCHMARK_CAPTURE(networkFunction, invertingGain, invertingGain, G::InvertingVariant3);
BENCHMARK_CAPTURE(networkFunction, invertingOutputResistance, invertingOutputResistance,
                  G::InvertingVariant3);

// Variant 3: Rвых and Ку of the given network.
void evaluate(benchmark::State &state, const AmplifierCircuit *circuit, G group) {
    LastResults last = groupInputs(group);
    for (auto _ : state) {
        evaluateNetwork(*circuit, last);
        benchmark::DoNotOptimize(last);
    }
}
BENCHMARK_CAPTURE(evaluate, nonInverting, &nonInvertingCircuit, G::NonInvertingVariant3);
BENCHMARK_CAPTURE(evaluate, inverting, &invertingCircuit, G::InvertingVariant3);

// Variant 1: the whole bisection for R2 (2 + 37 evaluations).
void bisection(benchmark::State &state, const AmplifierCircuit *circuit, G group) {
    LastResults last = groupInputs(group);
    const R2Search first = searchR2(*circuit, last);
    require(first.outcome == R2Search::Found && first.halvings == 37, "a full bisection");
    for (auto _ : state)
        benchmark::DoNotOptimize(searchR2(*circuit, last));
}
BENCHMARK_CAPTURE(bisection, nonInverting, &nonInvertingCircuit, G::NonInvertingVariant1);
BENCHMARK_CAPTURE(bisection, inverting, &invertingCircuit, G::InvertingVariant1);

// Variant 2: Newton's method for R1 and R2; the setup run confirms the expected path.
void newton(benchmark::State &state, const AmplifierCircuit *circuit, G group,
            std::span<const char *const> texts, R1R2Design::Outcome outcome, int attempts) {
    LastResults last = groupInputs(group, texts);
    const R1R2Design first = designR1R2(*circuit, last);
    require(first.outcome == outcome && first.attempts == attempts, "the expected Newton run");
    for (auto _ : state)
        benchmark::DoNotOptimize(designR1R2(*circuit, last));
}
BENCHMARK_CAPTURE(newton, nonInverting, &nonInvertingCircuit, G::NonInvertingVariant2,
                  std::span<const char *const>{}, R1R2Design::Converged, 1);
BENCHMARK_CAPTURE(newton, inverting, &invertingCircuit, G::InvertingVariant2,
                  std::span<const char *const>{}, R1R2Design::Converged, 1);
BENCHMARK_CAPTURE(newton, nonInvertingTenAttempts, &nonInvertingCircuit, G::NonInvertingVariant2,
                  nonInvertingNewtonWorst, R1R2Design::NegativePair, 10);
BENCHMARK_CAPTURE(newton, invertingTenAttempts, &invertingCircuit, G::InvertingVariant2,
                  invertingNewtonWorst, R1R2Design::FoundOnLine, 10);
// A zero determinant in the first attempt, then the pair found by bisection on the line of Rвых.
constexpr std::array<const char *, 5> singularJacobian{"8,724", "1", "3,2", "0,1", "0,38"};
BENCHMARK_CAPTURE(newton, nonInvertingOnLine, &nonInvertingCircuit, G::NonInvertingVariant2,
                  singularJacobian, R1R2Design::FoundOnLine, 1);

// The bisection on the line alone.
void routLine(benchmark::State &state) {
    const LastResults last = groupInputs(G::NonInvertingVariant2, singularJacobian);
    for (auto _ : state)
        benchmark::DoNotOptimize(pairOnRoutLine(nonInvertingCircuit, last.targetGain, last.roc,
                                                last.rload, last.rt, last.rout));
}
BENCHMARK(routLine);

// The loudspeaker page: both boxes, the required output resistance and the 2×100 curve points.
void closedBoxPage(benchmark::State &state) {
    const LastResults last = groupInputs(G::Speaker);
    const Driver driver{last.fs, last.re, last.qms, last.qes, last.vas};
    std::array<double, responsePoints> levels{}, levelsNew{};
    for (auto _ : state) {
        const ClosedBox box = closedBox(driver, last.vb, last.speakerRout);
        benchmark::DoNotOptimize(requiredOutputResistance(driver, box.s));
        const auto frequencies = responseFrequencies();
        for (std::size_t k = 0; k < frequencies.size(); ++k) {
            levels[k] = responseLevel(frequencies[k], box.fc, box.qtc);
            levelsNew[k] = responseLevel(frequencies[k], box.fc, box.qtcNew);
        }
        benchmark::DoNotOptimize(levels.data());
        benchmark::DoNotOptimize(levelsNew.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(closedBoxPage);

// One recomputation of the driver-load window on the loudspeaker page's run: its three level
// curves (the coil heated by 50 °C, Le = 1 мГн) with their F3, and the amplifier's curves.
void driverLoadWindow(benchmark::State &state) {
    const LastResults last = groupInputs(G::Speaker);
    const Driver driver{last.fs, last.re, last.qms, last.qes, last.vas};
    const SpeakerRun run{driver, last.vb, last.speakerRout,
                         closedBox(driver, last.vb, last.speakerRout), std::nullopt};
    DriverLoadInputs inputs = defaultDriverLoadInputs();
    inputs.heating = 50;
    inputs.le = 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(driverLoad(run, inputs));
}
BENCHMARK(driverLoadWindow);

} // namespace

BENCHMARK_MAIN();
