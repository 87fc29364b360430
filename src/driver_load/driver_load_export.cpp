#include "driver_load/driver_load_export.h"

#include "core/decimal_text.h"
#include "core/plain_decimal.h"
#include "speaker/response_export.h"

#include <array>
#include <span>
#include <tuple>
#include <vector>

namespace {

constexpr char ventedSuffix[] = "_ФИ";

std::string suffix(BoxKind box) { return box == BoxKind::Vented ? ventedSuffix : ""; }

std::string loudspeaker(BoxKind box) {
    return box == BoxKind::Vented ? "Vented-box loudspeaker" : "Closed-box loudspeaker";
}

// What both files say of the driver in its box.
std::string modelComments(const SpeakerRun &run, const DriverModel &model,
                          const DriverLoadInputs &inputs) {
    const std::string coil =
        frdComment("Voice-coil inductance Le = " + plainDecimal(inputs.le) + " mH, coil cold");
    if (inputs.box == BoxKind::Vented) {
        const DriverCircuit c = windowCircuit(run, inputs);
        return frdDriverComment(run.driver) +
               frdComment("Box: Vb = " + plainDecimal(run.vb) + " l, Fb = " +
                          plainDecimal(inputs.fb) + " Hz, QL = " + plainDecimal(inputs.ql) +
                          ", port diameter " + plainDecimal(inputs.portDiameter) + " cm") +
               coil +
               frdComment(
                   "Model: Z = Re + j*2*pi*f*Le + Res || Lces || Cmes || (Lceb + Cep + Rel)") +
               frdComment("Res = " + plainDecimal(c.res) + " Ohm, Lces = " + plainDecimal(c.lces) +
                          " H, Cmes = " + plainDecimal(c.cmes) + " F, Lceb = " +
                          plainDecimal(c.vent->lceb) + " H, Cep = " + plainDecimal(c.vent->cep) +
                          " F, Rel = " + plainDecimal(c.vent->rel) + " Ohm");
    }
    return frdDriverComment(run.driver) +
           frdComment("Box: Vb = " + plainDecimal(run.vb) + " l, fc = " + plainDecimal(model.fc) +
                      " Hz, Qmc = " + plainDecimal(model.qmc) +
                      ", Res = " + plainDecimal(model.res) + " Ohm") +
           coil + frdComment("Model: Z = Re + j*2*pi*f*Le + Res/(1 + j*Qmc*(f/fc - fc/f))");
}

} // namespace

std::string impedanceFileName(BoxKind box) { return "Импеданс_динамика" + suffix(box) + ".zma"; }

std::string zmaText(const SpeakerRun &run, const DriverLoadInputs &inputs) {
    const DriverModel model = driverModel(run, inputs);
    const Coil coil = coldCoil(model);
    const std::optional<VentedBox> box = windowBox(run, inputs);
    std::string text = frdComment(loudspeaker(inputs.box) + ", impedance of the driver (ooscalc)") +
                       modelComments(run, model, inputs) + frdComment("Hz Ohm Deg");
    for (const double f : frdFrequencies()) {
        const DriverPoint point = boxPoint(model, coil, box, 0, f).cone;
        text += frdLine(f, std::abs(point.z), impedancePhase(point));
    }
    return text;
}

std::string levelFrdText(const SpeakerRun &run, const DriverLoadInputs &inputs) {
    const DriverModel model = driverModel(run, inputs);
    const Coil coil = coldCoil(model);
    const std::optional<VentedBox> box = windowBox(run, inputs);
    std::string text =
        frdComment(loudspeaker(inputs.box) +
                   ", sound pressure level at 1 m in half space (ooscalc)") +
        modelComments(run, model, inputs) +
        frdComment("Drive: P = " + plainDecimal(inputs.power) +
                   " W into Re, E = " + plainDecimal(model.e) +
                   " V RMS behind Rout = " + plainDecimal(run.rout) + " Ohm") +
        frdComment("Frequency in Hz, level in dB SPL, phase of the pressure in degrees");
    for (const double f : frdFrequencies()) {
        const DriverPoint point = boxPoint(model, coil, box, run.rout, f).radiated;
        text += frdLine(f, soundLevel(model, coil, point, f), pressurePhase(point));
    }
    return text;
}

std::string levelFrdFileName(const SpeakerRun &run, BoxKind box) {
    if (run.rout == 0)
        return "Уровень_Rвых_0" + suffix(box) + ".frd";
    return "Уровень_Rвых_" + formatGeneral(run.rout) + "_Ом" + suffix(box) + ".frd";
}

std::string driverLoadTable(const SpeakerRun &run, const DriverLoadInputs &inputs,
                            const DriverLoad &load) {
    struct Column {
        std::string name;
        const ChartCurve *values;
    };
    const std::string atRout = "Уровень при Rвых = " + formatGeneral(run.rout) + " Ом";
    const std::string heated = ", катушка нагрета на " + formatGeneral(inputs.heating) + " °C";
    std::vector<Column> columns{{"f, Гц", &load.frequency},
                                {"Уровень при Rвых = 0, дБ", &load.ideal.spl},
                                {atRout + ", дБ", &load.atRout.spl}};
    if (load.heated)
        columns.push_back({atRout + heated + ", дБ", &load.heated->spl});
    // What the coil changes, cold and then heated: the name, the unit, the curve.
    // The closed box's are the first six.
    using C = CoilCurves;
    const std::array<std::tuple<const char *, const char *, ChartCurve C::*>, 7> coilColumns{{
        {"|Z|", "Ом", &C::impedance},
        {"Фаза Z", "°", &C::phase},
        {"Смещение диффузора (пик)", "мм", &C::excursion},
        {"Напряжение на выходе ОУ (амплитуда)", "В", &C::opAmpVoltage},
        {"Ток (амплитуда)", "А", &C::current},
        {"Мощность в Rт", "Вт", &C::sensePower},
        {"Скорость воздуха в порту (пик)", "м/с", &C::portSpeed},
    }};
    const auto coil = std::span(coilColumns).first(load.vented ? 7 : 6);
    for (const auto &[name, unit, curve] : coil)
        columns.push_back({std::string(name) + ", " + unit, &(load.cold.*curve)});
    if (load.hot)
        for (const auto &[name, unit, curve] : coil)
            columns.push_back({name + heated + ", " + unit, &(*load.hot.*curve)});
    columns.push_back({"Наибольший уровень, дБ", &load.highest.level});
    const auto limits = levelLimits(inputs.box);
    for (std::size_t i = 0; i < limits.size(); ++i)
        columns.push_back({std::string("Наибольший уровень по ") + limits[i].name + ", дБ",
                           &load.highest.byLimit[i]});

    std::string text;
    for (const Column &column : columns)
        text += column.name + (&column == &columns.back() ? '\n' : '\t');
    for (std::size_t k = 0; k < load.frequency.size(); ++k)
        for (const Column &column : columns)
            text += formatGeneral((*column.values)[k]) + (&column == &columns.back() ? '\n' : '\t');
    return text;
}
