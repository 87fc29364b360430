#include "driver_load/driver_load.h"

#include "core/arithmetic_fault.h"
#include "core/decimal_text.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double millimetresPerMetre = 1000;
constexpr double milliOhmsPerOhm = 1000;

using Box = std::optional<VentedBox>;

LevelCurve levelCurve(const SpeakerRun &run, const DriverModel &model, const Coil &coil,
                      const Box &box, double source, const ChartCurve &frequency) {
    Driver driver = run.driver;
    driver.re = coil.re;
    driver.qes = coil.qes;
    const auto level = [&](double f) {
        return soundLevel(model, coil, boxPoint(model, coil, box, source, f).radiated, f);
    };
    LevelCurve curve{};
    std::transform(frequency.begin(), frequency.end(), curve.spl.begin(), level);
    // Rвых adds to Re in Qes alone.
    const double qes = quotient(coil.qes * (coil.re + source), coil.re);
    curve.qtc = box ? totalQ(qes, driver.qms) : closedBox(driver, run.vb, source).qtcNew;
    curve.passband = passbandLevel(model, coil, source);
    curve.f3 = boxF3(model, coil, box, source);
    return curve;
}

// Everything at the amplifier's Rвых that the coil changes, over the chart.
CoilCurves coilCurves(const DriverModel &model, const Coil &coil, const Box &box, double source,
                      double rt, const ChartCurve &frequency) {
    CoilCurves curves{};
    for (std::size_t k = 0; k < frequency.size(); ++k) {
        const double f = frequency[k];
        const BoxPoint point = boxPoint(model, coil, box, source, f);
        const DriveAmplitudes amplitudes = driveAmplitudes(model, point, f, rt);
        const double current = std::abs(point.cone.current);
        curves.impedance[k] = checked(std::abs(point.cone.z));
        curves.phase[k] = impedancePhase(point.cone);
        curves.excursion[k] = amplitudes.excursion;
        curves.opAmpVoltage[k] = amplitudes.opAmpVoltage;
        curves.current[k] = amplitudes.current;
        curves.sensePower[k] = checked(current * current * rt);
        curves.portSpeed[k] = amplitudes.portSpeed;
    }
    return curves;
}

// The level each limit allows at f, from the level there at the window's power.
LimitedLevel limitedAt(const DriverModel &model, const DriverLoadInputs &inputs, const Box &box,
                       double source, std::span<const double> allowed, double f) {
    const Coil cold = coldCoil(model);
    const BoxPoint point = boxPoint(model, cold, box, source, f);
    return limitedLevel(soundLevel(model, cold, point.radiated, f),
                        driveAmplitudes(model, point, f, inputs.rt), allowed);
}

HighestLevel highestLevel(const DriverLoad &load, std::span<const double> allowed) {
    HighestLevel highest{};
    highest.byLimit.resize(allowed.size());
    for (std::size_t k = 0; k < load.frequency.size(); ++k) {
        const CoilCurves &c = load.cold;
        const LimitedLevel limited = limitedLevel(
            load.atRout.spl[k], {c.excursion[k], c.current[k], c.opAmpVoltage[k], c.portSpeed[k]},
            allowed);
        highest.level[k] = limited.level;
        highest.holding[k] = limited.holding;
        for (std::size_t i = 0; i < allowed.size(); ++i)
            highest.byLimit[i][k] = limited.levels[i];
    }
    return highest;
}

// The B4 alignment and the Rвых without a rise, each as handed to Variant 2: the first rounded
// as the page rounds its Rвых, the second down, so that it does not rise either.
VentedFigures ventedFigures(const DriverModel &model, const DriverLoadInputs &inputs,
                            const VentedBox &box, const DriverLoad &load) {
    const Coil cold = coldCoil(model);
    VentedFigures v{box,
                    b4Alignment(model.driver, inputs.ql),
                    {},
                    {},
                    {},
                    {},
                    portLength(box),
                    std::ranges::max(load.cold.portSpeed)};
    if (v.b4.rout)
        v.b4Rout = roundHalfEven(*v.b4.rout, 3);
    v.withoutRise = routWithoutRise(model, cold, box);
    if (const std::optional<double> flat = v.withoutRise.rout) {
        v.routWithoutRise = std::floor(*flat * milliOhmsPerOhm) / milliOhmsPerOhm;
        v.f3WithoutRise = ventedF3(model, cold, box, *v.routWithoutRise);
    }
    return v;
}

} // namespace

DriverLoad driverLoad(const SpeakerRun &run, const DriverLoadInputs &inputs) {
    const DriverModel model = driverModel(run, inputs);
    const Coil cold = coldCoil(model), hot = heatedCoil(model, inputs.heating);
    const Box box = windowBox(run, inputs);
    DriverLoad load{};
    load.frequency = responseFrequencies();
    load.ideal = levelCurve(run, model, cold, box, 0, load.frequency);
    load.atRout = levelCurve(run, model, cold, box, run.rout, load.frequency);
    load.cold = coilCurves(model, cold, box, run.rout, inputs.rt, load.frequency);
    if (inputs.heating > 0) {
        load.heated = levelCurve(run, model, hot, box, run.rout, load.frequency);
        load.hot = coilCurves(model, hot, box, run.rout, inputs.rt, load.frequency);
    }

    const std::vector<double> allowed = allowedValues(inputs, run.driver);
    load.highest = highestLevel(load, allowed);
    for (std::size_t i = 0; i < load.highestAt.size(); ++i) {
        const double f = highestLevelFrequencies[i];
        load.highestAt[i] = {f, limitedAt(model, inputs, box, run.rout, allowed, f)};
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
        return excursion(model, boxPoint(model, cold, box, run.rout, f).cone, f) *
               millimetresPerMetre;
    });
    // The heat lowers the force Bl·E/(Re + R) through Re alone.
    const auto compression = [&](double source) {
        return checked(20 * std::log10(quotient(cold.re + source, hot.re + source)));
    };
    load.compressionAtRout = compression(run.rout);
    load.compressionAtZero = compression(0);

    load.routForTarget = outputResistanceFor(run, inputs.targetQtc);
    load.targetAdvice = qtcAdvice(run, inputs.targetQtc);
    if (box)
        load.vented = ventedFigures(model, inputs, *box, load);
    return load;
}
