#pragma once

#include "speaker/speaker_run.h"

#include <optional>
#include <string>

// What the Rвых for a target Qtc means for the box: the Qtc' it gives, or why no positive Rвых
// reaches the target and what would. Rвых only adds to Re, so it can raise the total Q from
// s·Qts (Rвых = 0) towards s·Qms (current drive), s = √(Vas/Vb + 1), never lower it.
struct QtcAdvice {
    std::string text;
    // Where the box is already above the target and Qts is below it: the volume, in litres
    // rounded to 0,1, that gives the target at Rвых = 0, Vb = Vas/((target/Qts)² − 1).
    std::optional<double> volume;
};
QtcAdvice qtcAdvice(const SpeakerRun &run, double target = targetQtc);

// The Rвых for Qtc = target as requiredOutputResistance gives it; none where only current drive
// would reach the target.
std::optional<double> outputResistanceFor(const SpeakerRun &run, double target);
