#include "driver_load/driver_load.h"

#include "core/arithmetic_fault.h"
#include "driver_load/driver_f3.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double millimetresPerMetre = 1000;
const double peakPerRms = std::sqrt(2.0);

LevelCurve levelCurve(const SpeakerRun &run, const DriverModel &model, const Coil &coil,
                      double source, const ChartCurve &frequency) {
    Driver driver = run.driver;
    driver.re = coil.re;
    driver.qes = coil.qes;
    const auto level = [&](double f) {
        return soundLevel(model, coil, driverPoint(model, coil, source, f), f);
    };
    LevelCurve curve{};
    std::transform(frequency.begin(), frequency.end(), curve.spl.begin(), level);
    curve.qtc = closedBox(driver, run.vb, source).qtcNew;
    curve.passband = passbandLevel(model, coil, source);
    curve.f3 = driverF3(model, coil, source);
    return curve;
}

} // namespace

DriverLoad driverLoad(const SpeakerRun &run, const DriverLoadInputs &inputs) {
    const DriverModel model = driverModel(run, inputs);
    const Coil cold = coldCoil(model);
    DriverLoad load{};
    load.frequency = responseFrequencies();
    load.ideal = levelCurve(run, model, cold, 0, load.frequency);
    load.atRout = levelCurve(run, model, cold, run.rout, load.frequency);
    if (inputs.heating > 0)
        load.heated =
            levelCurve(run, model, heatedCoil(model, inputs.heating), run.rout, load.frequency);

    for (std::size_t k = 0; k < load.frequency.size(); ++k) {
        const double f = load.frequency[k];
        const DriverPoint point = driverPoint(model, cold, run.rout, f);
        const double current = std::abs(point.current);
        load.impedance[k] = checked(std::abs(point.z));
        load.phase[k] = impedancePhase(point);
        load.excursion[k] = excursion(model, point, f) * millimetresPerMetre;
        load.opAmpVoltage[k] = checked(peakPerRms * current * std::abs(point.z + inputs.rt));
        load.current[k] = checked(peakPerRms * current);
        load.sensePower[k] = checked(current * current * inputs.rt);
    }

    load.e = model.e;
    load.passbandLoss = load.atRout.passband - load.ideal.passband;
    const auto widest = std::ranges::max_element(load.excursion);
    load.maxExcursion = *widest;
    load.maxExcursionFrequency = load.frequency[std::size_t(widest - load.excursion.begin())];
    load.beyondXmax = load.maxExcursion > inputs.xmax;
    load.peakOpAmpVoltage = std::ranges::max(load.opAmpVoltage);
    load.peakCurrent = std::ranges::max(load.current);
    load.maxSensePower = std::ranges::max(load.sensePower);

    load.routForTarget = outputResistanceFor(run, inputs.targetQtc);
    load.targetAdvice = qtcAdvice(run, inputs.targetQtc);
    return load;
}
