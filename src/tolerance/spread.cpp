#include "tolerance/spread.h"

#include "core/arithmetic_fault.h"
#include "core/decimal_text.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int partCount = 4;
constexpr Corner cornerCount = 1u << partCount;

bool isUpper(Corner corner, int part) { return (corner >> part & 1u) != 0; }

// One part at the end of its band: nominal·(1 ± t/100).
double atEnd(double nominal, double percent, bool upper) {
    const double share = percent / 100;
    return nominal * (upper ? 1 + share : 1 - share);
}

// The parts at a corner.
Network cornerNetwork(const Network &nominal, Tolerances t, Corner corner) {
    return {atEnd(nominal.r1, t.parts, isUpper(corner, 0)),
            atEnd(nominal.r2, t.parts, isUpper(corner, 1)),
            atEnd(nominal.roc, t.parts, isUpper(corner, 2)),
            atEnd(nominal.rt, t.sense, isUpper(corner, 3))};
}

using CornerValues = std::array<double, cornerCount>;

Extreme extremeAt(const CornerValues &values, Corner corner) {
    Extreme extreme{values[corner], corner, 0};
    for (int part = 0; part < partCount; ++part) {
        const double other = values[corner ^ 1u << part];
        if (std::fabs(other - extreme.value) <= 1e-6 * std::fabs(extreme.value))
            extreme.eitherEnd |= 1u << part;
    }
    return extreme;
}

Spread spreadOf(double nominal, const CornerValues &values) {
    // Both take the first of equal values.
    const auto min = std::min_element(values.begin(), values.end());
    const auto max = std::max_element(values.begin(), values.end());
    return {nominal, extremeAt(values, static_cast<Corner>(min - values.begin())),
            extremeAt(values, static_cast<Corner>(max - values.begin()))};
}

std::string deviation(double value, double nominal) {
    return signedFixed(quotient(value - nominal, nominal) * 100, 2);
}

} // namespace

std::string cornerText(const Extreme &extreme) {
    static const char *const names[partCount] = {"R1", "R2", "Roc", "Rт"};
    std::string text;
    for (int part = 0; part < partCount; ++part) {
        if (part > 0)
            text += ' ';
        text += names[part];
        if (isUpper(extreme.eitherEnd, part))
            text += "±";
        else
            text += isUpper(extreme.corner, part) ? "+" : "−";
    }
    return text;
}

OutputSpread outputSpread(const AmplifierRun &run, Tolerances tolerances) {
    const AmplifierCircuit &circuit = circuitFor(run.kind);
    CornerValues rout{};
    CornerValues gain{};
    for (Corner corner = 0; corner < cornerCount; ++corner) {
        const NetworkOutputs outputs =
            networkOutputs(circuit, cornerNetwork(run.network, tolerances, corner), run.rload);
        rout[corner] = outputs.rout;
        gain[corner] = outputs.gain;
    }
    return {spreadOf(run.outputs.rout, rout), spreadOf(run.outputs.gain, gain)};
}

std::string deviationText(const Spread &spread) {
    return deviation(spread.min.value, spread.nominal) + " … " +
           deviation(spread.max.value, spread.nominal);
}

Spread qtcSpread(const SpeakerRun &speaker, const Spread &rout) {
    const auto qtcAt = [&speaker](const Extreme &extreme) {
        Extreme qtc = extreme;
        qtc.value = closedBox(speaker.driver, speaker.vb, extreme.value).qtcNew;
        return qtc;
    };
    return {closedBox(speaker.driver, speaker.vb, rout.nominal).qtcNew, qtcAt(rout.min),
            qtcAt(rout.max)};
}
