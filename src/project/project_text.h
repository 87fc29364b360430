#pragma once

#include "project/design_record.h"

#include <cstddef>
#include <string>
#include <string_view>

// The project file (.ooscalc): JSON in UTF-8 with LF line ends, its keys always in the same
// order and its numbers in the C form, so that the same design gives the same bytes whatever the
// locale. "format" and "version" come first; then the page shown, every field's text, the
// windows' inputs by their keys, the handlers that showed a result, the driver (its name where
// known, and its values once more in SI units as JSON numbers under the keys of a driver file,
// for other tools) and the note. On opening the texts win; the driver's numbers are not read.
inline constexpr std::string_view projectFormat = "ooscalc-design";
inline constexpr int projectVersion = 1;
inline constexpr std::string_view projectSuffix = "ooscalc";
// The driver window's «Ящик», after its fields' texts.
inline constexpr char boxKey[] = "Box";
inline constexpr char closedBoxName[] = "closed";
inline constexpr char ventedBoxName[] = "vented";
// Larger files are refused unread.
inline constexpr std::size_t projectFileLimit = 1 << 20;

// The file of a design whose texts pass their checks (designFault() empty).
std::string projectText(const DesignRecord &design);

// A text as a JSON string, quotes and all: the quote, the backslash and control characters
// escaped, everything else as it is.
std::string jsonString(std::string_view text);
