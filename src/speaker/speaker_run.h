#pragma once

#include "speaker/closed_box.h"

#include <optional>

// The loudspeaker page's last valid run: the inputs as checked and what they give.
struct SpeakerRun {
    Driver driver;
    double vb;   // box volume, l
    double rout; // the amplifier's output resistance, Ω
    ClosedBox box;
    // The Rвых for Qtc = 0,7, rounded to 0,001 Ω as shown; none where only current drive would
    // reach it.
    std::optional<double> routRequired;
};
