#include "amplifier/widgets/amplifier_designs.h"

#include "amplifier/inverting.h"
#include "amplifier/non_inverting.h"
#include "amplifier/spice_netlist.h"
#include "amplifier/widgets/schematics.h"

namespace {

using Rows = std::array<RowQuantity, 7>;
constexpr Rows variant1Rows{{{"R1", "кОм"},
                             {"Roc", "кОм"},
                             {"Rн", "Ом"},
                             {"Rт", "Ом"},
                             {"Rвых", "Ом"},
                             {"R2", "кОм"},
                             {"Ку", "раз"}}};
constexpr Rows variant2Rows{{{"Ку", "раз"},
                             {"Roc", "кОм"},
                             {"Rн", "Ом"},
                             {"Rт", "Ом"},
                             {"Rвых", "Ом"},
                             {"R1", "кОм"},
                             {"R2", "кОм"}}};
constexpr Rows variant3Rows{{{"R1", "кОм"},
                             {"R2", "кОм"},
                             {"Rос", "кОм"},
                             {"Rн", "Ом"},
                             {"Rт", "Ом"},
                             {"Rвых", "Ом"},
                             {"Ку", "раз"}}};

constexpr const char *variant1Task = "R2 и Ку по заданным R1, Roc, Rн, Rт и Rвых";
constexpr const char *variant2Task = "R1 и R2 по заданным Ку, Roc, Rн, Rт и Rвых";
constexpr const char *variant3Task = "Rвых и Ку по заданным R1, R2, Rос, Rн и Rт";

constexpr const char *noSolution = "Решения нет";

using G = FieldGroup;

} // namespace

const AmplifierPageDesign nonInvertingDesign{
    1,
    "Неинвертирующий",
    SchemeKind::NonInverting,
    nonInvertingCircuit,
    nonInvertingSchematic,
    1,
    "Схема неинвертирующего усилителя",
    "Сигнал подаётся на неинвертирующий (+) вход операционного усилителя. Инвертирующий (−) "
    "вход — узел N. R1 соединяет выход усилителя с N. Нагрузка Rн соединяет выход с узлом B. Rт "
    "соединяет B с общим проводом. R2 соединяет B с N. Roc соединяет N с общим проводом.",
    85,
    noSolution,
    nonInvertingNetlistFileName,
    nonInvertingDriverNetlistFileName,
    {{
        {4,
         184,
         G::NonInvertingVariant1,
         28,
         variant1Rows,
         variant1Task,
         82,
         noSolution,
         {35, 36},
         {"10", "20"},
         4},
        {5,
         376,
         G::NonInvertingVariant2,
         37,
         variant2Rows,
         variant2Task,
         81,
         "Label81",
         {44, 45},
         {"20", "10"},
         5},
        {6,
         568,
         G::NonInvertingVariant3,
         46,
         variant3Rows,
         variant3Task,
         0,
         nullptr,
         {53, 54},
         {"0.6", "20"},
         6},
    }}};

const AmplifierPageDesign invertingDesign{
    2,
    "Инвертирующий",
    SchemeKind::Inverting,
    invertingCircuit,
    invertingSchematic,
    2,
    "Схема инвертирующего усилителя",
    "Неинвертирующий (+) вход операционного усилителя соединён с общим проводом. Сигнал "
    "подаётся через Roc на инвертирующий (−) вход, узел N. R1 соединяет выход усилителя с N. "
    "Нагрузка Rн соединяет выход с узлом B. Rт соединяет B с общим проводом. R2 соединяет B с N.",
    86,
    "Решения нет!",
    invertingNetlistFileName,
    invertingDriverNetlistFileName,
    {{
        {1,
         184,
         G::InvertingVariant1,
         1,
         variant1Rows,
         variant1Task,
         83,
         noSolution,
         {8, 9},
         {"1", "6.5"},
         1},
        {2,
         376,
         G::InvertingVariant2,
         10,
         variant2Rows,
         variant2Task,
         84,
         "Label84",
         {17, 18},
         {"10.08", "1.01"},
         2},
        {3,
         568,
         G::InvertingVariant3,
         19,
         variant3Rows,
         variant3Task,
         0,
         nullptr,
         {26, 27},
         {"2.2", "6.5"},
         3},
    }}};

QString rowCaption(const RowQuantity &row) {
    return QString("%1 (%2) =").arg(QString::fromUtf8(row.name), QString::fromUtf8(row.unit));
}
