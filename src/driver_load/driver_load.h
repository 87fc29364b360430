#pragma once

#include "driver_load/driver_model.h"
#include "speaker/closed_box.h"
#include "speaker/qtc_advice.h"

#include <array>
#include <optional>

// Everything the driver-load window shows for one set of inputs, from one call: the curves over
// the chart's frequencies and the figures a reader checks them by. The level at Rвых = 0, the
// impedance and all that the amplifier delivers are for the cold coil; the heated coil adds only
// its own level curve at the amplifier's Rвых.

using ChartCurve = std::array<double, responsePoints>;

// One level curve and the figures that describe it.
struct LevelCurve {
    ChartCurve spl; // dB at 1 m, half space
    // The box's total Q behind this source with this coil, Le left out.
    double qtc;
    // The Le = 0 level far above fc: 112,1 + 10·lg η0 + 20·lg(E·√Re/(Re + R)), dB.
    double passband;
    // The lowest frequency from 1 Hz to 20 kHz at which the curve reaches half the pass-band
    // power, passband − 3,01 dB (driver_f3.h); none where it stays below.
    std::optional<double> f3;
};

struct DriverLoad {
    ChartCurve frequency;             // responseFrequencies(), Hz
    LevelCurve ideal;                 // from Rвых = 0
    LevelCurve atRout;                // from the amplifier's Rвых
    std::optional<LevelCurve> heated; // the amplifier's Rвых with the heated coil; none unheated

    // At the amplifier's Rвых with the cold coil.
    ChartCurve impedance;    // |Z|, Ω
    ChartCurve phase;        // arg Z, degrees
    ChartCurve excursion;    // cone excursion, peak, mm
    ChartCurve opAmpVoltage; // the op-amp's output voltage across the driver and Rт, peak, V
    ChartCurve current;      // the driver's current, peak, A
    ChartCurve sensePower;   // the power in Rт, W

    double e;            // the amplifier's open-circuit voltage, V RMS
    double passbandLoss; // atRout.passband − ideal.passband = 20·lg(Re/(Re + Rвых)), dB
    // The largest values of the curves above.
    double maxExcursion;          // mm
    double maxExcursionFrequency; // Hz
    bool beyondXmax;              // maxExcursion > Xmax
    double peakOpAmpVoltage;      // V
    double peakCurrent;           // A
    double maxSensePower;         // W

    // The Rвых that gives the target Qtc, rounded to 0,001 Ω, with what it means for the box.
    std::optional<double> routForTarget;
    QtcAdvice targetAdvice;
};

DriverLoad driverLoad(const SpeakerRun &run, const DriverLoadInputs &inputs);
