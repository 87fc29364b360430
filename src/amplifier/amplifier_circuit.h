#pragma once

#include "amplifier/network.h"

// What sets the two amplifier pages apart for the shared solvers: the network model and where
// Newton's method starts.
struct AmplifierCircuit {
    LoadStep (*loadStep)(const Network &n, double rload);

    struct Start {
        double r1;
        double r2;
    };
    // The starting point of Newton attempt `attempt` (1, 2, ...) for the target Ку and Rвых;
    // only R1 moves from one attempt to the next.
    Start (*newtonStart)(int attempt, double targetGain, double roc, double targetRout);
};

extern const AmplifierCircuit nonInvertingCircuit;
extern const AmplifierCircuit invertingCircuit;
