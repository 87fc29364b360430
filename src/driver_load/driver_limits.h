#pragma once

#include "driver_load/window_box.h"

#include <functional>
#include <optional>
#include <span>
#include <vector>

// How loud the loudspeaker plays before something gives out. Everything the model computes is
// linear in E, so every quantity a limit watches rises with the drive: at the window's power a
// limit lets E rise k = allowed/present times, the level 20·lg k dB, and the least k of all the
// limits sets the highest level at that frequency.

// What the limits watch at one frequency, at the window's power.
struct DriveAmplitudes {
    double excursion;    // the cone's, peak, mm
    double current;      // the driver's, peak, A
    double opAmpVoltage; // the op-amp's output across the driver and Rт, peak, V
    double portSpeed;    // the port's air, peak, m/s; 0 in the closed box
};
DriveAmplitudes driveAmplitudes(const DriverModel &model, const BoxPoint &point, double f,
                                double rt);

// One limit: its name, what it watches, and how far that may go, in the same unit.
struct LevelLimit {
    const char *name; // «Xmax»: the level it allows is «Наибольший уровень по Xmax»
    const char *brief; // as a figure names it beside its level: «104,2 дБ (Xmax)»
    double DriveAmplitudes::*watched;
    double (*allowed)(const DriverLoadInputs &inputs, const Driver &driver);
};

// Xmax; Pe, the coil's rated power, as the peak current √(2·Pe/Re) that dissipates it in the
// cold Re; Uмакс, the op-amp's swing; Iмакс, its current; in the vented box also the port's air
// speed, at most portSpeedLimit, above which the port chuffs and compresses.
std::span<const LevelLimit> levelLimits(BoxKind box = BoxKind::Closed);
inline constexpr double portSpeedLimit = 17; // m/s, 5 % of the speed of sound

// The highest level at one frequency: each limit's level, the least of them and which it is.
struct LimitedLevel {
    std::vector<double> levels; // dB, in the order of levelLimits() of the box
    double level;               // dB
    std::size_t holding;        // the limit reached first
};

// From `level`, the level at the window's power, and the amplitudes there. `allowed` holds each
// limit's allowed value (allowedValues), for the box's limits.
LimitedLevel limitedLevel(double level, const DriveAmplitudes &present,
                          std::span<const double> allowed);
std::vector<double> allowedValues(const DriverLoadInputs &inputs, const Driver &driver);

// The frequency below which the cone goes beyond Xmax: the highest one from the bottom of
// `frequency` up to 20 kHz at which the excursion, `excursionAt(f)` in mm with its values over
// `frequency` in `excursion`, comes down to `xmax`, to a relative 1e-9; 20 kHz where it is
// beyond even there; none where the curve stays within xmax.
std::optional<double> xmaxCrossing(std::span<const double> frequency,
                                   std::span<const double> excursion, double xmax,
                                   const std::function<double(double f)> &excursionAt);
inline constexpr double xmaxSearchTop = 20000; // Hz
