#pragma once

// The two amplifiers solved directly from Kirchhoff's current law with an ideal op-amp: the
// reference for the network evaluations and for the solvers built on them.

#include "amplifier/network.h"

#include <cmath>

// Ideal op-amp: the − input follows the + input. Unknowns: the output voltage and the sense
// node B, from the current sums at N and B, solved by Cramer's rule.
struct NodalVoltages {
    double out;
    double b;
};

inline NodalVoltages solveNodes(double a11, double a12, double c1, double a21, double a22,
                                double c2) {
    const double det = a11 * a22 - a12 * a21;
    return {(c1 * a22 - a12 * c2) / det, (a11 * c2 - c1 * a21) / det};
}

// Non-inverting, Uin = 1 V, so N sits at 1 V:
//   N: (out − 1)/R1 + (b − 1)/R2 − 1/Roc = 0
//   B: (out − b)/RL + (1 − b)/R2 − b/Rт = 0
inline double nodalNonInvertingGain(const Network &n, double rl) {
    const NodalVoltages v = solveNodes(1 / n.r1, 1 / n.r2, 1 / n.r1 + 1 / n.r2 + 1 / n.roc, //
                                       1 / rl, -(1 / rl + 1 / n.r2 + 1 / n.rt), -1 / n.r2);
    return v.out - v.b;
}

// Inverting, Uin = 1 V into Roc, N a virtual ground:
//   N: 1/Roc + out/R1 + b/R2 = 0
//   B: (out − b)/RL − b/Rт − b/R2 = 0
inline double nodalInvertingGain(const Network &n, double rl) {
    const NodalVoltages v = solveNodes(1 / n.r1, 1 / n.r2, -1 / n.roc, //
                                       1 / rl, -(1 / rl + 1 / n.rt + 1 / n.r2), 0);
    return std::fabs(v.out - v.b);
}

// The load sees a linear source, Ку(RL) = E·RL/(RL + Rвых): Rвых from the gains at RL and 2·RL.
inline double nodalOutputResistance(double (*gain)(const Network &, double), const Network &n,
                                    double rl) {
    const double k1 = gain(n, rl), k2 = gain(n, 2 * rl);
    return (k2 - k1) / (k1 / rl - k2 / (2 * rl));
}

// With the input at rest both circuits look alike from the load: a test current into B raises
// B by I·(Rт‖R2), and the op-amp holds N at zero by driving its output to −B·R1/R2.
inline double theveninResistance(const Network &n) {
    return (1 + n.r1 / n.r2) * (n.rt * n.r2 / (n.rt + n.r2));
}
