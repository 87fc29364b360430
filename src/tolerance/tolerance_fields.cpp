#include "tolerance/tolerance_fields.h"

#include <array>

namespace {

constexpr std::array<ToleranceField, 3> table{{
    {"PartsTolerance", "Допуск R1, R2, Roc (%)", "1", 0, "0", 20, "20"},
    {"SenseTolerance", "Допуск Rт (%)", "1", 0, "0", 20, "20"},
    {"LoadPower", "Мощность в нагрузке, Вт", "100", 1, "1", 5000, "5000"},
}};

} // namespace

std::span<const ToleranceField> toleranceFields() { return table; }
