#include "driver_load/driver_load_fields.h"

#include "core/decimal_text.h"

#include <array>

namespace {

using I = DriverLoadInputs;

// Rт takes the range of the amplifier pages' Rт fields.
constexpr std::array<DriverLoadField, 10> table{{
    {"Le", "Индуктивность катушки Le, мГн", "0", 0, "0", 10, "10", &I::le},
    {"Sd", "Площадь диффузора Sd, см²", "500", 10, "10", 5000, "5000", &I::sd},
    {"Xmax", "Xmax, мм", "10", 0.5, "0,5", 50, "50", &I::xmax},
    {"P", "Мощность, Вт", "100", 1, "1", 5000, "5000", &I::power},
    {"TargetQtc", "Целевая Qtc", "0,7", 0.5, "0,5", 2, "2", &I::targetQtc},
    {"Heating", "Нагрев катушки, °C", "0", 0, "0", 200, "200", &I::heating},
    {"Rt", "Rт, Ом", "0,2", 0.05, "0,05", 20, "20", &I::rt},
    {"Pe", "Pe (допустимая мощность), Вт", "200", 1, "1", 5000, "5000", &I::pe},
    {"Umax", "Uмакс ОУ (амплитуда), В", "40", 1, "1", 500, "500", &I::opAmpVoltage},
    {"Imax", "Iмакс ОУ (амплитуда), А", "10", 0.1, "0,1", 200, "200", &I::opAmpCurrent},
}};

} // namespace

std::span<const DriverLoadField> driverLoadFields() { return table; }

DriverLoadInputs defaultDriverLoadInputs() {
    DriverLoadInputs inputs{};
    for (const DriverLoadField &field : table)
        inputs.*field.destination = parseDecimalComma(field.defaultText).value();
    return inputs;
}
