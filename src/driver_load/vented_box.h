#pragma once

#include "driver_load/driver_model.h"
#include "driver_load/polynomial.h"

#include <complex>
#include <optional>

// The loudspeaker of the driver-load window in a vented box instead of the closed one (Small's
// model): the port's air mass resonates with the box air at Fb, where the port takes over from
// the cone, which nearly stands still; far below Fb the two cancel. The driver comes as
// DriverModel gives it; of it only the driver's own parameters are taken, not fc and Qmc, which
// belong to the closed box.

struct VentedBox {
    double fb;           // the port's tuning, Hz
    double ql;           // the box's losses as the Q of its leakage at Fb
    double portDiameter; // m
    double vb;           // m³
};

// Small's polynomials of the driver in the box in the normalized frequency s·Ts, Ts = 1/(2π·Fs),
// with t = Tb/Ts = Fs/Fb and α = Vas/Vb:
//   box  B(s) = t²·s² + (t/QL)·s + 1,
//   both D(s) = B(s)·(s² + s/Qms + 1) + α·t²·s²,
// the driver's own resonance and the box's coupled by the box air's share of the stiffness.
struct VentedPolynomials {
    Polynomial box, both;
    double t;
};
VentedPolynomials ventedPolynomials(const DriverModel &model, const VentedBox &box);

// The driver in the box at frequency f, from E behind `source` ohms.
struct VentedPoint {
    // The impedance, the current and the voltage Vm across the motional branch, which is the
    // cone's: excursion(model, point.driver, f) is the cone's excursion.
    DriverPoint driver;
    // The radiated share of the cone's volume velocity Ud = Sd·Vm/Bl, s²Tb²/B(s): the rest goes
    // into the port and the leaks.
    std::complex<double> radiating;
    // The port's volume velocity, Ud/B(s), m³/s RMS, counted into the box: the cone and the port
    // cancel far below Fb.
    std::complex<double> port;
};
VentedPoint ventedPoint(const DriverModel &model, const Coil &coil, const VentedBox &box,
                        double source, double f);

// Sound pressure level at 1 m in half space of the cone, the port and the leaks together, dB: the
// closed box's soundLevel of Vm·s²Tb²/B(s). Its pass band is passbandLevel's.
double ventedLevel(const DriverModel &model, const Coil &coil, const VentedPoint &point, double f);

// The port's peak air speed, √2·|Uport|/Sp, Sp = π·d²/4, m/s.
double portSpeed(const VentedBox &box, const VentedPoint &point);

// The port length that tunes the box to Fb with the port's diameter, m: the air column of
// c²·Sp/(ωb²·Vb) less the end corrections of one flanged end and one free, 0,732·d. None where
// the end corrections alone are longer: no port that wide tunes this box as low as Fb.
std::optional<double> portLength(const VentedBox &box);

// The driver in the box as circuit elements for a netlist, the coil cold: Re, Le, and the
// motional branch Res ∥ Lces ∥ Cmes ∥ (Lceb + Cep + Rel) with Res = Re·Qms/Qes,
// Lces = Res·Ts/Qms, Cmes = Qms·Ts/Res of the driver in free air, Lceb = Lces/α, Cep = Tb²/Lceb,
// Rel = Lceb/(Tb·QL).
DriverCircuit ventedCircuit(const DriverModel &model, const VentedBox &box);
