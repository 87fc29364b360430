#pragma once

#include "core/driver_circuit.h"
#include "speaker/speaker_run.h"

#include <complex>

inline constexpr double speedOfSound = 343; // m/s

// A loudspeaker in a closed box as the load of an amplifier with output resistance Rвых, at one
// frequency: its impedance, the current the amplifier delivers, the level it radiates and the
// cone excursion. The amplifier is its open-circuit voltage E behind the source resistance.

// The box the window puts the page's driver in: the page's closed box, or a vented box of the
// page's Vb (vented_box.h).
enum class BoxKind { Closed, Vented };

// What the driver-load window adds to the loudspeaker page's run, in the units of its fields.
struct DriverLoadInputs {
    double le;        // voice-coil inductance, mH
    double sd;        // cone area, cm²
    double xmax;      // the cone's linear excursion, one way, mm
    double power;     // W into Re from an ideal source: E = √(P·Re) for every curve
    double targetQtc; // the Qtc the Rвых advice aims at
    double heating;   // the voice coil's temperature rise, °C
    double rt;        // the amplifier's current-sense resistor, Ω
    // What gives out as the level rises (driver_limits.h).
    double pe;           // the voice coil's rated power, W
    double opAmpVoltage; // the op-amp's output swing, peak, V
    double opAmpCurrent; // the op-amp's output current limit, peak, A
    // The vented box, where it is chosen.
    BoxKind box = BoxKind::Closed;
    bool fbFollowsFs = true; // Fb is the page's Fs until the user types their own
    double fb;               // the port's tuning, Hz
    double ql;               // the box losses
    double portDiameter;     // cm
};

// The voice coil at a temperature. Only Re changes with it, and Qes in proportion; Res, Bl and
// the mechanics stay.
struct Coil {
    double re; // Ω
    double qes;
};

// The driver in its box, from the run's small-signal parameters and the inputs, in SI units.
struct DriverModel {
    Driver driver; // as the page took it (Vas in litres), the coil cold
    double le;     // H
    double fc;     // resonance in the box, Hz
    double qmc;    // mechanical Q in the box
    double res;    // Ω
    double sd;     // cone area, m²
    double cms;    // suspension compliance, m/N
    double bl;     // force factor, T·m
    double e;      // the amplifier's open-circuit voltage, V RMS
};
DriverModel driverModel(const SpeakerRun &run, const DriverLoadInputs &inputs);

Coil coldCoil(const DriverModel &model);
// Copper: +0,393 % of Re and Qes per degree.
Coil heatedCoil(const DriverModel &model, double heating);

// The driver at frequency f, driven from E behind `source` ohms.
struct DriverPoint {
    std::complex<double> z;        // impedance, Ω
    std::complex<double> current;  // A RMS
    std::complex<double> motional; // the voltage across the motional branch, V RMS
};
DriverPoint driverPoint(const DriverModel &model, const Coil &coil, double source, double f);

// arg Z, degrees.
double impedancePhase(const DriverPoint &point);
// Sound pressure level at 1 m in half space, dB: levelOffset + 20·lg(f·|motional|).
double soundLevel(const DriverModel &model, const Coil &coil, const DriverPoint &point, double f);
double levelOffset(const DriverModel &model, const Coil &coil);
// The phase of that pressure (of the cone's acceleration), degrees.
double pressurePhase(const DriverPoint &point);
// The level far above fc with Le left out, where the cone is mass controlled.
double passbandLevel(const DriverModel &model, const Coil &coil, double source);
// Peak cone excursion, m.
double excursion(const DriverModel &model, const DriverPoint &point, double f);

// The driver of a run with a coil of `le` mH as circuit elements for a netlist, the coil cold.
DriverCircuit driverCircuit(const SpeakerRun &run, double le);
// How the window drives that circuit and hears it, for a netlist that prints what it shows.
DriverDrive driverDrive(const SpeakerRun &run, const DriverLoadInputs &inputs);
