#include "driver_load/driver_load_fields.h"

#include "core/decimal_text.h"
#include "input/field_table.h"

#include <array>
#include <cstring>

namespace {

using I = DriverLoadInputs;

// Rт takes the range of the amplifier pages' Rт fields; Fb that of the page's Fs, which it
// follows and which B4 asks of it.
constexpr std::array<DriverLoadField, 13> table{{
    {{"Le", "Индуктивность катушки Le, мГн", "0", 0, "0", 10, "10"}, &I::le},
    {{"Sd", "Площадь диффузора Sd, см²", "500", 10, "10", 5000, "5000"}, &I::sd},
    {{"Xmax", "Xmax, мм", "10", 0.5, "0,5", 50, "50"}, &I::xmax},
    {{"P", "Мощность, Вт", "100", 1, "1", 5000, "5000"}, &I::power},
    {{"TargetQtc", "Целевая Qtc", "0,7", 0.5, "0,5", 2, "2"}, &I::targetQtc},
    {{"Heating", "Нагрев катушки, °C", "0", 0, "0", 200, "200"}, &I::heating},
    {{"Rt", "Rт, Ом", "0,2", 0.05, "0,05", 20, "20"}, &I::rt},
    {{"Pe", "Pe (допустимая мощность), Вт", "200", 1, "1", 5000, "5000"}, &I::pe},
    {{"Umax", "Uмакс ОУ (амплитуда), В", "40", 1, "1", 500, "500"}, &I::opAmpVoltage},
    {{"Imax", "Iмакс ОУ (амплитуда), А", "10", 0.1, "0,1", 200, "200"}, &I::opAmpCurrent},
    {{"Fb", "Fb, Гц", pageFsDefault, 10, "10", 500, "500"}, &I::fb},
    {{"QL", "QL", "7", 1, "1", 100, "100"}, &I::ql},
    {{"PortDiameter", "Диаметр порта, см", "10", 1, "1", 50, "50"}, &I::portDiameter},
}};

// The loudspeaker page's Fs field.
constexpr int pageFsField = 31;

} // namespace

std::span<const DriverLoadField> driverLoadFields() { return table; }

bool followsFs(const DriverLoadField &field) {
    return std::strcmp(field.defaultText, pageFsDefault) == 0;
}

bool ventedOnly(const DriverLoadField &field) {
    return field.destination == &I::fb || field.destination == &I::ql ||
           field.destination == &I::portDiameter;
}

const char *startingText(const DriverLoadField &field) {
    return followsFs(field) ? fieldSpec(pageFsField).defaultText : field.defaultText;
}

DriverLoadInputs defaultDriverLoadInputs() {
    DriverLoadInputs inputs{};
    for (const DriverLoadField &field : table)
        inputs.*field.destination = parseDecimalComma(startingText(field)).value();
    return inputs;
}
