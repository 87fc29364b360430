#include "driver_load/driver_load_view.h"

#include "core/decimal_text.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace {

std::string levelText(double decibels) { return withMinusSign(displayRounded(decibels, 2)); }
std::string angleText(double degrees) { return withMinusSign(displayRounded(degrees, 1)); }
std::string frequencyText(double hertz) { return displayRounded(hertz, 1); }

// Three significant digits, whatever the size: 41,2 В, 8,35 А, 0,000512 Вт.
std::string threeDigits(double value) {
    if (value == 0)
        return "0";
    const int decimals = 2 - static_cast<int>(std::floor(std::log10(std::fabs(value))));
    return withMinusSign(displayRounded(value, std::max(decimals, 0)));
}

std::string fourDigits(double value) { return withMinusSign(formatSignificant(value, 4)); }
std::string exact(double value, const char *unit) { return fourDigits(value) + " " + unit; }

std::string routName(const SpeakerRun &run) { return "Rвых = " + formatGeneral(run.rout) + " Ом"; }

ChartCurve constant(double value) {
    ChartCurve curve;
    curve.fill(value);
    return curve;
}

constexpr double centimetresPerMetre = 100;

constexpr std::size_t red = 0, blue = 1, green = 2, orange = 3, black = 5;

// The heated coil's twins of the lines at `curves`' indices, with its values.
void addHeated(ChartLines &lines, const std::string &heat,
               std::vector<std::pair<std::size_t, const ChartCurve *>> curves) {
    for (const auto &[line, values] : curves) {
        ChartLine twin = lines[line];
        twin.name += ", " + heat;
        twin.values = *values;
        twin.style = LineStyle::Dotted;
        twin.legend = heat;
        lines.push_back(std::move(twin));
    }
}

// A line named in the legend as in the readout.
ChartLine chartLine(std::string name, const char *unit, std::string (*format)(double),
                    const ChartCurve &values, std::size_t colour,
                    LineStyle style = LineStyle::Solid, bool secondAxis = false) {
    ChartLine line;
    std::tie(line.name, line.unit, line.format, line.values) =
        std::tuple(name, unit, format, values);
    std::tie(line.secondAxis, line.style, line.colour, line.legend) =
        std::tuple(secondAxis, style, colour, std::move(name));
    return line;
}

// The highest level and what sets it at each point, then each limit's level.
ChartLines highestLevelLines(const DriverLoad &load, BoxKind box) {
    const auto limits = levelLimits(box);
    ChartLine highest = chartLine("Наибольший уровень", "дБ", levelText, load.highest.level, black);
    highest.legend = "Наибольший";
    highest.bold = true;
    for (const std::size_t holding : load.highest.holding)
        highest.remarks.push_back(std::string("предел ") + limits[holding].name);
    ChartLines lines{highest};
    for (std::size_t i = 0; i < limits.size(); ++i)
        lines.push_back(chartLine(std::string("по ") + limits[i].name, "дБ", levelText,
                                  load.highest.byLimit[i], i, LineStyle::Dashed));
    return lines;
}

std::string heatText(double heating) { return "катушка +" + formatGeneral(heating) + " °C"; }

} // namespace

std::array<ChartLines, driverChartCount> driverChartLines(const DriverLoadRun &computed) {
    const DriverLoad &load = computed.load;
    const CoilCurves &cold = load.cold;
    const std::string rout = routName(computed.run);
    ChartLines level{chartLine("Rвых = 0", "дБ", levelText, load.ideal.spl, red),
                     chartLine(rout, "дБ", levelText, load.atRout.spl, blue)};
    ChartLines excursion{chartLine("Смещение (пик)", "мм", threeDigits, cold.excursion, red),
                         chartLine("Xmax", "мм", threeDigits, constant(computed.inputs.xmax), blue,
                                   LineStyle::Dashed)};
    if (load.vented) {
        excursion.push_back(chartLine("Скорость воздуха в порту (пик)", "м/с", threeDigits,
                                      cold.portSpeed, green, LineStyle::Solid, true));
        excursion.back().legend = "Скорость в порту";
        excursion.push_back(chartLine("Предел скорости в порту", "м/с", threeDigits,
                                      constant(portSpeedLimit), orange, LineStyle::Dashed, true));
        excursion.back().legend = formatGeneral(portSpeedLimit) + " м/с";
    }
    ChartLines impedance{
        chartLine("|Z|", "Ом", threeDigits, cold.impedance, red),
        chartLine("Фаза Z", "°", angleText, cold.phase, blue, LineStyle::Dashed, true)};
    ChartLines amplifier{
        chartLine("Напряжение", "В", threeDigits, cold.opAmpVoltage, red),
        chartLine("Ток", "А", threeDigits, cold.current, blue, LineStyle::Dashed, true),
        chartLine("Мощность в Rт", "Вт", threeDigits, cold.sensePower, green, LineStyle::Dashed,
                  true)};
    if (load.heated && load.hot) {
        const std::string heat = heatText(computed.inputs.heating);
        const CoilCurves &hot = *load.hot;
        addHeated(level, heat, {{1, &load.heated->spl}});
        addHeated(excursion, heat, {{0, &hot.excursion}});
        if (load.vented)
            addHeated(excursion, heat, {{2, &hot.portSpeed}});
        addHeated(impedance, heat, {{0, &hot.impedance}, {1, &hot.phase}});
        addHeated(amplifier, heat,
                  {{0, &hot.opAmpVoltage}, {1, &hot.current}, {2, &hot.sensePower}});
    }
    return {level, highestLevelLines(load, computed.inputs.box), excursion, impedance, amplifier};
}

std::string chartLinesDescription(const ChartLines &lines) {
    constexpr std::array<const char *, 6> colours{"красная",   "синяя",      "зелёная",
                                                  "оранжевая", "фиолетовая", "чёрная"};
    constexpr std::array<const char *, 3> styles{"", " пунктирная", " точками"};
    std::string text = "Кривые: ";
    for (const ChartLine &line : lines)
        text += line.name + " — " + colours[line.colour % colours.size()] +
                styles[static_cast<std::size_t>(line.style)] +
                (line.secondAxis ? ", по оси справа" : "") + (&line == &lines.back() ? "." : "; ");
    return text;
}

std::string chartReadout(const ChartLines &lines, const ChartCurve &frequency, std::size_t point) {
    std::string text = "f = " + frequencyText(frequency[point]) + " Гц";
    for (const ChartLine &line : lines) {
        text += "; " + line.name + ": " + line.format(line.values[point]) + " " + line.unit;
        if (!line.remarks.empty())
            text += ", " + line.remarks[point];
    }
    return text;
}

std::array<std::string, driverResultCount> driverResultCaptions(double targetQtc) {
    std::array<std::string, driverResultCount> captions{
        "Изменение уровня в полосе из-за Rвых",
        "F3 при Rвых усилителя",
        "Наибольшее смещение диффузора (пик)",
        "P, при которой смещение = Xmax",
        "Наибольшее напряжение на выходе ОУ (амплитуда)",
        "Наибольший ток (амплитуда)",
        "Наибольшая мощность в Rт",
        "Rвых для Qtc = " + formatGeneral(targetQtc),
        "Смещение больше Xmax ниже",
    };
    for (std::size_t i = 0; i < highestLevelFrequencies.size(); ++i)
        captions[9 + i] =
            "Наибольший уровень на " + formatGeneral(highestLevelFrequencies[i]) + " Гц";
    captions[13] = "Тепловая компрессия при Rвых усилителя";
    captions[14] = "Тепловая компрессия при Rвых = 0";
    const std::array<const char *, driverResultCount - firstVentedResult> vented{
        "Rвых для B4", "Vb для B4", "Fb для B4", "Rвых без подъёма", "F3 при Rвых без подъёма",
        "Длина порта"};
    std::ranges::copy(vented, captions.begin() + firstVentedResult);
    return captions;
}

namespace {

// The highest level at a frequency and the limit reached first: «104,21 дБ (Xmax)».
DriverResult highestAtResult(const HighestAt &at, BoxKind box) {
    const auto limits = levelLimits(box);
    const LimitedLevel &limited = at.limited;
    std::string others;
    for (std::size_t i = 0; i < limits.size(); ++i)
        others += std::string(i ? ", " : "") + "по " + limits[i].name + " " +
                  exact(limited.levels[i], "дБ");
    return {levelText(limited.level) + " дБ (" + limits[limited.holding].brief + ")",
            "На " + formatGeneral(at.f) + " Гц первым наступает предел " +
                limits[limited.holding].name + ": " + exact(limited.level, "дБ") + " (" + others +
                "), холодная катушка"};
}

DriverResult compressionResult(double decibels, const DriverLoadRun &computed, bool atRout) {
    const std::string rout = atRout ? "Rвых" : "0";
    return {levelText(decibels) + " дБ",
            exact(decibels, "дБ") + ": 20·lg((Re + " + rout + ")/(Re·(1 + 0,00393·ΔT) + " + rout +
                ")) при ΔT = " + formatGeneral(computed.inputs.heating) + " °C" +
                (atRout ? ", Rвых = " + formatGeneral(computed.run.rout) + " Ом" : "")};
}

// The vented box's figures: B4 and what it asks, the Rвых without a rise, the port.
std::array<DriverResult, driverResultCount - firstVentedResult>
ventedResults(const DriverLoadRun &computed, const VentedFigures &v) {
    const B4Alignment &b4 = v.b4;
    const std::string forQl = "B4 при QL = " + formatGeneral(computed.inputs.ql);
    const std::string box = "при Fb = " + formatGeneral(v.box.fb) +
                            " Гц, Vb = " + formatGeneral(computed.run.vb) +
                            " л, QL = " + formatGeneral(v.box.ql) + ", холодная катушка";
    const std::string diameter = "d = " + formatGeneral(computed.inputs.portDiameter) + " см";
    const std::optional<double> flat = v.routWithoutRise, f3 = v.f3WithoutRise;
    const std::optional<double> length = v.portLength;
    return {{
        {v.b4Rout ? withMinusSign(formatGeneral(*v.b4Rout)) + " Ом" : "—",
         v.b4Rout ? exact(*b4.rout, "Ом") + " для " + forQl + ": Qt = 1/(√(4 + 2√2) − 1/QL) = " +
                        fourDigits(b4.qt) + " = Qts' при Qes' = Qes·(Re + Rвых)/Re"
                  : b4.whyNot},
        {b4.vb ? displayRounded(*b4.vb, 1) + " л" : "—",
         b4.vb ? exact(*b4.vb, "л") + " = Vas/α, α = √2 − 1/(QL·Qt) = " + fourDigits(b4.alpha) +
                     " для " + forQl
               : b4.whyNot},
        {b4.fb ? displayRounded(*b4.fb, 2) + " Гц" : "—",
         b4.fb ? "Fb = Fs: для " + forQl + " h = Fb/Fs = 1, и F3 = Fs" : b4.whyNot},
        {flat ? formatGeneral(*flat) + " Ом" : "нет",
         flat ? exact(*flat, "Ом") +
                    ": наибольшее Rвых, округлённое вниз до 0,001 Ом, при котором АЧХ "
                    "нигде не поднимается над уровнем полосы больше чем на " +
                    formatGeneral(flatTolerance) + " дБ, " + box +
                    (v.withoutRise.text.empty() ? "" : ". " + v.withoutRise.text)
              : v.withoutRise.text},
        {f3 ? displayRounded(*f3, 2) + " Гц" : "нет",
         f3     ? exact(*f3, "Гц") + " при Rвых без подъёма, " + box
         : flat ? "От 1 Гц до 20 кГц уровень не поднимается до уровня полосы − 3 дБ"
                : v.withoutRise.text},
        {length ? displayRounded(*length * centimetresPerMetre, 1) + " см" : "нет",
         length ? exact(*length * centimetresPerMetre, "см") + ": c²·Sp/(4π²·Fb²·Vb) − 0,732·d, " +
                      diameter + ", Fb = " + formatGeneral(v.box.fb) + " Гц, Vb = " +
                      formatGeneral(computed.run.vb) + " л (один конец во фланце, другой свободен)"
                : "Порт " + diameter + " не настроить на Fb = " + formatGeneral(v.box.fb) +
                      " Гц в Vb = " + formatGeneral(computed.run.vb) +
                      " л: одни концевые поправки, 0,732·d, длиннее нужного столба воздуха; "
                      "возьмите порт уже"},
    }};
}

} // namespace

std::array<DriverResult, driverResultCount> driverResults(const DriverLoadRun &computed) {
    const DriverLoad &load = computed.load;
    const DriverLoadInputs &inputs = computed.inputs;
    const std::string xmax = formatGeneral(inputs.xmax) + " мм";
    const std::string power = "при P = " + formatGeneral(inputs.power) + " Вт в Re";
    const std::string drive =
        power + ", холодная катушка, Rт = " + formatGeneral(inputs.rt) + " Ом";
    const std::optional<double> f3 = load.atRout.f3;
    const std::optional<double> rout = load.routForTarget;
    const std::optional<double> below = load.xmaxBelow;
    std::array<DriverResult, driverResultCount> results{{
        {levelText(load.passbandLoss) + " дБ",
         exact(load.passbandLoss, "дБ") + ": 20·lg(Re/(Re + Rвых)) при одной и той же E"},
        {f3 ? displayRounded(*f3, 2) + " Гц" : "нет",
         f3 ? exact(*f3, "Гц") + ", холодная катушка"
            : "От 1 Гц до 20 кГц уровень не поднимается до уровня полосы − 3 дБ"},
        {threeDigits(load.maxExcursion) + " мм",
         exact(load.maxExcursion, "мм") + (load.beyondXmax ? ", больше Xmax = " : ", Xmax = ") +
             xmax + ", " + drive,
         load.beyondXmax},
        {threeDigits(load.xmaxPower) + " Вт",
         exact(load.xmaxPower, "Вт") + " в Re: при ней наибольшее смещение на графике, " +
             exact(load.maxExcursion, "мм") + " " + power + ", доходит до Xmax = " + xmax +
             " (смещение растёт как √P)"},
        {threeDigits(load.peakOpAmpVoltage) + " В",
         exact(load.peakOpAmpVoltage, "В") + " на динамике и Rт, " + drive},
        {threeDigits(load.peakCurrent) + " А", exact(load.peakCurrent, "А") + ", " + drive},
        {threeDigits(load.maxSensePower) + " Вт", exact(load.maxSensePower, "Вт") + ", " + drive},
        {rout ? withMinusSign(formatGeneral(*rout)) + " Ом" : "—", load.targetAdvice.text},
        {below ? (*below < xmaxSearchTop ? displayRounded(*below, 2) + " Гц" : "≥ 20000 Гц")
               : "нет",
         below
             ? "Смещение больше Xmax = " + xmax + " ниже " +
                   (*below < xmaxSearchTop ? exact(*below, "Гц") : "20000 Гц и выше") + ", " + drive
             : "Смещение нигде на графике не больше Xmax = " + xmax + ", " + drive,
         below.has_value()},
    }};
    for (std::size_t i = 0; i < load.highestAt.size(); ++i)
        results[9 + i] = highestAtResult(load.highestAt[i], inputs.box);
    results[13] = compressionResult(load.compressionAtRout, computed, true);
    results[14] = compressionResult(load.compressionAtZero, computed, false);
    if (load.vented) {
        results[7] = {"—", "Целевая Qtc — для закрытого ящика; для фазоинвертора — Rвых для B4 и "
                           "Rвых без подъёма"};
        const auto vented = ventedResults(computed, *load.vented);
        std::ranges::copy(vented, results.begin() + firstVentedResult);
    } else {
        for (std::size_t i = firstVentedResult; i < driverResultCount; ++i)
            results[i] = {"—", "Только для фазоинвертора"};
    }
    return results;
}

std::string driverAdvice(const DriverLoadRun &computed) {
    if (const std::optional<VentedFigures> &vented = computed.load.vented) {
        std::string said = vented->b4.whyNot;
        if (!said.empty() && !said.ends_with('.'))
            said += '.';
        if (!vented->withoutRise.rout)
            said += (said.empty() ? "" : " ") + vented->withoutRise.text;
        return said;
    }
    const std::optional<double> rout = computed.load.routForTarget;
    return rout && *rout > 0 ? std::string() : computed.load.targetAdvice.text;
}

std::string senseResistorRefusal(double rt, double rout) {
    if (rt < rout)
        return {};
    return "Rт = " + formatGeneral(rt) + " Ом не меньше Rвых = " + formatGeneral(rout) +
           " Ом страницы «Пример применения»: ни одна цепь ООС не даёт Rвых ≤ Rт, так как "
           "Rвых = Rт·(R1 + R2)/(R2 + Rт). Rт приходит из Варианта 3 вместе с его Rвых";
}
