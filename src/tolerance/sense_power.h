#pragma once

// The sense resistor Rт carries the load current, so at P watts into Rн it dissipates P·Rт/Rн:
// Rт/(Rн + Rт) of all the amplifier delivers never reaches the load.
struct SensePower {
    double watts;
    double sharePercent; // of the amplifier's output power
};

SensePower sensePower(double loadWatts, double rload, double rt);
