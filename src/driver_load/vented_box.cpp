#include "driver_load/vented_box.h"

#include "core/arithmetic_fault.h"

#include <cmath>
#include <numbers>

namespace {

using Complex = std::complex<double>;

constexpr double pi = std::numbers::pi;
constexpr double litresPerCubicMetre = 1000;
// The end corrections of a round port, in diameters: 0,85·r at the flanged end in the baffle,
// 0,613·r at the free end inside the box.
constexpr double endCorrections = 0.732;

double alpha(const DriverModel &m, const VentedBox &box) {
    return quotient(m.driver.vas / litresPerCubicMetre, box.vb);
}

double portArea(const VentedBox &box) { return pi * box.portDiameter * box.portDiameter / 4; }

} // namespace

VentedPolynomials ventedPolynomials(const DriverModel &m, const VentedBox &box) {
    const double t = quotient(m.driver.fs, box.fb), a = alpha(m, box);
    const Polynomial b{1, quotient(t, box.ql), t * t};
    const Polynomial resonance{1, quotient(1, m.driver.qms), 1};
    return {b, sum(product(b, resonance), {0, 0, a * t * t}), t};
}

VentedPoint ventedPoint(const DriverModel &m, const Coil &coil, const VentedBox &box, double source,
                        double f) {
    const VentedPolynomials p = ventedPolynomials(m, box);
    const Complex s(0, quotient(f, m.driver.fs)), b = evaluate(p.box, s);
    // Res·(s/Qms)·B(s)/D(s): the voice-coil impedance of Small's vented box less Re and Le.
    const Complex motional = m.res * (s / m.driver.qms) * b / evaluate(p.both, s);
    const Complex z = coil.re + Complex(0, 2 * pi * f * m.le) + motional;
    const Complex current = m.e / (source + z), vm = current * motional;
    const Complex volumeVelocity = m.sd * vm / m.bl;
    return {{z, current, vm}, p.t * p.t * s * s / b, volumeVelocity / b};
}

double ventedLevel(const DriverModel &m, const Coil &coil, const VentedPoint &point, double f) {
    const DriverPoint &cone = point.driver;
    return soundLevel(m, coil, {cone.z, cone.current, cone.motional * point.radiating}, f);
}

double portSpeed(const VentedBox &box, const VentedPoint &point) {
    return quotient(std::sqrt(2.0) * std::abs(point.port), portArea(box));
}

std::optional<double> portLength(const VentedBox &box) {
    // The port's air mass ρ·L/Sp resonates with the box's compliance Vb/(ρ·c²) at Fb.
    const double omegaB = 2 * pi * box.fb;
    const double column =
        quotient(speedOfSound * speedOfSound * portArea(box), omegaB * omegaB * box.vb);
    const double length = column - endCorrections * box.portDiameter;
    return length > 0 ? std::optional(length) : std::nullopt;
}

DriverCircuit ventedCircuit(const DriverModel &m, const VentedBox &box) {
    const Driver &d = m.driver;
    const double ts = quotient(1, 2 * pi * d.fs), tb = quotient(1, 2 * pi * box.fb);
    const double lces = quotient(m.res * ts, d.qms), lceb = quotient(lces, alpha(m, box));
    return {d.re,
            m.le,
            m.res,
            lces,
            quotient(d.qms * ts, m.res),
            DriverCircuit::Vent{lceb, quotient(tb * tb, lceb), quotient(lceb, tb * box.ql)}};
}
