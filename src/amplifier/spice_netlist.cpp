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

std::string element(const char *name, const char *nodes, double value) {
    return std::string(name) + ' ' + nodes + ' ' + plainDecimal(value) + '\n';
}

// The title and what the run is, as comments.
std::string description(const AmplifierRun &run, const std::string &title) {
    const bool inverting = run.kind == SchemeKind::Inverting;
    std::string text = title + " (ooscalc)\n";
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
    return text;
}

// The op-amp with its feedback network, `load` between out and B, and the op-amp's subcircuit.
std::string circuit(const AmplifierRun &run, const std::string &load) {
    const bool inverting = run.kind == SchemeKind::Inverting;
    const Network &n = run.network;
    std::string text = inverting ? "XU1 0 N out IDEAL_OPAMP\n" : "XU1 in N out IDEAL_OPAMP\n";
    text += element("R1", "out N", n.r1);
    text += element("R2", "B N", n.r2);
    text += element("ROC", inverting ? "in N" : "N 0", n.roc);
    text += load;
    text += element("RT", "B 0", n.rt);
    return text + idealOpAmp;
}

// ngspice runs the block after the circuit: "ngspice -b" prints the table and ends, while an
// interactive session stays open on the results. Other simulators take the analysis line.
std::string controlBlock(const std::string &settings, const std::string &results) {
    return ".control\n" + settings + "set numdgt=15\nrun\n" + results +
           "if $?batchmode\n  quit\nend\n.endc\n";
}

} // namespace

std::string spiceNetlist(const AmplifierRun &run) {
    // The transfer function's output impedance is that of the network and RN in parallel.
    const std::string results =
        "* Ku and the output resistance the load sees, from the DC transfer function\n"
        "let ku = abs(transfer_function)\n"
        "let rout = 1/(1/\"output_impedance_at_v(out,b)\" - 1/" +
        plainDecimal(run.rload) + ")\nprint ku rout\n";
    return description(run, "Amplifier with combined voltage and current feedback") +
           "VIN in 0 DC 1 AC 1\n" + circuit(run, element("RN", "out B", run.rload)) +
           ".tf v(out,B) VIN\n" + controlBlock({}, results) + ".end\n";
}

std::string spiceNetlistWithDriver(const AmplifierRun &run, const DriverCircuit &driver,
                                   const DriverDrive &drive) {
    const bool inverting = run.kind == SchemeKind::Inverting;
    std::string text = description(
        run, "Amplifier with combined voltage and current feedback driving a loudspeaker");
    const bool vented = driver.vent.has_value();
    text += "* Ku is at the design load RN = " + plainDecimal(run.rload) +
            " Ohm; here a loudspeaker in a " + (vented ? "vented" : "closed") +
            " box takes its place:\n";
    if (vented)
        text += "* RE and LE, the voice coil, in series with RES || LCES || CMES, its mechanics, "
                "|| LCEB + CEP + REL\n"
                "* in series, the box air, the port's air mass and the box losses\n";
    else
        text +=
            "* RE and LE, the voice coil, in series with RES || LCES || CMES, its mechanics and "
            "the box air\n";
    text += "* Nodes: coil - between RE and LE, mot - the motional branch; V(out,B) is across the "
            "loudspeaker\n";
    if (vented)
        text += "* box - between LCEB and CEP, port - between CEP and REL; V(mot,box) follows "
                "what radiates,\n"
                "* the cone, the port and the leaks together, V(box,port) the port's air\n";
    // The load sees the open-circuit voltage Ku0*V(in) behind Rout, Ku0 = Ku*(RN + Rout)/RN.
    const double openGain = run.outputs.gain * (run.rload + run.outputs.rout) / run.rload;
    text += "* E: the amplifier's open-circuit voltage, V RMS, as the loudspeaker window drives it;"
            " VIN = E/KU0 with KU0 the gain without load" +
            std::string(inverting ? ", at 180 degrees against the inversion" : "") + '\n';
    text += ".param E=" + plainDecimal(drive.e) + " KU0=" + plainDecimal(openGain) + '\n';
    text += std::string("VIN in 0 DC 0 AC {E/KU0}") + (inverting ? " 180" : "") + '\n';
    // Without inductance RE goes straight to the motional branch.
    const char *coil = driver.le > 0 ? "coil" : "mot";
    std::string load = element("RE", driver.le > 0 ? "out coil" : "out mot", driver.re);
    if (driver.le > 0)
        load += element("LE", "coil mot", driver.le);
    load += element("RES", "mot B", driver.res);
    load += element("LCES", "mot B", driver.lces);
    load += element("CMES", "mot B", driver.cmes);
    if (vented) {
        load += element("LCEB", "mot box", driver.vent->lceb);
        load += element("CEP", "box port", driver.vent->cep);
        load += element("REL", "port B", driver.vent->rel);
    }
    // The pressure follows the acceleration of what radiates, f times its motional voltage: Bl*u
    // of the cone, in the vented box the share across LCEB.
    const std::string radiated = vented ? "v(mot,box)" : "v(mot,B)";
    const std::string results =
        "* The level at 1 m in half space, dB SPL, and the phase of the pressure, degrees, from\n"
        "* the motional voltage; the loudspeaker's current, peak, A\n"
        "let level = " +
        plainDecimal(drive.levelOffset) + " + db(" + radiated + "*frequency)\n" +
        "let phase = ph(j(" + radiated + "))\n" + "let current = sqrt(2)*mag(v(out," + coil +
        "))/" + plainDecimal(driver.re) + "\nprint level phase current\n";
    return text + circuit(run, load) + ".ac dec 50 10 20k\n" +
           controlBlock("set width=132\nset units=degrees\n", results) + ".end\n";
}
