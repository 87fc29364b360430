#include "driver_load/driver_load.h"

#include "core/arithmetic_fault.h"
#include "driver_load/driver_f3.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double millimetresPerMetre = 1000;

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

// Everything at the amplifier's Rвых that the coil changes, over the chart.
CoilCurves coilCurves(const DriverModel &model, const Coil &coil, double source, double rt,
                      const ChartCurve &frequency) {
    CoilCurves curves{};
    for (std::size_t k = 0; k < frequency.size(); ++k) {
        const double f = frequency[k];
        const DriverPoint point = driverPoint(model, coil, source, f);
        const DriveAmplitudes amplitudes = driveAmplitudes(model, point, f, rt);
        const double current = std::abs(point.current);
        curves.impedance[k] = checked(std::abs(point.z));
        curves.phase[k] = impedancePhase(point);
        curves.excursion[k] = amplitudes.excursion;
        curves.opAmpVoltage[k] = amplitudes.opAmpVoltage;
        curves.current[k] = amplitudes.current;
        curves.sensePower[k] = checked(current * current * rt);
    }
    return curves;
}

// The level each limit allows at f, from the level there at the window's power.
LimitedLevel limitedAt(const DriverModel &model, const DriverLoadInputs &inputs, double source,
                       std::span<const double> allowed, double f) {
    const Coil cold = coldCoil(model);
    const DriverPoint point = driverPoint(model, cold, source, f);
    return limitedLevel(soundLevel(model, cold, point, f),
                        driveAmplitudes(model, point, f, inputs.rt), allowed);
}

HighestLevel highestLevel(const DriverLoad &load, std::span<const double> allowed) {
    HighestLevel highest{};
    highest.byLimit.resize(allowed.size());
    for (std::size_t k = 0; k < load.frequency.size(); ++k) {
        const CoilCurves &c = load.cold;
        const LimitedLevel limited = limitedLevel(
            load.atRout.spl[k], {c.excursion[k], c.current[k], c.opAmpVoltage[k]}, allowed);
        highest.level[k] = limited.level;
        highest.holding[k] = limited.holding;
        for (std::size_t i = 0; i < allowed.size(); ++i)
            highest.byLimit[i][k] = limited.levels[i];
    }
    return highest;
}

} // namespace

DriverLoad driverLoad(const SpeakerRun &run, const DriverLoadInputs &inputs) {
    const DriverModel model = driverModel(run, inputs);
    const Coil cold = coldCoil(model), hot = heatedCoil(model, inputs.heating);
    DriverLoad load{};
    load.frequency = responseFrequencies();
    load.ideal = levelCurve(run, model, cold, 0, load.frequency);
    load.atRout = levelCurve(run, model, cold, run.rout, load.frequency);
    load.cold = coilCurves(model, cold, run.rout, inputs.rt, load.frequency);
    if (inputs.heating > 0) {
        load.heated = levelCurve(run, model, hot, run.rout, load.frequency);
        load.hot = coilCurves(model, hot, run.rout, inputs.rt, load.frequency);
    }

    const std::vector<double> allowed = allowedValues(inputs, run.driver);
    load.highest = highestLevel(load, allowed);
    for (std::size_t i = 0; i < load.highestAt.size(); ++i) {
        const double f = highestLevelFrequencies[i];
        load.highestAt[i] = {f, limitedAt(model, inputs, run.rout, allowed, f)};
    }

    load.e = model.e;
    load.passbandLoss = load.atRout.passband - load.ideal.passband;
    load.maxExcursion = std::ranges::max(load.cold.excursion);
    load.beyondXmax = load.maxExcursion > inputs.xmax;
    load.peakOpAmpVoltage = std::ranges::max(load.cold.opAmpVoltage);
    load.peakCurrent = std::ranges::max(load.cold.current);
    load.maxSensePower = std::ranges::max(load.cold.sensePower);
    // The excursion is linear in E, E in √P.
    const double reach = quotient(inputs.xmax, load.maxExcursion);
    load.xmaxPower = checked(inputs.power * reach * reach);
    load.xmaxBelow = xmaxCrossing(load.frequency, load.cold.excursion, inputs.xmax, [&](double f) {
        return excursion(model, driverPoint(model, cold, run.rout, f), f) * millimetresPerMetre;
    });
    // The heat lowers the force Bl·E/(Re + R) through Re alone.
    const auto compression = [&](double source) {
        return checked(20 * std::log10(quotient(cold.re + source, hot.re + source)));
    };
    load.compressionAtRout = compression(run.rout);
    load.compressionAtZero = compression(0);

    load.routForTarget = outputResistanceFor(run, inputs.targetQtc);
    load.targetAdvice = qtcAdvice(run, inputs.targetQtc);
    return load;
}
