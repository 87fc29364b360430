#pragma once

#include "amplifier/amplifier_run.h"

#include <string>

// A group's network as a SPICE3 netlist for a circuit simulator (ngspice, LTspice, Qucs-S, Xyce):
// ASCII, LF line ends, which all of them read. The nodes are named as on the schematic (in, N, B,
// out; 0 is ground), the resistors R1, R2, ROC, RN (the load Rн) and RT (the sense resistor Rт)
// carry their values in ohms to the last bit, VIN applies 1 V, and the op-amp is the instance XU1
// of an ideal op-amp subcircuit, so that a vendor's model replaces it in one line. The circuit
// ends with an operating point: V(out,B)/V(in) is Ку.
std::string spiceNetlist(const AmplifierRun &run);

// The names the file dialog offers.
inline constexpr char nonInvertingNetlistFileName[] = "Схема_неинвертирующий.cir";
inline constexpr char invertingNetlistFileName[] = "Схема_инвертирующий.cir";
