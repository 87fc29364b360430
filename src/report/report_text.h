#pragma once

#include "core/last_results.h"

#include <string>
#include <string_view>
#include <vector>

// The report "Комбинированная_ООС.txt": the amplifier section (15 lines) after an amplifier
// calculation, the loudspeaker section (39 lines) after the loudspeaker one, nine empty lines
// between them when there are both. A `routNote` stands under the required Rвых, one line more.
// Lines in UTF-8, without their line ends.
std::vector<std::string> reportLines(const LastResults &last, const std::string &routNote = {});

// A line as the file holds it: one Windows-1251 byte per character, then CR LF.
std::string reportFileLine(std::string_view line);

// The whole file; empty when neither section is due.
std::string reportFileBytes(const LastResults &last, const std::string &routNote = {});
