#pragma once

// The report file as its layout describes it, with every number given as the text it must show:
// written out by hand, to check the program's report against.

#include "cp1251.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <stdexcept>
#include <string>

struct AmplifierFigures {
    QString r1, r2, roc, rt, rload, rout, gain;
};

struct SpeakerFigures {
    QString fs, re, qms, qes, vas, vb, routRequired, qtc, f3, speakerRout, qtcNew, f3New;
};

inline QStringList expectedAmplifierSection(const AmplifierFigures &f) {
    return {
        "  ********************************************************************",
        "  *                                                                  *",
        "  *         Результаты расчета усилителя с комбинированной ООС       *",
        "  *                                                                  *",
        "  ********************************************************************",
        "",
        "",
        "",
        "       R1    =  " + f.r1 + "  Ом",
        "       R2    =  " + f.r2 + "  Ом",
        "       Roc   =  " + f.roc + "  Ом",
        "       R     =  " + f.rt + "  Ом",
        "       Rнагр =  " + f.rload + "  Ом",
        "       Rвых  =  " + f.rout + "  Ом",
        "       Ку    =  " + f.gain,
    };
}

inline QStringList expectedSpeakerSection(const SpeakerFigures &f) {
    return {
        "  ***********************************************************",
        "  *                                                         *",
        "  *          АЧХ сабвуфера при Rвых усилителя > 0           *",
        "  *                                                         *",
        "  ***********************************************************",
        "",
        "",
        "",
        "             Исходные данные:",
        "   -------------------------------------",
        "",
        "",
        "       Fs    =  " + f.fs + "  Гц",
        "       Re    =  " + f.re + "  Ом",
        "       Qms   =  " + f.qms,
        "       Qes   =  " + f.qes,
        "       Vas   =  " + f.vas + "  л",
        "",
        "       Vb    =  " + f.vb + "  л",
        "",
        "",
        "    Rвых необходимое для получения Qts = 0,7 ",
        "    Rвых необх. =  " + f.routRequired + "  Ом",
        "",
        "",
        "          ----    Rвых = 0    ----",
        "",
        "       Qtc   =  " + f.qtc,
        "       F3    =  " + f.f3 + "  Гц",
        "",
        "",
        "",
        "          ----    Rвых > 0    ----",
        "",
        "",
        "       Rвых  =  " + f.speakerRout + "  Ом",
        "",
        "       Qtc'  =  " + f.qtcNew,
        "       F3'   =  " + f.f3New + "  Гц",
    };
}

inline QStringList bothSections(const AmplifierFigures &a, const SpeakerFigures &s) {
    return expectedAmplifierSection(a) + QStringList(9, QString()) + expectedSpeakerSection(s);
}

// The file: every line, the last one too, ends in CR LF; no byte-order mark.
inline QByteArray expectedReportFile(const QStringList &lines) {
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += toCp1251(line).value() + "\r\n";
    return bytes;
}
