#include "driver_load/driver_f3.h"

#include "core/arithmetic_fault.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double searchBottom = 1;          // Hz
constexpr double searchTop = 20000;         // Hz
constexpr double bisectionTolerance = 1e-9; // relative

} // namespace

// With x = f/fc, r = (Re + R)/Res, t = 2π·fc·Le/Res and Q = Qmc the motional voltage is E/A,
// A = 1 + (r + j·t·x)·(1 + j·Q·(x − 1/x)), and the level lies 20·lg(r·Q·x/|A|) from the pass
// band. It reaches half power where 2·(rQ)²·x² ≥ |A|², that is where, with u = x², the cubic
//   g(u) = u·(a − b·u)² + (c·u − rQ)² − 2·(rQ)²·u²,  a = 1 + r + tQ, b = tQ, c = rQ + t,
// is at or below 0. The cubic tells where to look, so that no step of a scan can pass over a
// narrow resonance; the level itself, bisected, gives the frequency.
std::optional<double> driverF3(const DriverModel &m, const Coil &coil, double source) {
    const double r = quotient(coil.re + source, m.res), q = m.qmc;
    const double t = quotient(2 * std::numbers::pi * m.fc * m.le, m.res);
    const double rq = r * q, a = 1 + r + t * q, b = t * q, c = rq + t;
    // g(u) = g3·u³ + g2·u² + g1·u + g0.
    const double g3 = b * b, g2 = c * c - 2 * a * b - 2 * rq * rq, g1 = a * a - 2 * c * rq,
                 g0 = rq * rq;
    const auto reached = [&](double f) {
        const double u = (f / m.fc) * (f / m.fc);
        return ((g3 * u + g2) * u + g1) * u + g0 <= 0;
    };

    // g(0) > 0. Without Le, g2 = −(rQ)²: g falls for ever past its one positive root. With Le g
    // grows again without bound, so it is at or below 0 on one interval at most, around its
    // minimum: the larger root of g' = 3·g3·u² + 2·g2·u + g1, in the form where no digits cancel.
    double end = searchTop;
    if (g3 > 0) {
        const double discriminant = g2 * g2 - 3 * g3 * g1;
        if (discriminant < 0)
            return std::nullopt; // g only rises
        const double root = std::sqrt(discriminant);
        const double least = g2 < 0 ? (root - g2) / (3 * g3) : quotient(-g1, g2 + root);
        end = std::clamp(m.fc * std::sqrt(std::max(least, 0.0)), searchBottom, searchTop);
    }
    if (!reached(end))
        return std::nullopt;

    // Between 1 Hz and `end` the level crosses half power once.
    const double threshold = passbandLevel(m, coil, source) + 10 * std::log10(0.5);
    double below = searchBottom, above = end;
    while (above - below > bisectionTolerance * below) {
        const double middle = (below + above) / 2;
        const double level = soundLevel(m, coil, driverPoint(m, coil, source, middle), middle);
        (level >= threshold ? above : below) = middle;
    }
    return (below + above) / 2;
}
