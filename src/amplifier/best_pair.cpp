#include "amplifier/best_pair.h"

#include "core/arithmetic_fault.h"
#include "core/decimal_text.h"
#include "input/field_table.h"

#include <algorithm>
#include <cmath>

namespace {

// Rounding R1 and R2 separately to their nearest values can miss the targets by more than a
// neighbouring pair does, since both parts act on Rвых and Ку together.
constexpr int searchSteps = 3;

double relativeError(double value, double target) { return quotient(value - target, target); }

// The error the choice minimises: Variant 1's Ку is a result, not a target.
double worstError(const StandardPair &pair, int variant) {
    const double rout = std::fabs(pair.routError);
    return variant == 1 ? rout : std::max(rout, std::fabs(pair.gainError));
}

} // namespace

StandardPair evaluatePair(const AmplifierRun &run, double r1KiloOhms, double r2KiloOhms) {
    Network network = run.network;
    network.r1 = r1KiloOhms * 1000;
    network.r2 = r2KiloOhms * 1000;
    const NetworkOutputs outputs = networkOutputs(circuitFor(run.kind), network, run.rload);
    const double gainTarget = run.variant == 2 ? run.targetGain : run.outputs.gain;
    return {r1KiloOhms, r2KiloOhms, relativeError(outputs.rout, run.targetRout),
            relativeError(outputs.gain, gainTarget)};
}

std::optional<StandardPair> bestStandardPair(const AmplifierRun &run, StandardSeries series) {
    if (run.variant == 3)
        return std::nullopt;
    const auto variant3 =
        groupFields(run.kind == SchemeKind::Inverting ? FieldGroup::InvertingVariant3
                                                      : FieldGroup::NonInvertingVariant3);

    // Variant 1 completes an amplifier whose R1 is already there: moving it would trade the Ку
    // the designer chose with R1 for Rвых, which R2 alone sets as well.
    const double r1 = run.network.r1 / 1000;
    const std::vector<double> r1Values =
        run.variant == 1 ? std::vector<double>{r1} : standardValuesAround(series, r1, searchSteps);
    const std::vector<double> r2Values =
        standardValuesAround(series, run.network.r2 / 1000, searchSteps);

    std::optional<StandardPair> best;
    for (const double r1Value : r1Values)
        for (const double r2Value : r2Values) {
            // As Variant 3's fields would check the texts the hand-over writes.
            if (!fieldTakes(variant3[0], formatGeneral(r1Value)) ||
                !fieldTakes(variant3[1], formatGeneral(r2Value)))
                continue;
            const StandardPair pair = evaluatePair(run, r1Value, r2Value);
            if (!best || worstError(pair, run.variant) < worstError(*best, run.variant))
                best = pair;
        }
    return best;
}

std::string pairErrorText(const StandardPair &pair) {
    return "Rвых " + signedFixed(pair.routError * 100, 1) + " %, Ку " +
           signedFixed(pair.gainError * 100, 1) + " %";
}
