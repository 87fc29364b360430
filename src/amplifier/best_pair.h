#pragma once

#include "amplifier/amplifier_run.h"
#include "core/standard_values.h"

#include <optional>
#include <string>

// R1 and R2 as standard parts, in kΩ, and how far the network built from them misses what the
// group was after, as relative errors (0.016 is +1,6 %): Rвых against its target, Ку against the
// target of Variant 2 or, in Variant 1, against the Ку the run gave.
struct StandardPair {
    double r1KiloOhms;
    double r2KiloOhms;
    double routError;
    double gainError;
};

// The run's network with R1 and R2 replaced, evaluated at the run's load.
StandardPair evaluatePair(const AmplifierRun &run, double r1KiloOhms, double r2KiloOhms);

// The pair of the series with the smallest worst error among the values within three steps of
// R1 and R2 (7 × 7 pairs), each part within the 0,05 … 1000 kΩ of Variant 3's fields. Variant 2
// weighs the errors of Rвых and Ку, Variant 1 that of Rвых alone and keeps its typed R1, so only
// R2 moves there. None for Variant 3, which has no targets, and where no pair is in range.
std::optional<StandardPair> bestStandardPair(const AmplifierRun &run, StandardSeries series);

// The errors as the tooltip states them: «Rвых −0,4 %, Ку +0,2 %».
std::string pairErrorText(const StandardPair &pair);
