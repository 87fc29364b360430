#pragma once

#include "amplifier/amplifier_circuit.h"
#include "core/last_results.h"

#include <optional>
#include <string>

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
// Newton's method with a forward-difference Jacobian, up to 10 attempts of 101 steps. Where it
// ends on anything but a non-negative pair, the line of the target Rвых decides (pairOnRoutLine).
struct R1R2Design {
    enum Outcome {
        SenseNotBelowRout,
        Converged,   // Newton's method met both targets
        FoundOnLine, // it did not, and the pair was found on the line
        // No positive pair exists:
        NegativePair, // Newton's method ended on a negative R1 or R2, which is shown
        NotConverged, // all ten attempts used up; the last iterate is still shown
        Stopped,      // a zero determinant or an arithmetic fault; R1 = R2 = 0, as is Ку
    } outcome;
    double r1 = 0;
    double r2 = 0;
    int attempts = 0; // attempts made; 0 after an arithmetic fault
    int steps = 0;    // counted steps of the last attempt
};
R1R2Design designR1R2(const AmplifierCircuit &circuit, LastResults &last);

// The positive pair with the target Ку on the line of the target Rвых, and its Ку, or none when
// the target is not above the line's floor. Bisection for R2 to neighbouring doubles: at most 100
// doublings and 200 halvings, one network evaluation each.
struct LinePair {
    double r1;
    double r2;
    double gain;
};
std::optional<LinePair> pairOnRoutLine(const AmplifierCircuit &circuit, double targetGain,
                                       double roc, double rload, double rt, double rout);

// The tooltip of Variant 2's message: the Ку reachable with the typed Roc, Rн, Rт and Rвых.
std::string reachableGainText(const AmplifierCircuit &circuit, const LastResults &last);

// The tooltip of Variant 1's "Решения нет": the R2 the typed R1, Rт and Rвых need.
std::string neededR2Text(const LastResults &last);
