#pragma once

#include "amplifier/amplifier_circuit.h"
#include "core/last_results.h"

// The three calculations of an amplifier page. Each reads its inputs from LastResults, where
// the field checks have just stored them (resistances in ohms), and writes its results back.

// Variant 3: Rвых and Ку of a complete network (r1, r2, roc, rt, rload → rout, gain).
void evaluateNetwork(const AmplifierCircuit &circuit, LastResults &last);

// Variant 1: R2 for the target Rвых (r1, roc, rt, rload, rout). Bisection between 10 Ω and
// 10 MΩ; every evaluation leaves its R2 in r2 and its Ку in gain.
struct R2Search {
    enum Outcome {
        SenseNotBelowRout, // Rт ≥ Rвых: no network can reach it
        NoSignChange,      // the target lies outside what 10 Ω … 10 MΩ gives
        Found,
    } outcome;
    double lowerEnd = 0; // the lower end of the final bracket: what is shown
    int halvings = 0;
};
R2Search searchR2(const AmplifierCircuit &circuit, LastResults &last);

// Variant 2: R1 and R2 for the target Ку and Rвых (targetGain, roc, rt, rload, rout).
// Newton's method with a forward-difference Jacobian, up to 10 attempts of 101 steps.
struct R1R2Design {
    enum Outcome {
        SenseNotBelowRout,
        SingularJacobian, // the run stops silently, nothing is shown
        Converged,
        NotConverged, // all ten attempts used up; the last iterate is still shown
    } outcome;
    double r1 = 0;
    double r2 = 0;
    int attempts = 0; // attempts made
    int steps = 0;    // counted steps of the last attempt
};
R1R2Design designR1R2(const AmplifierCircuit &circuit, LastResults &last);
