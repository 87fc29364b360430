#pragma once

#include "tolerance/spread.h"

#include <array>
#include <string>
#include <vector>

// The texts of the window «Разброс параметров»: what run it shows and its table.

// «Неинвертирующий, Вариант 2: R1 = 0,34 кОм, R2 = 0,08 кОм, Roc = 0,26 кОм, Rн = 6 Ом,
// Rт = 0,2 Ом»: computed resistances rounded as the group shows them, typed ones as typed.
std::string runCaption(const AmplifierRun &run);

// The group of a run: «Неинвертирующий, Вариант 2».
std::string groupName(const AmplifierRun &run);

// The table's column headers after the column of row names.
inline const std::array<std::string, 6> spreadColumns{"Номинал",
                                                      "Минимум",
                                                      "Максимум",
                                                      "Разброс, %",
                                                      "Допуски при минимуме",
                                                      "Допуски при максимуме"};

// Rвых and Ку, Qtc' of the loudspeaker when there is one, the power in Rт.
std::vector<std::string> spreadRowNames(bool loudspeaker);

// The cells of each row in the order of spreadRowNames. Rвых, Ку and Qtc' fill the six columns,
// each value rounded as the result labels round it (two decimals for Rвых, one for Ку, three for
// Qtc'); the power in Rт, at `loadWatts` into the load, is one text for the whole row,
// «5 Вт, 4,8 % мощности усилителя». `speaker` may be null.
std::vector<std::vector<std::string>> spreadCells(const AmplifierRun &run,
                                                  const SpeakerRun *speaker, Tolerances tolerances,
                                                  double loadWatts);

// The table as tab-separated lines, the line of column headers first.
std::string tabSeparated(const std::vector<std::string> &rowNames,
                         const std::vector<std::vector<std::string>> &cells);
