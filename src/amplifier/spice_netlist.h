#pragma once

#include "amplifier/amplifier_run.h"
#include "core/driver_circuit.h"

#include <string>

// A group's network as a SPICE3 netlist for a circuit simulator (ngspice, LTspice, Qucs-S, Xyce):
// ASCII, LF line ends, which all of them read. The nodes are named as on the schematic (in, N, B,
// out; 0 is ground), the resistors R1, R2, ROC, RN (the load Rн) and RT (the sense resistor Rт)
// carry their values in ohms to the last bit, VIN applies 1 V, and the op-amp is the instance XU1
// of an ideal op-amp subcircuit, so that a vendor's model replaces it in one line. The circuit
// ends with a DC transfer function from VIN to V(out,B), and a .control block from which
// "ngspice -b" prints Ку ("ku = …") and Rвых ("rout = …").
std::string spiceNetlist(const AmplifierRun &run);

// The same network driving a closed-box loudspeaker in place of RN: RE, LE (left out when Le = 0)
// and the motional branch RES ∥ LCES ∥ CMES between out and B, over the nodes coil and mot. VIN
// is such that the amplifier's open-circuit voltage is the drive's E, and the circuit ends with an
// AC sweep, 50 points a decade from 10 Hz to 20 kHz, and a .control block from which
// "ngspice -b" prints the table "Index frequency level phase current": the level at 1 m (dB),
// the phase of the pressure (degrees) and the loudspeaker's current (peak, A).
std::string spiceNetlistWithDriver(const AmplifierRun &run, const DriverCircuit &driver,
                                   const DriverDrive &drive);

// The names the file dialog offers.
inline constexpr char nonInvertingNetlistFileName[] = "Схема_неинвертирующий.cir";
inline constexpr char invertingNetlistFileName[] = "Схема_инвертирующий.cir";
inline constexpr char nonInvertingDriverNetlistFileName[] = "Схема_неинвертирующий_с_динамиком.cir";
inline constexpr char invertingDriverNetlistFileName[] = "Схема_инвертирующий_с_динамиком.cir";
