#pragma once

// The feedback network of either amplifier, in ohms: R1 from the output to the inverting node,
// R2 from the sense node back to it, Roc to ground (non-inverting) or to the signal
// (inverting), Rт the current-sense resistor under the load.
struct Network {
    double r1;
    double r2;
    double roc;
    double rt;
};

// The output resistance is measured by a 10 % load step, exactly 1.1.
inline constexpr double loadStepFactor = 1.1;

// The amplifier at its load Rн and at a load 10 % larger: gains (load voltage per input volt)
// and load currents per input volt. The output resistance is the slope between the two points.
struct LoadStep {
    double gain;           // Ку at Rн
    double current;        // I = Ку/Rн
    double gainStepped;    // Ку' at Rн' = 1.1·Rн
    double currentStepped; // I' = Ку'/Rн'
};

// Rвых = (Ку' − Ку)/(I − I'); I = I' is a division by zero.
double outputResistance(const LoadStep &step);

// Ку at Rн, then Ку' at 1.1·Rн, from the gain function of either amplifier.
LoadStep stepLoad(const Network &n, double rload, double (*gainAt)(const Network &, double load));
