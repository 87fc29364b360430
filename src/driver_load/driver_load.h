#pragma once

#include "driver_load/b4_alignment.h"
#include "driver_load/driver_limits.h"
#include "driver_load/vented_response.h"
#include "speaker/closed_box.h"
#include "speaker/qtc_advice.h"

#include <array>
#include <optional>
#include <vector>

// Everything the driver-load window shows for one set of inputs, from one call: the curves over
// the chart's frequencies and the figures a reader checks them by, in the closed box or the vented
// one (window_box.h). The level at Rвых = 0 and the limits are for the cold coil; the heated coil
// adds its own curves at the amplifier's Rвых.

using ChartCurve = std::array<double, responsePoints>;

// One level curve and the figures that describe it.
struct LevelCurve {
    ChartCurve spl; // dB at 1 m, half space
    // The total Q behind this source with this coil, Le left out: the closed box's Qtc, or in the
    // vented box the driver's own Qts'.
    double qtc;
    // The Le = 0 level far above fc: 112,1 + 10·lg η0 + 20·lg(E·√Re/(Re + R)), dB.
    double passband;
    // The closed box's lowest frequency from 1 Hz to 20 kHz at which the curve reaches half the
    // pass-band power, passband − 3,01 dB (driver_f3.h); the vented box's lower edge of the pass
    // band at that level (vented_response.h); none where it stays below.
    std::optional<double> f3;
};

// What the coil changes at the amplifier's Rвых besides the level.
struct CoilCurves {
    ChartCurve impedance;    // |Z|, Ω
    ChartCurve phase;        // arg Z, degrees
    ChartCurve excursion;    // cone excursion, peak, mm
    ChartCurve opAmpVoltage; // the op-amp's output voltage across the driver and Rт, peak, V
    ChartCurve current;      // the driver's current, peak, A
    ChartCurve sensePower;   // the power in Rт, W
    ChartCurve portSpeed;    // the port's air speed, peak, m/s; 0 in the closed box
};

// The highest level at each frequency of the chart (driver_limits.h), cold coil.
struct HighestLevel {
    ChartCurve level; // dB, the least of the limits' levels
    // The limit reached first, by levelLimits() of the box, and each limit's level in that order.
    std::array<std::size_t, responsePoints> holding;
    std::vector<ChartCurve> byLimit;
};

// The highest level at one of the frequencies the figures name.
struct HighestAt {
    double f; // Hz
    LimitedLevel limited;
};
inline constexpr std::array<double, 4> highestLevelFrequencies{20, 30, 40, 60}; // Hz

// What the vented box tells of the amplifier: the Rвых that aligns the driver to B4 with the
// box's QL, and the largest Rвых at which the box as set does not rise; the port's length.
struct VentedFigures {
    VentedBox box;
    B4Alignment b4;
    std::optional<double> b4Rout; // Ω, rounded to 0,001 Ω as handed to Variant 2
    RoutWithoutRise withoutRise;
    // Ω, rounded down to 0,001 Ω, so that the Rвых handed to Variant 2 does not rise either, and
    // the F3 at that Rвых, Hz.
    std::optional<double> routWithoutRise;
    std::optional<double> f3WithoutRise;
    std::optional<double> portLength; // m
    double maxPortSpeed;              // m/s, the largest on the chart, cold coil
};

struct DriverLoad {
    ChartCurve frequency;             // responseFrequencies(), Hz
    LevelCurve ideal;                 // from Rвых = 0
    LevelCurve atRout;                // from the amplifier's Rвых
    std::optional<LevelCurve> heated; // the amplifier's Rвых with the heated coil; none unheated
    CoilCurves cold;                  // at the amplifier's Rвых
    std::optional<CoilCurves> hot;    // the same with the heated coil; none unheated
    HighestLevel highest;
    std::array<HighestAt, highestLevelFrequencies.size()> highestAt;

    double e;            // the amplifier's open-circuit voltage, V RMS
    double passbandLoss; // atRout.passband − ideal.passband = 20·lg(Re/(Re + Rвых)), dB
    // The largest values of the cold curves.
    double maxExcursion;     // mm
    bool beyondXmax;         // maxExcursion > Xmax
    double peakOpAmpVoltage; // V
    double peakCurrent;      // A
    double maxSensePower;    // W
    // The power at which the largest excursion of the chart reaches Xmax, P·(Xmax/x)², W; and
    // at the window's power the frequency below which the cone goes beyond Xmax (xmaxCrossing).
    double xmaxPower;
    std::optional<double> xmaxBelow;
    // What the heat costs in the pass band, dB: 20·lg((Re + R)/(Re·(1 + 0,00393·ΔT) + R)) for the
    // amplifier's Rвых and for R = 0.
    double compressionAtRout;
    double compressionAtZero;

    // The Rвых that gives the target Qtc, rounded to 0,001 Ω, with what it means for the box.
    std::optional<double> routForTarget;
    QtcAdvice targetAdvice;

    std::optional<VentedFigures> vented; // none for the closed box
};

DriverLoad driverLoad(const SpeakerRun &run, const DriverLoadInputs &inputs);
