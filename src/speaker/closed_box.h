#pragma once

#include <array>

// Low-frequency model of a loudspeaker in a closed box: a second-order high-pass whose corner and
// Q follow from the driver's small-signal parameters, the box volume and the resistance of the
// source that drives the voice coil.

struct Driver {
    double fs;  // free-air resonance, Hz
    double re;  // voice-coil resistance, Ω
    double qms; // mechanical Q
    double qes; // electrical Q
    double vas; // equivalent volume; only Vas/Vb enters, so any unit
};

struct ClosedBox {
    double s;   // resonance and Q rise in the box: sqrt(Vas/Vb + 1)
    double fc;  // resonance in the box, Hz
    double qts; // driver total Q from an ideal voltage source
    double qtc; // box total Q from an ideal voltage source
    double f3;  // −3 dB corner, Hz
    // The same through the amplifier's output resistance, which adds to Re in the electrical Q.
    double qesNew;
    double qtsNew;
    double qtcNew;
    double f3New;
};

// Total Q of the driver: the mechanical and electrical losses in parallel.
double totalQ(double qes, double qms);

// Everything but the required output resistance, which may not exist (see below).
ClosedBox closedBox(const Driver &driver, double vb, double rout);

// −3 dB frequency of the second-order high-pass with corner fc and quality q.
double cornerFrequency(double fc, double q);

// The total Q the page aims the box at: the flattest response without a peak worth naming.
inline constexpr double targetQtc = 0.7;

// The output resistance that brings the box to Qtc = target, rounded to 0.001 Ω. Negative when no
// positive resistance can (the box is already above the target, or Qms alone keeps it below).
// Throws an ArithmeticFault when s/target equals 1/Qms: only an infinite resistance (current
// drive) would do.
double requiredOutputResistance(const Driver &driver, double s, double target = targetQtc);

// 100 frequencies from 10 Hz to just above 1 kHz, each the previous one times responseRatio():
// built by repeated multiplication, not by powers.
constexpr int responsePoints = 100;
std::array<double, responsePoints> responseFrequencies();
double responseRatio(); // exp(ln 100 / 98.999)

// Level of the high-pass at f, in dB relative to its pass band.
double responseLevel(double f, double fc, double q);

// Phase of the same high-pass at f in degrees: 180 far below the corner, 90 at fc, towards 0 far
// above it.
double responsePhase(double f, double fc, double q);
