#pragma once

#include "core/last_results.h"
#include "speaker/speaker_run.h"

#include <string>
#include <string_view>

// The files the program writes: those of "Сохранить" by name into the current directory, the
// exports where the file dialog points. Each is replaced only once it is complete
// (ReplacingFile): a failed save leaves the new file or the old one, never a fragment. A failure
// throws std::runtime_error with the text the error report shows.

// The names of the four files, in the order of the save.
inline constexpr char chartBitmapFileName[] = "АЧХ_колонки.bmp";
inline constexpr char chartMetafileFileName[] = "АЧХ_колонки.wmf";
inline constexpr char schematicFileName[] = "Схема.bmp";
inline constexpr char reportFileName[] = "Комбинированная_ООС.txt";

// A file written whole (an image, a netlist, a response): "Cannot create file "<full path>".
// <system text>" when it cannot be created, "Stream write error" when writing or completing it
// fails.
void writeWholeFile(const std::string &name, std::string_view bytes);

// Both curves of the loudspeaker run into `folder`, each whole under its FRD name, the curve at
// Rвых = 0 first; the first failure throws, as in a save.
void writeResponseFiles(const std::string &folder, const SpeakerRun &run);

// The report, created, written line by line and closed, each step checked: the first failure
// throws the message of the input/output error table (io_error.h).
void writeReportFile(const std::string &name, const LastResults &last);

// What a save that succeeded tells: "Сохранено в <folder>: " and the names written, the report
// first, then the schematic when there was one, then the chart.
std::string savedFilesNotice(const std::string &folder, bool withSchematic);
