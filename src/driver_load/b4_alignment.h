#pragma once

#include "speaker/closed_box.h"

#include <optional>
#include <string>

// The fourth-order Butterworth alignment B4 of a vented box with losses QL, reached through the
// amplifier's Rвых: the box and the tuning it needs, and the Rвых that brings the driver's total
// Q to the alignment's. With h = Fb/Fs = 1 Small's polynomial is
//   s⁴ + (1/Qt + 1/QL)·(s³ + s) + (α + 2 + 1/(QL·Qt))·s² + 1,
// Butterworth's s⁴ + √(4 + 2√2)·(s³ + s) + (2 + √2)·s² + 1 where
//   Qt = 1/(√(4 + 2√2) − 1/QL),  α = √2 − 1/(QL·Qt),
// and F3 = Fs. Rвых adds to Re in Qes only: Qes' = Qt·Qms/(Qms − Qt), Rвых = Re·(Qes'/Qes − 1).
struct B4Alignment {
    // The total Q the alignment needs and Vas/Vb; 0 where the box losses alone damp more than
    // B4 allows (1/QL ≥ √(4 + 2√2)).
    double qt;
    double alpha;
    // The box, Vas/α in litres, and its tuning Fs; none where the losses leave no alignment
    // (no Qt, or α ≤ 0).
    std::optional<double> vb;
    std::optional<double> fb;
    std::optional<double> rout; // Ω, unrounded; none where no Rвых ≥ 0 gives Qt
    std::string whyNot;         // why vb or rout is none, as the closed box's advice words it
};
B4Alignment b4Alignment(const Driver &driver, double ql);
