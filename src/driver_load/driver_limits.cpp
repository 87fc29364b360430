#include "driver_load/driver_limits.h"

#include "core/arithmetic_fault.h"

#include <array>
#include <cmath>
#include <tuple>

namespace {

constexpr double millimetresPerMetre = 1000;
const double peakPerRms = std::sqrt(2.0);

using A = DriveAmplitudes;
using I = DriverLoadInputs;

// Pe is an average power: a sine of peak current Î dissipates Î²·Re/2 in the coil. The closed
// box's limits are the first four.
const std::array<LevelLimit, 5> limits{{
    {"Xmax", "Xmax", &A::excursion, [](const I &in, const Driver &) { return in.xmax; }},
    {"Pe", "Pe", &A::current,
     [](const I &in, const Driver &d) { return std::sqrt(quotient(2 * in.pe, d.re)); }},
    {"Uмакс", "Uмакс", &A::opAmpVoltage,
     [](const I &in, const Driver &) { return in.opAmpVoltage; }},
    {"Iмакс", "Iмакс", &A::current, [](const I &in, const Driver &) { return in.opAmpCurrent; }},
    {"скорости в порту", "порт", &A::portSpeed,
     [](const I &, const Driver &) { return portSpeedLimit; }},
}};

} // namespace

DriveAmplitudes driveAmplitudes(const DriverModel &model, const BoxPoint &point, double f,
                                double rt) {
    const DriverPoint &cone = point.cone;
    const double current = peakPerRms * std::abs(cone.current);
    return {excursion(model, cone, f) * millimetresPerMetre, checked(current),
            checked(current * std::abs(cone.z + rt)), point.portSpeed};
}

std::span<const LevelLimit> levelLimits(BoxKind box) {
    return std::span(limits).first(box == BoxKind::Vented ? 5 : 4);
}

std::vector<double> allowedValues(const DriverLoadInputs &inputs, const Driver &driver) {
    std::vector<double> allowed;
    for (const LevelLimit &limit : levelLimits(inputs.box))
        allowed.push_back(limit.allowed(inputs, driver));
    return allowed;
}

LimitedLevel limitedLevel(double level, const DriveAmplitudes &present,
                          std::span<const double> allowed) {
    LimitedLevel limited{{}, 0, 0};
    for (std::size_t i = 0; i < allowed.size(); ++i) {
        const double rise = quotient(allowed[i], present.*limits[i].watched);
        limited.levels.push_back(checked(level + 20 * std::log10(rise)));
        if (i == 0 || limited.levels[i] < limited.level)
            std::tie(limited.level, limited.holding) = std::pair(limited.levels[i], i);
    }
    return limited;
}

std::optional<double> xmaxCrossing(std::span<const double> frequency,
                                   std::span<const double> excursion, double xmax,
                                   const std::function<double(double f)> &excursionAt) {
    // The last point of the curve beyond Xmax; above it the crossing.
    std::size_t beyond = excursion.size();
    while (beyond > 0 && !(excursion[beyond - 1] > xmax))
        --beyond;
    if (beyond == 0)
        return std::nullopt;
    double below = frequency[beyond - 1];
    double above = beyond < frequency.size() ? frequency[beyond] : xmaxSearchTop;
    if (above == xmaxSearchTop && excursionAt(above) > xmax)
        return xmaxSearchTop;
    while (above - below > 1e-9 * below) {
        const double middle = (below + above) / 2;
        (excursionAt(middle) > xmax ? below : above) = middle;
    }
    return (below + above) / 2;
}
