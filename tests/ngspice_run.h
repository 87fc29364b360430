#pragma once

// The real ngspice on a netlist as the program exports it, run as a user would: `ngspice -b
// file.cir`, its printed results read back.

#include <QProcess>
#include <QRegularExpression>
#include <array>
#include <optional>
#include <vector>

inline QString ngspiceOutput(const QString &netlist) {
    QProcess ngspice;
    ngspice.start("ngspice", {"-b", netlist});
    ngspice.waitForFinished(60000);
    return QString::fromUtf8(ngspice.readAllStandardOutput());
}

struct SpiceMeasurement {
    double gain; // |V(out,B)/V(in)| at RN
    double rout; // the output resistance the load sees
};

// What a group's netlist prints: "ku = …" and "rout = …".
inline std::optional<SpiceMeasurement> measureWithNgspice(const QString &netlist) {
    const auto found =
        QRegularExpression("^ku = (\\S+)\\nrout = (\\S+)$", QRegularExpression::MultilineOption)
            .match(ngspiceOutput(netlist));
    if (!found.hasMatch())
        return std::nullopt; // ngspice failed
    return SpiceMeasurement{found.captured(1).toDouble(), found.captured(2).toDouble()};
}

// The table a netlist with the loudspeaker prints: a row of f, level, phase and current per
// frequency, under the header that names them.
inline std::vector<std::array<double, 4>> tableWithNgspice(const QString &netlist) {
    const QStringList lines = ngspiceOutput(netlist).split('\n');
    std::vector<std::array<double, 4>> table;
    bool headed = false;
    for (const QString &line : lines) {
        const QStringList cells = line.simplified().split(' ');
        headed = headed || cells == QStringList{"Index", "frequency", "level", "phase", "current"};
        std::array<double, 4> row{};
        bool numbers = cells.size() == 5 && cells[0] == QString::number(table.size());
        for (std::size_t i = 0; numbers && i < row.size(); ++i)
            row[i] = cells[qsizetype(i) + 1].toDouble(&numbers);
        if (headed && numbers)
            table.push_back(row);
    }
    return table;
}
