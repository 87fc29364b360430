#pragma once

#include "amplifier/amplifier_circuit.h"

// Non-inverting stage: signal on the + input, R1 output→N, Roc N→ground, load output→B,
// Rт B→ground, R2 B→N (N is the − input).

// Ку = U(load)/U(in) for a load resistance `load`, from the node equations at N and B.
double nonInvertingGain(const Network &n, double load);

LoadStep nonInvertingLoadStep(const Network &n, double rload);

// The output resistance the load Rн sees.
double nonInvertingOutputResistance(const Network &n, double rload);
