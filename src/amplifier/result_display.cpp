#include "amplifier/result_display.h"

#include "core/decimal_text.h"

std::array<ResultQuantity, 2> variantResults(int variant) {
    using Q = ResultQuantity;
    constexpr std::array<std::array<Q, 2>, 3> results{{
        {Q::R2, Q::Gain},
        {Q::R1, Q::R2},
        {Q::Rout, Q::Gain},
    }};
    return results[static_cast<std::size_t>(variant - 1)];
}

std::string resultText(ResultQuantity quantity, double value) {
    switch (quantity) {
    case ResultQuantity::R1:
    case ResultQuantity::R2:
        return displayKiloOhms(value);
    case ResultQuantity::Rout:
        return displayRounded(value, 2);
    case ResultQuantity::Gain:
        break;
    }
    return displayRounded(value, 1);
}

std::string resultValue(ResultQuantity quantity, double value) {
    constexpr std::array<const char *, 4> names{"R1", "R2", "Rвых", "Ку"};
    const std::string name = names[static_cast<std::size_t>(quantity)];
    if (quantity == ResultQuantity::Gain)
        return name + " = " + formatSignificant(value, 4);
    return name + " = " + resistanceText(value);
}

std::array<double, 2> nearestParts(const Network &network, StandardSeries series) {
    const std::array<double, 2> ohms{network.r1, network.r2};
    std::array<double, 2> kiloOhms{};
    for (std::size_t i = 0; i < ohms.size(); ++i)
        kiloOhms[i] = ohms[i] > 0 ? nearestStandardValue(series, ohms[i] / 1000) : 0;
    return kiloOhms;
}
