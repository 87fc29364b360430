#pragma once

// The real ngspice on a netlist as the program exports it: a control script of the test's own
// sources the file unchanged (a path without spaces) and solves it at its load RN and at 1,1·RN,
// the two points the program takes Rвых from; or it runs the AC sweep of the netlist with the
// loudspeaker.

#include "amplifier/network.h"
#include "core/whole_file.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <array>
#include <optional>
#include <vector>

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

// The AC sweep a netlist with the loudspeaker ends with: a row per frequency of f, V(out,B)
// across the loudspeaker and V(out) at the op-amp's output, each as real and imaginary part, for
// VIN = 1 V.
inline std::vector<std::array<double, 5>> sweepWithNgspice(const QString &netlist) {
    QTemporaryDir dir;
    const QString table = dir.filePath("sweep.txt"), script = dir.filePath("sweep.cir");
    writeWholeFile(script.toStdString(),
                   QString("*\n.control\nset wr_singlescale\noption numdgt=17\nsource %1\nrun\n"
                           "wrdata %2 v(out,b) v(out)\nquit\n.endc\n")
                       .arg(netlist, table)
                       .toStdString());
    QProcess::execute("ngspice", {"-b", "-o", dir.filePath("log.txt"), script});
    QFile file(table);
    file.open(QIODevice::ReadOnly);
    std::vector<std::array<double, 5>> sweep;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (const QList<QByteArray> v = line.simplified().split(' '); v.size() == 5)
            sweep.push_back({v[0].toDouble(), v[1].toDouble(), v[2].toDouble(), v[3].toDouble(),
                             v[4].toDouble()});
    return sweep;
}
