#include "driver_load/driver_load_view.h"

#include "core/decimal_text.h"

#include <cmath>

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

std::string exact(double value, const char *unit) {
    return withMinusSign(formatSignificant(value, 4)) + " " + unit;
}

std::string routName(const SpeakerRun &run) { return "Rвых = " + formatGeneral(run.rout) + " Ом"; }

ChartCurve constant(double value) {
    ChartCurve curve;
    curve.fill(value);
    return curve;
}

} // namespace

std::array<ChartLines, driverChartCount> driverChartLines(const DriverLoadRun &computed) {
    const DriverLoad &load = computed.load;
    ChartLines level{{"Rвых = 0", "дБ", levelText, load.ideal.spl},
                     {routName(computed.run), "дБ", levelText, load.atRout.spl}};
    if (load.heated)
        level.push_back(
            {routName(computed.run) + ", +" + formatGeneral(computed.inputs.heating) + " °C", "дБ",
             levelText, load.heated->spl, false, true});
    return {{
        level,
        {{"|Z|", "Ом", threeDigits, load.impedance},
         {"Фаза Z", "°", angleText, load.phase, true, true}},
        {{"Смещение (пик)", "мм", threeDigits, load.excursion},
         {"Xmax", "мм", threeDigits, constant(computed.inputs.xmax), false, true}},
        {{"Напряжение", "В", threeDigits, load.opAmpVoltage},
         {"Ток", "А", threeDigits, load.current, true, true},
         {"Мощность в Rт", "Вт", threeDigits, load.sensePower, true, true}},
    }};
}

std::string chartReadout(const ChartLines &lines, const ChartCurve &frequency, std::size_t point) {
    std::string text = "f = " + frequencyText(frequency[point]) + " Гц";
    for (const ChartLine &line : lines)
        text += "; " + line.name + ": " + line.format(line.values[point]) + " " + line.unit;
    return text;
}

std::array<std::string, driverResultCount> driverResultCaptions(double targetQtc) {
    return {"Изменение уровня в полосе из-за Rвых",
            "F3 при Rвых усилителя",
            "Наибольшее смещение диффузора (пик)",
            "на частоте",
            "Наибольшее напряжение на выходе ОУ (амплитуда)",
            "Наибольший ток (амплитуда)",
            "Наибольшая мощность в Rт",
            "Rвых для Qtc = " + formatGeneral(targetQtc)};
}

std::array<DriverResult, driverResultCount> driverResults(const DriverLoadRun &computed) {
    const DriverLoad &load = computed.load;
    const DriverLoadInputs &inputs = computed.inputs;
    const std::string xmax = formatGeneral(inputs.xmax) + " мм";
    const std::string drive = "при P = " + formatGeneral(inputs.power) +
                              " Вт в Re, холодная катушка, Rт = " + formatGeneral(inputs.rt) +
                              " Ом";
    const std::optional<double> f3 = load.atRout.f3;
    const std::optional<double> rout = load.routForTarget;
    return {{
        {levelText(load.passbandLoss) + " дБ",
         exact(load.passbandLoss, "дБ") + ": 20·lg(Re/(Re + Rвых)) при одной и той же E"},
        {f3 ? displayRounded(*f3, 2) + " Гц" : "нет",
         f3 ? exact(*f3, "Гц") + ", холодная катушка"
            : "От 1 Гц до 20 кГц уровень не поднимается до уровня полосы − 3 дБ"},
        {threeDigits(load.maxExcursion) + " мм",
         exact(load.maxExcursion, "мм") + (load.beyondXmax ? ", больше Xmax = " : ", Xmax = ") +
             xmax + ", " + drive,
         load.beyondXmax},
        {frequencyText(load.maxExcursionFrequency) + " Гц",
         "Частота наибольшего смещения на сетке графика: " +
             exact(load.maxExcursionFrequency, "Гц")},
        {threeDigits(load.peakOpAmpVoltage) + " В",
         exact(load.peakOpAmpVoltage, "В") + " на динамике и Rт, " + drive},
        {threeDigits(load.peakCurrent) + " А", exact(load.peakCurrent, "А") + ", " + drive},
        {threeDigits(load.maxSensePower) + " Вт", exact(load.maxSensePower, "Вт") + ", " + drive},
        {rout ? withMinusSign(formatGeneral(*rout)) + " Ом" : "—", load.targetAdvice.text},
    }};
}

std::string driverAdvice(const DriverLoadRun &computed) {
    const std::optional<double> rout = computed.load.routForTarget;
    return rout && *rout > 0 ? std::string() : computed.load.targetAdvice.text;
}
