#pragma once

#include "amplifier/amplifier_circuit.h"
#include "core/last_results.h"

#include <array>

// The model of a page: non-inverting or inverting.
const AmplifierCircuit &circuitFor(SchemeKind kind);

// Ку and Rвых of a network at its load, by the model the page computes with.
struct NetworkOutputs {
    double gain; // Ку at Rн
    double rout; // Rвых
};
NetworkOutputs networkOutputs(const AmplifierCircuit &circuit, const Network &network,
                              double rload);

// What the report prints of a run: the values as the calculation left them in LastResults.
// Variant 1 ends with R2 at the last midpoint of its bisection and Ку of that evaluation, the
// label shows R2 from the lower end; Variant 2 with Ку of its last evaluation.
struct ReportedNetwork {
    double r1, r2, roc, rt, rload, rout, gain;
};

// One "Вариант" group's last valid run: the network as solved or typed, the load, what was asked
// for, what the network gives, the values behind the two rounded result labels, and the inputs
// as they were typed.
struct AmplifierRun {
    SchemeKind kind; // NonInverting or Inverting
    int variant;     // 1, 2 or 3
    Network network; // R1, R2, Roc, Rт in ohms
    double rload;    // Rн, Ω
    // What the run was asked for: Rвых in Variants 1 and 2, Ку in Variant 2; 0 otherwise.
    double targetRout;
    double targetGain;
    NetworkOutputs outputs;        // of `network`, evaluated once more at its end
    std::array<double, 2> shown;   // unrounded, in ohms or times, in the order of the labels
    std::array<double, 5> typed{}; // the five inputs as typed: kΩ, Ω or times, in check order
    ReportedNetwork reported{};
};
