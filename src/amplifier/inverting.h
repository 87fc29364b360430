#pragma once

#include "amplifier/amplifier_circuit.h"

// Inverting stage: + input grounded, signal through Roc into N (the − input, a virtual ground),
// R1 output→N, load output→B, Rт B→ground, R2 B→N.

// |Ку| = U(load)/U(in) for a load resistance `load`.
double invertingGain(const Network &n, double load);

LoadStep invertingLoadStep(const Network &n, double rload);

double invertingOutputResistance(const Network &n, double rload);
