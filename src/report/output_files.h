#pragma once

#include "core/last_results.h"
#include "core/whole_file.h"

#include <string>
#include <string_view>

// The files "Сохранить" writes, each by name into the current directory and each replaced only
// once it is complete (ReplacingFile): a failed save leaves the new file or the old one, never a
// fragment. A failure throws std::runtime_error with the text the error report shows. The
// pictures are written whole (whole_file.h).

// The names of the four files, in the order of the save.
inline constexpr char chartBitmapFileName[] = "АЧХ_колонки.bmp";
inline constexpr char chartMetafileFileName[] = "АЧХ_колонки.wmf";
inline constexpr char schematicFileName[] = "Схема.bmp";
inline constexpr char reportFileName[] = "Комбинированная_ООС.txt";

// The report, created, written line by line and closed, each step checked: the first failure
// throws the message of the input/output error table (io_error.h).
void writeReportFile(const std::string &name, const LastResults &last, const std::string &routNote);

// What a save that succeeded tells: "Сохранено в <folder>: " and the names written, the report
// first, then the schematic when there was one, then the chart.
std::string savedFilesNotice(const std::string &folder, bool withSchematic);
