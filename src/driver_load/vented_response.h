#pragma once

#include "driver_load/vented_box.h"

#include <optional>
#include <string>

// What the level curve of the vented box says to a designer: where its pass band ends at the
// bottom, how far it rises above the pass band, and the Rвых up to which it does not rise. All
// between 1 Hz and 20 kHz, with the model's Le, from E behind `source` ohms.

// F3: the lower edge of the pass band, the lowest frequency above which the level stays at or
// above passbandLevel − 3,01 dB up to the top of the pass band; to a relative 1e-9. A hump below
// Fb cut off from the pass band by a dip under the threshold does not count: the pass band
// begins above the dip. 1 Hz where the level is above the threshold from there on; none where
// it stays below everywhere.
std::optional<double> ventedF3(const DriverModel &model, const Coil &coil, const VentedBox &box,
                               double source);

// The most the level rises above its pass band, dB; negative where it stays below.
double levelRise(const DriverModel &model, const Coil &coil, const VentedBox &box, double source);

// The rise the designer lets pass as none.
inline constexpr double flatTolerance = 0.01; // dB

// The largest Rвых from 0,1 to 200 Ω, the range of the amplifier's Rвых fields, at which the
// level nowhere rises more than flatTolerance above its pass band, with the F3 it gives; the
// coil as given. A larger Rвых raises Qts' and with it the hump, so the rise grows with Rвых and
// a bisection finds the edge, to a relative 1e-9.
struct RoutWithoutRise {
    std::optional<double> rout; // Ω; none where even 0,1 Ω rises
    std::optional<double> f3;   // Hz, at that Rвых
    double riseAtBottom;        // the rise at 0,1 Ω, dB
    std::string text;           // why there is none, or that 200 Ω does not rise either
};
RoutWithoutRise routWithoutRise(const DriverModel &model, const Coil &coil, const VentedBox &box);
