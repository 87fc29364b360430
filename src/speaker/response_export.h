#pragma once

#include "speaker/speaker_run.h"

#include <string>
#include <vector>

// The two curves of the loudspeaker chart for other programs: FRD files for box and crossover
// tools, and a table for a spreadsheet.

enum class ResponseCurve {
    IdealSource, // Rвых = 0
    RunRout,     // through the run's Rвых
};

// The chart's 100 frequencies, continued by the same ratio up to the first at or above 20 kHz.
std::vector<double> frdFrequencies();

// The pieces of FRD and ZMA files: a '*' comment line, and a data line of three numbers with a
// decimal point and the digits that read back as the values computed. CR LF ends both.
std::string frdComment(const std::string &text);
std::string frdLine(double frequency, double value, double phase);

// The driver's parameters as the comment lines of these files give them.
std::string frdDriverComment(const Driver &driver);

// One curve as an FRD file: '*' comment lines describing it, then "frequency level phase" per
// point of frdFrequencies() in Hz, dB and degrees, with a decimal point and the digits that read
// back as the values computed. ASCII with CR LF line ends, as the Windows tools that exchange these
// files read them. The levels are those the chart draws, each curve relative to its own pass
// band; the header gives the pass-band drop that Rвых causes, to shift the curve by.
std::string frdText(const SpeakerRun &run, ResponseCurve curve);

// "АЧХ_Rвых_0.frd" and, for Rвых = 6,5 Ом, "АЧХ_Rвых_6,5_Ом.frd".
std::string frdFileName(const SpeakerRun &run, ResponseCurve curve);

// Both curves into `folder` under their FRD names, written as one set (whole_file.h): a failure
// leaves both old files as they were and throws with the error report's text.
void writeResponseFiles(const std::string &folder, const SpeakerRun &run);

// "Копировать таблицу АЧХ": a header line, then the chart's frequencies with both levels, tab
// separated, in the window's number format (decimal comma), one line each.
std::string responseTable(const SpeakerRun &run);
