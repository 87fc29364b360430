#pragma once

// The real ngspice on a netlist as the program exports it: a control script of the test's own
// sources the file unchanged (a path without spaces) and solves it at its load RN and at 1,1·RN,
// the two points the program takes Rвых from.

#include "amplifier/network.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <optional>

struct SpiceMeasurement {
    double gain; // |V(out,B)/V(in)| at RN
    double rout; // (U' − U)/(I − I') with I = U/RN
};

inline std::optional<SpiceMeasurement> measureWithNgspice(const QString &netlist, double rload) {
    const double stepped = loadStepFactor * rload;
    const QString script = "*\n.control\nset numdgt=17\nsource %1\nop\nprint abs(v(out,b)/v(in))\n"
                           "alter rn = %2\nop\nprint abs(v(out,b)/v(in))\nquit\n.endc\n";
    QTemporaryFile file;
    QProcess ngspice;
    if (file.open() && file.write(script.arg(netlist).arg(stepped, 0, 'g', 17).toUtf8()) > 0 &&
        file.flush())
        ngspice.start("ngspice", {"-b", file.fileName()});
    ngspice.waitForFinished(60000);
    const auto found = QRegularExpression("v\\(in\\)\\) = (\\S+)\\n.*v\\(in\\)\\) = (\\S+)\\n",
                                          QRegularExpression::DotMatchesEverythingOption)
                           .match(QString::fromUtf8(ngspice.readAllStandardOutput()));
    if (!found.hasMatch())
        return std::nullopt; // ngspice failed
    const double u = found.captured(1).toDouble(), uStepped = found.captured(2).toDouble();
    return SpiceMeasurement{u, (uStepped - u) / (u / rload - uStepped / stepped)};
}
