#include "amplifier/inverting.h"

#include "core/arithmetic_fault.h"

double invertingGain(const Network &n, double load) {
    // R2 ends on the virtual ground, so it sits in parallel with Rт under the load.
    const double p = quotient(checked(n.r2 * n.rt), n.r2 + n.rt);
    const double k = quotient(p, p + load); // share of the output voltage present at B
    return quotient(1 - k, checked((quotient(1, n.r1) + quotient(k, n.r2)) * n.roc));
}

LoadStep invertingLoadStep(const Network &n, double rload) {
    return stepLoad(n, rload, invertingGain);
}

double invertingOutputResistance(const Network &n, double rload) {
    return outputResistance(invertingLoadStep(n, rload));
}

namespace {

AmplifierCircuit::Start invertingStart(int attempt, double targetGain, double roc,
                                       double targetRout) {
    // 3.1415926 exactly as written, not a longer π: the iterates depend on it.
    return {attempt * targetGain * roc * targetRout / 3.1415926,
            0.1 * targetGain * roc / targetRout};
}

// Open, the load terminals show R1/Roc volts per input volt (B sits at ground with N); Rн takes
// Rн/(Rн + Rвых) of that, and R1 → Rвых as R2 → 0.
double invertingLineGainFloor(double roc, double rload, double, double rout) {
    return rout / roc * rload / (rload + rout);
}

} // namespace

const AmplifierCircuit invertingCircuit{invertingLoadStep, invertingStart, invertingLineGainFloor};
