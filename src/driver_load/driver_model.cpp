#include "driver_load/driver_model.h"

#include "core/arithmetic_fault.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double pi = std::numbers::pi;
constexpr double airDensity = 1.18;           // kg/m³
constexpr double referenceLevel = 112.1;      // dB at 1 m in half space of 1 W radiated
constexpr double copperCoefficient = 0.00393; // per °C
constexpr double litresPerCubicMetre = 1000;
constexpr double squareCentimetresPerSquareMetre = 1e4;
constexpr double milliHenriesPerHenry = 1000;

// The share of the electrical power into Re that the cone radiates in its pass band. A hot coil
// lowers it through Qes.
double referenceEfficiency(const DriverModel &m, const Coil &coil) {
    const double fs = m.driver.fs, vas = m.driver.vas / litresPerCubicMetre;
    const double c3 = speedOfSound * speedOfSound * speedOfSound;
    return quotient(4 * pi * pi * fs * fs * fs * vas, c3 * coil.qes);
}

// The box raises the mechanical Q with the resonance, by the page's s = √(1 + Vas/Vb).
double mechanicalQ(const SpeakerRun &run) { return checked(run.box.s * run.driver.qms); }

} // namespace

DriverModel driverModel(const SpeakerRun &run, const DriverLoadInputs &inputs) {
    const Driver &d = run.driver;
    const DriverCircuit circuit = driverCircuit(run, inputs.le);
    DriverModel m{};
    m.driver = d;
    m.le = circuit.le;
    m.fc = run.box.fc;
    m.qmc = mechanicalQ(run);
    m.res = circuit.res;
    // The suspension's compliance is that of the air volume Vas behind the cone's area.
    m.sd = inputs.sd / squareCentimetresPerSquareMetre;
    const double vas = d.vas / litresPerCubicMetre;
    m.cms = quotient(vas, airDensity * speedOfSound * speedOfSound * m.sd * m.sd);
    const double omegaS = 2 * pi * d.fs;
    const double mms = quotient(1, omegaS * omegaS * m.cms);
    // From Qes = ωs·Mms·Re/Bl².
    m.bl = checked(std::sqrt(quotient(omegaS * mms * d.re, d.qes)));
    m.e = checked(std::sqrt(inputs.power * d.re));
    return m;
}

Coil coldCoil(const DriverModel &model) { return {model.driver.re, model.driver.qes}; }

Coil heatedCoil(const DriverModel &model, double heating) {
    const double rise = 1 + copperCoefficient * heating;
    return {model.driver.re * rise, model.driver.qes * rise};
}

DriverPoint driverPoint(const DriverModel &m, const Coil &coil, double source, double f) {
    using Complex = std::complex<double>;
    const Complex motional = m.res / Complex(1, m.qmc * (f / m.fc - m.fc / f));
    const Complex z = coil.re + Complex(0, 2 * pi * f * m.le) + motional;
    const Complex current = m.e / (source + z);
    return {z, current, current * motional};
}

double soundLevel(const DriverModel &m, const Coil &coil, const DriverPoint &point, double f) {
    return checked(levelOffset(m, coil) + 20 * std::log10(f * std::abs(point.motional)));
}

double levelOffset(const DriverModel &m, const Coil &coil) {
    // The motional voltage is Bl·u, so f·|Vm| follows the cone's acceleration, which sets the
    // pressure. Qes/(Fs·√Re) turns it into the pass-band terms in which 1 W into Re gives
    // 112,1 + 10·lg η0; Bl, Mms and Sd cancel, and the hot coil's Re and Qes cancel too.
    return checked(referenceLevel + 10 * std::log10(referenceEfficiency(m, coil)) +
                   20 * std::log10(quotient(coil.qes, m.driver.fs * std::sqrt(coil.re))));
}

double impedancePhase(const DriverPoint &point) { return std::arg(point.z) * (180 / pi); }

double pressurePhase(const DriverPoint &point) {
    // arg(j·f·Vm): the acceleration leads the velocity by 90°.
    const std::complex<double> acceleration(-point.motional.imag(), point.motional.real());
    return std::arg(acceleration) * (180 / pi);
}

double passbandLevel(const DriverModel &m, const Coil &coil, double source) {
    // Far above fc, Vm → E·Res·fc/(Qmc·f·(Re + R)), and Res·fc/Qmc = Re·Fs/Qes.
    const double drive = quotient(m.e * std::sqrt(coil.re), coil.re + source);
    return checked(referenceLevel + 10 * std::log10(referenceEfficiency(m, coil)) +
                   20 * std::log10(drive));
}

double excursion(const DriverModel &m, const DriverPoint &point, double f) {
    return quotient(std::sqrt(2.0) * std::abs(point.motional), m.bl * 2 * pi * f);
}

DriverCircuit driverCircuit(const SpeakerRun &run, double le) {
    const Driver &d = run.driver;
    const double res = quotient(d.re * d.qms, d.qes), qmc = mechanicalQ(run);
    // The parallel resonance of Res, Lces and Cmes at fc with Q = Qmc.
    const double omegaC = 2 * pi * run.box.fc;
    return {d.re, le / milliHenriesPerHenry, res, quotient(res, omegaC * qmc),
            quotient(qmc, omegaC * res)};
}

DriverDrive driverDrive(const SpeakerRun &run, const DriverLoadInputs &inputs) {
    const DriverModel model = driverModel(run, inputs);
    return {model.e, levelOffset(model, coldCoil(model))};
}
