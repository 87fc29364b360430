#pragma once

#include <string>

// The files "Сохранить" writes, each by name into the current directory, as one set
// (whole_file.h): a failed save leaves every old file as it was.

// The names of the four files, in the order of the save.
inline constexpr char chartBitmapFileName[] = "АЧХ_колонки.bmp";
inline constexpr char chartMetafileFileName[] = "АЧХ_колонки.wmf";
inline constexpr char schematicFileName[] = "Схема.bmp";
inline constexpr char reportFileName[] = "Комбинированная_ООС.txt";

// What a save that succeeded tells: "Сохранено в <folder>: " and the names written, the report
// first, then the schematic when there was one, then the chart. An empty folder is the current
// directory when it cannot be named (savedNotice).
std::string savedFilesNotice(const std::string &folder, bool withSchematic);
