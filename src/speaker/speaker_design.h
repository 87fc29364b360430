#pragma once

#include "speaker/closed_box.h"

#include <array>

// The loudspeaker page as data: its input rows and result rows with their control numbers, and
// the names and units that captions, tooltips and copied lines take.

// An input row: a description at the left, the symbol right-aligned before the field. A row
// without a description names its unit in the symbol, «Rвых усилителя (Ом) =».
struct SpeakerInputRow {
    int captionLabel; // 0: none
    const char *caption;
    int symbolLabel;
    const char *name;
    const char *unit;
    int edit;
    int y; // in its group box
};

// Edit31 … Edit35 in "Параметры динамика", then Edit36 and Edit37 in the box's group.
inline constexpr std::array<SpeakerInputRow, 7> speakerInputRows{{
    {56, "Резонансная частота, Гц", 61, "Fs", "Гц", 31, 16},
    {57, "Сопротивление звуковой катушки, Ом", 62, "Re", "Ом", 32, 40},
    {58, "Механическая добротность", 63, "Qms", "", 33, 64},
    {59, "Электрическая добротность", 64, "Qes", "", 34, 88},
    {60, "Эквивалентный объем, л", 65, "Vas", "л", 35, 112},
    {66, "Внутренний объем корпуса, л", 67, "Vb", "л", 36, 16},
    {0, nullptr, 80, "Rвых усилителя", "Ом", 37, 72},
}};
inline constexpr std::size_t driverRowCount = 5;

// A result row of "Результаты": description, symbol, value label, and how the label rounds.
struct SpeakerResultRow {
    int captionLabel;
    const char *caption;
    int symbolLabel;
    const char *name;
    const char *unit;
    double ClosedBox::*value;
    int valueLabel;
    const char *designText;
    int decimals;
};

inline constexpr std::array<SpeakerResultRow, 4> speakerResultRows{{
    {74, "Исходная добротность колонки", 78, "Qtc", "", &ClosedBox::qtc, 76, "0,238", 3},
    {75, "Исходная частота среза на низких (Гц)", 79, "F3", "Гц", &ClosedBox::f3, 77, "103,9", 2},
    {68, "Новая добротность колонки", 70, "Qtc'", "", &ClosedBox::qtcNew, 72, "0,7", 3},
    {69, "Новая частота среза на низких, Гц", 71, "F3'", "Гц", &ClosedBox::f3New, 73, "32,1", 2},
}};
