#pragma once

#include "core/last_results.h"
#include "input/field_table.h"

#include <QImage>
#include <QString>
#include <array>

struct AmplifierCircuit;

// The two amplifier pages as data: the circuit each computes with, its schematic, and its three
// "Вариант" groups with their control numbers, captions and design-time texts.

// A row of a group: the quantity and its unit, which make its caption, «R1 (кОм) =».
struct RowQuantity {
    const char *name;
    const char *unit;
};

// One "Вариант" group box.
struct AmplifierGroupDesign {
    int boxNumber;
    int x;
    FieldGroup fields;
    int firstCaptionLabel; // the seven caption labels are numbered on from here
    // Five input rows, then the two result rows. Variant 3 writes "Rос" with a Cyrillic "ос";
    // it looks the same.
    const std::array<RowQuantity, 7> &rows;
    const char *description; // what the group computes, for screen readers
    int messageNumber;       // 0: no message label
    const char *messageText; // its design-time caption
    std::array<int, 2> resultNumbers;
    std::array<const char *, 2> resultTexts; // design-time texts, with a decimal point
    int buttonNumber;
};

struct AmplifierPageDesign {
    int sheetNumber;   // of TabSheetN
    const char *title; // the page's tab
    SchemeKind schemeKind;
    const AmplifierCircuit &circuit;
    QImage (*schematic)();
    int imageNumber;
    // For screen readers: what the picture is, and its circuit in words.
    const char *schematicName;
    const char *schematicDescription;
    int noteNumber;
    const char *noSolution; // what Variant 1 says when no R2 in its range gives the Rвых
    const char *netlistFileName;
    const char *driverNetlistFileName; // the netlist with the loudspeaker in place of Rн
    std::array<AmplifierGroupDesign, 3> groups;
};

extern const AmplifierPageDesign nonInvertingDesign;
extern const AmplifierPageDesign invertingDesign;

// "R1 (кОм) ="
QString rowCaption(const RowQuantity &row);
