#pragma once

#include "driver_load/driver_load.h"

#include <string>

// The driver-load window's curves for other programs: the impedance as a ZMA file and the level
// at the amplifier's Rвых as an FRD file, for box and crossover tools, both over frdFrequencies()
// in the form of the page's FRD files (response_export.h: '*' comments, three numbers a line,
// decimal point, ASCII, CR LF); and every chart curve as a table for a spreadsheet. Both files
// are for the cold coil, in the box the inputs choose; the vented box's names end in «_ФИ».

// "Импеданс_динамика.zma", "Импеданс_динамика_ФИ.zma".
std::string impedanceFileName(BoxKind box);

// "frequency |Z| phase" lines in Hz, Ω and degrees after the comments, the last of them
// "* Hz Ohm Deg".
std::string zmaText(const SpeakerRun &run, const DriverLoadInputs &inputs);

// "frequency level phase" lines: the sound pressure level at 1 m in half space at the power P
// from the amplifier's Rвых, dB, and the phase of the pressure, degrees.
std::string levelFrdText(const SpeakerRun &run, const DriverLoadInputs &inputs);

// "Уровень_Rвых_0.frd" and, for Rвых = 0,6 Ом, "Уровень_Rвых_0,6_Ом.frd"; "Уровень_Rвых_0_ФИ.frd".
std::string levelFrdFileName(const SpeakerRun &run, BoxKind box = BoxKind::Closed);

// A header line naming the columns with their units, then one line per chart frequency: every
// curve of `load`, tab separated, in the window's number format (decimal comma). The cold coil's
// curves, the heated coil's where it is heated (in the vented box with «Скорость воздуха в порту
// (пик), м/с» after the coil's closed-box columns), then «Наибольший уровень, дБ» and each
// limit's «Наибольший уровень по Xmax, дБ» … in the order of levelLimits() of the box.
std::string driverLoadTable(const SpeakerRun &run, const DriverLoadInputs &inputs,
                            const DriverLoad &load);
