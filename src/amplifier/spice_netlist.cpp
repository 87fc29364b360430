#include "amplifier/spice_netlist.h"

#include "core/decimal_text.h"
#include "core/plain_decimal.h"

#include <array>

namespace {

constexpr std::array<const char *, 3> variantTasks{
    "R2 for the required Rout",
    "R1 and R2 for the required Ku and Rout",
    "Rout and Ku of a known network",
};

// The op-amp's open-loop gain is 1 A/V into 1e12 Ohm, buffered to the output. The least feedback
// factor over the field ranges is about 5e-5 (R1 = 1 MOhm over Roc = 50 Ohm), so the loop gain
// stays above 5e7: Ku moves by at most 2e-8 and Rout by at most 4e-8 of what the ideal op-amp
// gives (worst at R1 = 1 MOhm, R2 = Roc = 50 Ohm, RN = 100 Ohm, RT = 0.05 Ohm).
// Not "E out 0 inp inn 1e12": ngspice then forms the output as 1e12 times the difference of two
// input voltages near 1 V, each solved to about 1e-16 V, and was off by more than 1e-4 in trials.
// Here the node x reads V(x)/1e12 = V(inp) - V(inn), from which the solver derives the tiny input
// difference instead of multiplying it.
constexpr char idealOpAmp[] =
    "* Ideal op-amp, pins: non-inverting input, inverting input, output.\n"
    "* Open-loop gain 1e12: 1 A/V into 1e12 Ohm, buffered.\n"
    ".subckt IDEAL_OPAMP inp inn out\n"
    "GIN 0 x inp inn 1\n"
    "RGAIN x 0 1e12\n"
    "EOUT out 0 x 0 1\n"
    ".ends IDEAL_OPAMP\n";

std::string element(const char *name, const char *nodes, double ohms) {
    return std::string(name) + ' ' + nodes + ' ' + plainDecimal(ohms) + '\n';
}

} // namespace

std::string spiceNetlist(const AmplifierRun &run) {
    const bool inverting = run.kind == SchemeKind::Inverting;
    const Network &n = run.network;
    std::string text = "Amplifier with combined voltage and current feedback (ooscalc)\n";
    text += std::string("* ") + (inverting ? "Inverting" : "Non-inverting") +
            " amplifier, Variant " + std::to_string(run.variant) + ": " +
            variantTasks[static_cast<std::size_t>(run.variant - 1)] + '\n';
    // Rounded as the window shows them.
    text += "* Ku = " + plainDecimal(roundHalfEven(run.outputs.gain, 1)) +
            " (the load voltage V(out,B) over the input voltage V(in)" +
            (inverting ? ", in magnitude" : "") + ")\n";
    text += "* Rout = " + plainDecimal(roundHalfEven(run.outputs.rout, 2)) +
            " Ohm (the output resistance the load RN sees)\n";
    if (run.targetGain > 0)
        text += "* Required Ku = " + plainDecimal(run.targetGain) + '\n';
    if (run.targetRout > 0)
        text += "* Required Rout = " + plainDecimal(run.targetRout) + " Ohm\n";
    text += "* Nodes: in - signal, N - inverting input, out - op-amp output, B - current sense\n";
    text += "* For a real op-amp, .include its model and name it on the XU1 line (mind its pins)\n";
    text += "VIN in 0 DC 1 AC 1\n";
    text += inverting ? "XU1 0 N out IDEAL_OPAMP\n" : "XU1 in N out IDEAL_OPAMP\n";
    text += element("R1", "out N", n.r1);
    text += element("R2", "B N", n.r2);
    text += element("ROC", inverting ? "in N" : "N 0", n.roc);
    text += element("RN", "out B", run.rload);
    text += element("RT", "B 0", n.rt);
    text += idealOpAmp;
    text += ".op\n.end\n";
    return text;
}
