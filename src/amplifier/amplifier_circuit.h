#pragma once

#include "amplifier/network.h"

// What sets the two amplifier pages apart for the shared solvers: the network model, where
// Newton's method starts, and the least Ку of a network with a given Rвых.
struct AmplifierCircuit {
    LoadStep (*loadStep)(const Network &n, double rload);

    struct Start {
        double r1;
        double r2;
    };
    // The starting point of Newton attempt `attempt` (1, 2, ...) for the target Ку and Rвых;
    // only R1 moves from one attempt to the next.
    Start (*newtonStart)(int attempt, double targetGain, double roc, double targetRout);

    // Either network has Rвых = Rт·(R1 + R2)/(R2 + Rт), so the pairs with a required Rвых lie on
    // the line R1 = R2·(Rвых/Rт − 1) + Rвых. Along it Ку rises linearly with R2, from this limit
    // at R2 → 0 (R1 → Rвых) without bound.
    double (*lineGainFloor)(double roc, double rload, double rt, double rout);
};

extern const AmplifierCircuit nonInvertingCircuit;
extern const AmplifierCircuit invertingCircuit;
