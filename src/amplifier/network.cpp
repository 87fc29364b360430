#include "amplifier/network.h"

#include "core/arithmetic_fault.h"

double outputResistance(const LoadStep &step) {
    const double rise = step.gainStepped - step.gain;
    const double drop = step.current - step.currentStepped;
    return quotient(rise, drop);
}

LoadStep stepLoad(const Network &n, double rload, double (*gainAt)(const Network &, double load)) {
    LoadStep s{};
    s.gain = gainAt(n, rload);
    s.current = quotient(s.gain, rload);
    const double rloadStepped = loadStepFactor * rload;
    s.gainStepped = gainAt(n, rloadStepped);
    s.currentStepped = quotient(s.gainStepped, rloadStepped);
    return s;
}
