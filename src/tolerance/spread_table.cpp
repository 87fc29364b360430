#include "tolerance/spread_table.h"

#include "core/decimal_text.h"
#include "tolerance/sense_power.h"

namespace {

std::vector<std::string> spreadRow(const Spread &spread, int decimals) {
    return {displayRounded(spread.nominal, decimals),
            displayRounded(spread.min.value, decimals),
            displayRounded(spread.max.value, decimals),
            deviationText(spread),
            cornerText(spread.min),
            cornerText(spread.max)};
}

std::string kiloOhms(double ohms, bool typed) {
    return (typed ? formatGeneral(ohms / 1000) : displayKiloOhms(ohms)) + " кОм";
}

} // namespace

std::string groupName(const AmplifierRun &run) {
    return std::string(run.kind == SchemeKind::Inverting ? "Инвертирующий" : "Неинвертирующий") +
           ", Вариант " + std::to_string(run.variant);
}

std::string runCaption(const AmplifierRun &run) {
    const Network &n = run.network;
    return groupName(run) + ": R1 = " + kiloOhms(n.r1, run.variant != 2) +
           ", R2 = " + kiloOhms(n.r2, run.variant == 3) + ", Roc = " + kiloOhms(n.roc, true) +
           ", Rн = " + formatGeneral(run.rload) + " Ом, Rт = " + formatGeneral(n.rt) + " Ом";
}

std::vector<std::string> spreadRowNames(bool loudspeaker) {
    if (loudspeaker)
        return {"Rвых (Ом)", "Ку (раз)", "Qtc' колонки", "Мощность в Rт"};
    return {"Rвых (Ом)", "Ку (раз)", "Мощность в Rт"};
}

std::vector<std::vector<std::string>> spreadCells(const AmplifierRun &run,
                                                  const SpeakerRun *speaker, Tolerances tolerances,
                                                  double loadWatts) {
    const OutputSpread outputs = outputSpread(run, tolerances);
    std::vector<std::vector<std::string>> cells{spreadRow(outputs.rout, 2),
                                                spreadRow(outputs.gain, 1)};
    if (speaker)
        cells.push_back(spreadRow(qtcSpread(*speaker, outputs.rout), 3));
    const SensePower power = sensePower(loadWatts, run.rload, run.network.rt);
    cells.push_back({displayRounded(power.watts, 2) + " Вт, " +
                     displayRounded(power.sharePercent, 1) + " % мощности усилителя"});
    return cells;
}

std::string tabSeparated(const std::vector<std::string> &rowNames,
                         const std::vector<std::vector<std::string>> &cells) {
    std::string text = "Величина";
    for (const std::string &column : spreadColumns)
        text += '\t' + column;
    text += '\n';
    for (std::size_t row = 0; row < rowNames.size(); ++row) {
        text += rowNames[row];
        for (const std::string &cell : cells[row])
            text += '\t' + cell;
        text += '\n';
    }
    return text;
}
