#include "driver_load/vented_response.h"

#include "core/arithmetic_fault.h"
#include "core/decimal_text.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double searchBottom = 1;          // Hz
constexpr double searchTop = 20000;         // Hz
constexpr double routBottom = 0.1;          // Ω
constexpr double routTop = 200;             // Ω
constexpr double bisectionTolerance = 1e-9; // relative

// With s·Ts as s, as in ventedPolynomials, P(s) = (Re + R + s·ωs·Le)·D(s) + Res·(s/Qms)·B(s), the
// level lies 20·lg((Re + R)·t²·|s|⁴/|P(s)|) from the pass band (Vm = E·Res·(s/Qms)·B/P, and s²t²/B
// of it radiates). So it lies L dB from the pass band where, with u = (f/Fs)²,
//   |P(j√u)|² = 10^(−L/10)·((Re + R)·t²)²·u⁴.
struct LevelPolynomial {
    Polynomial magnitude; // |P|² in u
    double top;           // ((Re + R)·t²)²
};
LevelPolynomial levelPolynomial(const DriverModel &m, const Coil &coil, const VentedBox &box,
                                double source) {
    const VentedPolynomials v = ventedPolynomials(m, box);
    const double r = coil.re + source;
    const Polynomial series{r, 2 * std::numbers::pi * m.driver.fs * m.le}; // Re + R + s·ωs·Le
    const Polynomial motional = product({0, quotient(m.res, m.driver.qms)}, v.box);
    const double top = r * v.t * v.t;
    return {squaredMagnitude(sum(product(series, v.both), motional)), top * top};
}

double relativeLevel(const DriverModel &m, const Coil &coil, const VentedBox &box, double source,
                     double f) {
    return ventedLevel(m, coil, ventedPoint(m, coil, box, source, f), f) -
           passbandLevel(m, coil, source);
}

double squared(double x) { return x * x; }

} // namespace

std::optional<double> ventedF3(const DriverModel &m, const Coil &coil, const VentedBox &box,
                               double source) {
    // Half power where |P|² − 2·top·u⁴ = 0: its sign changes split the range into pieces that are
    // each wholly above the threshold or wholly below it.
    LevelPolynomial level = levelPolynomial(m, coil, box, source);
    level.magnitude.resize(std::max<std::size_t>(level.magnitude.size(), 5));
    level.magnitude[4] -= 2 * level.top;
    const double fs = m.driver.fs;
    std::vector<double> ends{searchBottom};
    for (const double u :
         signChanges(level.magnitude, squared(searchBottom / fs), squared(searchTop / fs)))
        ends.push_back(fs * std::sqrt(u));
    ends.push_back(searchTop);

    const double threshold = 10 * std::log10(0.5);
    const auto middle = [&](std::size_t piece) { return std::sqrt(ends[piece] * ends[piece + 1]); };
    std::vector<bool> reached;
    for (std::size_t piece = 0; piece + 1 < ends.size(); ++piece)
        reached.push_back(relativeLevel(m, coil, box, source, middle(piece)) >= threshold);
    // The pass band is the highest piece above the threshold, with the pieces below it that touch
    // it.
    std::size_t top = reached.size();
    while (top > 0 && !reached[top - 1])
        --top;
    if (top == 0)
        return std::nullopt;
    std::size_t lowest = top - 1;
    while (lowest > 0 && reached[lowest - 1])
        --lowest;
    if (lowest == 0)
        return searchBottom;

    // Between the middles of the last piece below and the first above the level crosses once.
    double below = middle(lowest - 1), above = middle(lowest);
    while (above - below > bisectionTolerance * below) {
        const double f = (below + above) / 2;
        (relativeLevel(m, coil, box, source, f) >= threshold ? above : below) = f;
    }
    return (below + above) / 2;
}

double levelRise(const DriverModel &m, const Coil &coil, const VentedBox &box, double source) {
    // The level's extremes are those of u⁴/|P|²: where 4·|P|² = u·(|P|²)', that is where
    // Σ (4 − k)·c_k·u^k = 0 for |P|² = Σ c_k·u^k.
    Polynomial extremes = levelPolynomial(m, coil, box, source).magnitude;
    for (std::size_t k = 0; k < extremes.size(); ++k)
        extremes[k] *= 4 - double(k);
    const double fs = m.driver.fs;
    double rise = std::max(relativeLevel(m, coil, box, source, searchBottom),
                           relativeLevel(m, coil, box, source, searchTop));
    for (const double u :
         signChanges(extremes, squared(searchBottom / fs), squared(searchTop / fs)))
        rise = std::max(rise, relativeLevel(m, coil, box, source, fs * std::sqrt(u)));
    return rise;
}

RoutWithoutRise routWithoutRise(const DriverModel &m, const Coil &coil, const VentedBox &box) {
    const auto rises = [&](double rout) { return levelRise(m, coil, box, rout) > flatTolerance; };
    RoutWithoutRise result{};
    result.riseAtBottom = levelRise(m, coil, box, routBottom);
    if (result.riseAtBottom > flatTolerance) {
        result.text = "Уже при Rвых = " + formatGeneral(routBottom) +
                      " Ом АЧХ поднимается над уровнем полосы на " +
                      displayRounded(result.riseAtBottom, 2) + " дБ.";
        return result;
    }
    double flat = routBottom, rising = routTop;
    if (!rises(routTop)) {
        flat = routTop;
        result.text =
            "АЧХ не поднимается над уровнем полосы и при Rвых = " + formatGeneral(routTop) +
            " Ом, наибольшем в полях Rвых.";
    }
    while (flat < routTop && rising - flat > bisectionTolerance * flat) {
        const double rout = (flat + rising) / 2;
        (rises(rout) ? rising : flat) = rout;
    }
    result.rout = flat;
    result.f3 = ventedF3(m, coil, box, flat);
    return result;
}
