#pragma once

#include "speaker/speaker_run.h"

#include <optional>
#include <string>

// What the required Rвых of a run means for the box: the Qtc' it gives, or why no positive Rвых
// reaches Qtc = 0,7 and what would. Rвых only adds to Re, so it can raise the total Q from s·Qts
// (Rвых = 0) towards s·Qms (current drive), never lower it.
struct QtcAdvice {
    std::string text;
    // Where the box is already above 0,7 and Qts is below it: the volume, in litres rounded to
    // 0,1, that gives 0,7 at Rвых = 0, Vb = Vas/((0,7/Qts)² − 1).
    std::optional<double> volume;
};
QtcAdvice qtcAdvice(const SpeakerRun &run);
