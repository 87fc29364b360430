#include "amplifier/non_inverting.h"

#include "core/arithmetic_fault.h"

double nonInvertingGain(const Network &n, double load) {
    // Every quantity is one double, formed in this order: the shown digits depend on it.
    const double y1 = checked(quotient(1, n.r1) + quotient(1, n.r2) + quotient(1, n.roc)); // at N
    const double y2 = checked(quotient(1, load) + quotient(1, n.r2) + quotient(1, n.rt));  // at B
    const double a = checked(checked(n.r2 * y1 * y2) - quotient(1, n.r2));
    const double b = checked(quotient(checked(n.r2 * y2), n.r1) + quotient(1, load));
    return checked(quotient(checked((quotient(n.r2, n.r1) + 1) * a), b) - checked(n.r2 * y1));
}

LoadStep nonInvertingLoadStep(const Network &n, double rload) {
    return stepLoad(n, rload, nonInvertingGain);
}

double nonInvertingOutputResistance(const Network &n, double rload) {
    return outputResistance(nonInvertingLoadStep(n, rload));
}

namespace {

AmplifierCircuit::Start nonInvertingStart(int attempt, double targetGain, double roc,
                                          double targetRout) {
    return {attempt * targetGain * roc * targetRout / 1.4142135,
            roc * (0.3 * targetGain) / targetRout};
}

// Open, the load terminals show (R1 + R2)/(R2 + Rт) + R1/Roc volts per input volt (N follows the
// input, B sits at Rт/(R2 + Rт) of it): Rвых/Rт + R1/Roc on the line. Rн takes Rн/(Rн + Rвых) of
// that, and R1 → Rвых as R2 → 0.
double nonInvertingLineGainFloor(double roc, double rload, double rt, double rout) {
    return (rout / rt + rout / roc) * rload / (rload + rout);
}

} // namespace

const AmplifierCircuit nonInvertingCircuit{nonInvertingLoadStep, nonInvertingStart,
                                           nonInvertingLineGainFloor};
