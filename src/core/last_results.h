#pragma once

// The one record of the last calculations. The field checks write each input as soon as it
// converts, the calculators write their results, "Сохранить" reads it all. A run that stops
// early leaves whatever it had written, so the record may mix two runs.
// The kind of the last amplifier run; the values are those the design gives.
enum class SchemeKind { None = 0, NonInverting = 1, Inverting = 2 };

struct LastResults {
    SchemeKind schemeKind = SchemeKind::None;
    int speakerDone = 0; // 1 once the loudspeaker button has run

    // Amplifier, resistances in ohms.
    double r1 = 0;
    double r2 = 0;
    double roc = 0;
    double rt = 0;    // current-sense resistor
    double rload = 0; // Rн
    double rout = 0;  // Rвых: the target of Variants 1 and 2, the result of Variant 3
    double gain = 0;  // Ку of the last network evaluation
    double targetGain = 0;

    // Loudspeaker (volumes in litres).
    double fs = 0;
    double re = 0;
    double qms = 0;
    double qes = 0;
    double vas = 0;
    double vb = 0;
    double speakerRout = 0;
    double routRequired = 0; // already rounded to 0.001
    double qtc = 0;
    double f3 = 0;
    double qtcNew = 0;
    double f3New = 0;
};
