#pragma once

#include "amplifier/amplifier_run.h"
#include "speaker/speaker_run.h"

#include <string>

// How far Rвых and Ку of a run stray when its parts do: R1, R2 and Roc within one tolerance,
// the sense resistor Rт within its own. Rн is the load, not a part, and keeps its value.
//
// The extremes lie on the 16 corners of the tolerance box: with the others held, Ку of either
// network is a ratio of two functions linear in any one part (a Möbius function of it), and so
// is Rвых = Rт·(R1 + R2)/(R2 + Rт). Each is therefore monotonic in every part wherever the others
// stand, and moving one part at a time from any inside point to its better end climbs to a corner.

// Tolerances in percent.
struct Tolerances {
    double parts; // R1, R2, Roc
    double sense; // Rт
};

// A corner of the box: bit 0 for R1, 1 for R2, 2 for Roc, 3 for Rт; a set bit is the upper end.
using Corner = unsigned;

// A quantity's extreme and the corner that gives it. A part whose other end changes the value by
// less than a millionth of it is marked as either end: it does not matter (Roc to Rвых, any part
// at tolerance 0), and what its end would show is the rounding noise of the evaluation.
struct Extreme {
    double value;
    Corner corner;
    Corner eitherEnd; // the parts that do not matter, bits as in Corner
};

// «R1+ R2− Roc± Rт+», with the true minus sign.
std::string cornerText(const Extreme &extreme);

// A quantity at the nominal parts and at its two extreme corners; of corners with equal values
// the lowest number is taken.
struct Spread {
    double nominal;
    Extreme min;
    Extreme max;
};

struct OutputSpread {
    Spread rout; // Rвых, Ω
    Spread gain; // Ку
};

// Nominal is the run's own outputs; every corner is evaluated by the model the page computes
// with, at the run's load.
OutputSpread outputSpread(const AmplifierRun &run, Tolerances tolerances);

// The extremes as deviations from nominal in percent, two decimals each, signed, joined by
// « … »: «−1,95 … +1,98». An extreme equal to nominal shows «0,00».
std::string deviationText(const Spread &spread);

// Qtc' of the loudspeaker run's driver and box driven through the nominal and the two extreme
// Rвых. Qtc' rises with the source resistance, so its extremes lie at those of Rвых, and so do
// their corners.
Spread qtcSpread(const SpeakerRun &speaker, const Spread &rout);
