#pragma once

// The closed box by textbook relations and a direct evaluation of the second-order high-pass
// H(s) = s² / (s² + s/Q + 1), independent of the forms the program uses.

#include "speaker/closed_box.h"

#include <cmath>
#include <complex>

// |H| in dB at f for a high-pass with corner fc and quality q.
inline double highPassDb(double f, double fc, double q) {
    const std::complex<double> s(0, f / fc);
    return 20 * std::log10(std::abs(s * s / (s * s + s / q + 1.0)));
}

// The −3 dB frequency found by bisection on |H|² = 1/2 (|H| rises monotonically up to the
// corner region for every Q; above 1/√2 it peaks, so search below the peak).
inline double halfPowerFrequency(double fc, double q) {
    double lo = fc / 1000, hi = fc * 1000;
    if (q > 1 / std::sqrt(2.0))
        hi = fc / std::sqrt(1 - 1 / (2 * q * q)); // the peak of |H|
    for (int i = 0; i < 200; ++i) {
        const double mid = std::sqrt(lo * hi);
        (highPassDb(mid, fc, q) < 10 * std::log10(0.5) ? lo : hi) = mid;
    }
    return lo;
}

// Textbook closed box: the box stiffens the suspension by (1 + Vas/Vb), raising resonance and
// total Q by its square root; the source resistance adds to Re in the electrical Q.
struct Textbook {
    double fc, qtc, qtcNew;
};
inline Textbook textbook(const Driver &d, double vb, double rout) {
    const double rise = std::sqrt(1 + d.vas / vb);
    const double qesNew = d.qes * (d.re + rout) / d.re;
    return {d.fs * rise, rise / (1 / d.qes + 1 / d.qms), rise / (1 / qesNew + 1 / d.qms)};
}
