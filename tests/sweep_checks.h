#pragma once

// What the whole-range sweeps hold a result to, shared by the core and the window sweeps: the
// grids, reading a shown number back, and the agreement with the nodal solution of the circuit
// within what the program's own procedure and arithmetic allow.

#include "nodal_model.h"

#include <QString>
#include <QTest>
#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

// Fails the test function with the condition and the case it failed for; the description is
// only formed on failure, which keeps sweeps of many thousand cases fast.
#define SWEEP_VERIFY(condition, where)                                                             \
    do {                                                                                           \
        if (!(condition))                                                                          \
            QFAIL(qPrintable(QString("%1 for %2").arg(QString(#condition), where())));             \
    } while (false)

// n values from lo to hi, evenly spaced on a log scale; both bounds exact.
inline std::vector<double> logGrid(double lo, double hi, int n) {
    std::vector<double> values{lo};
    for (int i = 1; i < n - 1; ++i)
        values.push_back(lo * std::pow(hi / lo, double(i) / (n - 1)));
    values.push_back(hi);
    return values;
}

// A result text read as the user reads it: an optional minus, digits and at most one decimal
// comma with at most `decimals` digits after it; or, for the largest values, the exponent form
// of the general format ("1,5E17"). Nothing else, so no "INF" or "NAN".
inline std::optional<double> readShown(const std::string &text, int decimals) {
    const auto digitsFrom = [&](std::size_t &at) {
        const std::size_t start = at;
        while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])))
            ++at;
        return at - start;
    };
    std::size_t at = text.starts_with('-') ? 1 : 0;
    const std::size_t integerDigits = digitsFrom(at);
    std::size_t fractionDigits = 0;
    if (at < text.size() && text[at] == ',') {
        ++at;
        fractionDigits = digitsFrom(at);
        if (fractionDigits == 0)
            return std::nullopt;
    }
    if (at < text.size() && text[at] == 'E') {
        ++at;
        at += at < text.size() && text[at] == '-';
        if (integerDigits != 1 || digitsFrom(at) == 0)
            return std::nullopt;
    } else if (fractionDigits > static_cast<std::size_t>(decimals)) {
        return std::nullopt;
    }
    if (integerDigits == 0 || at != text.size())
        return std::nullopt;
    std::string c = text;
    std::replace(c.begin(), c.end(), ',', '.');
    double value = 0;
    std::from_chars(c.data(), c.data() + c.size(), value);
    return value;
}

// The text shows `value` rounded to `decimals` places: it reads back within half a unit of the
// last place (ties included), or within the 15 significant digits of the exponent form.
inline bool showsRounded(const std::string &text, double value, int decimals) {
    const auto shown = readShown(text, decimals);
    const double halfUnit = 0.5 * std::pow(10.0, -decimals);
    return shown && std::fabs(*shown - value) <= halfUnit * (1 + 1e-9) + 1e-14 * std::fabs(value);
}

// Calls `check` with every combination of one value from each grid, the first grid varying
// fastest; stops at the first failed check.
template <std::size_t N, typename Check>
void forEachCombination(const std::array<std::vector<double>, N> &grids, Check check) {
    std::array<std::size_t, N> at{};
    for (;;) {
        std::array<double, N> values;
        for (std::size_t i = 0; i < N; ++i)
            values[i] = grids[i][at[i]];
        check(values);
        if (QTest::currentTestFailed())
            return;
        std::size_t i = 0;
        while (i < N && ++at[i] == grids[i].size())
            at[i++] = 0;
        if (i == N)
            return;
    }
}

enum class Stage { NonInverting, Inverting };

inline double nodalGain(Stage stage, const Network &n, double rload) {
    return stage == Stage::NonInverting ? nodalNonInvertingGain(n, rload)
                                        : nodalInvertingGain(n, rload);
}

constexpr double unitRoundoff = std::numeric_limits<double>::epsilon() / 2;

// Relative error the program's Ку may carry: a few dozen roundings of the largest term it is
// formed from. The non-inverting formula forms Ку as the difference of (R2/R1 + 1)·A/B and R2·Y1,
// so their size over Ку multiplies that error; nothing cancels in the inverting one.
inline double gainTolerance(Stage stage, const Network &n, double rload) {
    const double gain = nodalGain(stage, n, rload);
    const double largestTerm =
        stage == Stage::NonInverting ? std::fabs(n.r2 * (1 / n.r1 + 1 / n.r2 + 1 / n.roc)) : 0;
    return 64 * unitRoundoff * (1 + largestTerm / std::fabs(gain));
}

// Relative error of the program's Rвых = (Ку' − Ку)/(I − I') from loads 10 % apart: the error of
// the gains, magnified by how little the load voltage (Rвых ≪ Rн) or the load current
// (Rвых ≫ Rн) moves between the two loads.
inline double routTolerance(Stage stage, const Network &n, double rload) {
    const double rout = std::fabs(theveninResistance(n));
    return gainTolerance(stage, n, rload) * (1.1 * rload + rout) / (0.1 * std::min(rload, rout));
}

// The R2 bisection shows the lower end of its final bracket, `width` wide. The exact R2 lies in
// that bracket as far as the signs it was steered by are right, so the nodal Rвых at the two
// ends straddles the target, each end widened by the error of the program's Rвых.
inline bool bracketHoldsTarget(Stage stage, const Network &lower, double width, double rload,
                               double target) {
    Network upper = lower;
    upper.r2 += width;
    const double a = theveninResistance(lower);
    const double b = theveninResistance(upper);
    const double slack =
        std::max(routTolerance(stage, lower, rload) * a, routTolerance(stage, upper, rload) * b);
    return std::min(a, b) - slack <= target && target <= std::max(a, b) + slack;
}

// Whether some R2 in 10 Ω … 10 MΩ gives the target Rвых (the nodal Rвых falls steadily with R2);
// a target within the evaluation error of an end may be judged either way, so that border case
// counts as both.
struct R2Reach {
    bool some;
    bool none;
};
inline R2Reach r2Reach(Stage stage, Network n, double rload, double target) {
    n.r2 = 10;
    const double atLow = theveninResistance(n) - target;
    const bool lowBorder = std::fabs(atLow) <= routTolerance(stage, n, rload) * target;
    n.r2 = 10'000'000;
    const double atHigh = theveninResistance(n) - target;
    const bool highBorder = std::fabs(atHigh) <= routTolerance(stage, n, rload) * target;
    const bool border = lowBorder || highBorder;
    return {atLow * atHigh <= 0 || border, atLow * atHigh > 0 || border};
}

// Ку on the line of the target Rвых, R1 = R2·(Rвых/Rт − 1) + Rвых, where every positive pair
// with that Rвых lies.
inline double nodalLineGain(Stage stage, double r2, double roc, double rload, double rt,
                            double rout) {
    return nodalGain(stage, {r2 * (rout / rt - 1) + rout, r2, roc, rt}, rload);
}

// Ку on that line as R2 → 0: the line's Ку is straight in R2, so two points extrapolate to it.
inline double nodalLineFloor(Stage stage, double roc, double rload, double rt, double rout) {
    return 2 * nodalLineGain(stage, 0.01, roc, rload, rt, rout) -
           nodalLineGain(stage, 0.02, roc, rload, rt, rout);
}

// Newton's R1, R2 for the target Ку and Rвых. The iteration stops once both corrections are below
// ε = 0.001 Ω and the next one would be smaller still, so the nodal residuals there are at most
// what a change of ε in R1 and in R2 makes, plus the error of the evaluations it worked with.
inline bool meetsTargets(Stage stage, const Network &n, double rload, double targetGain,
                         double targetRout) {
    constexpr double eps = 0.001;
    const auto gain = [&](const Network &m) { return nodalGain(stage, m, rload); };
    // The change of f over ±ε in R1 and in R2, by central differences.
    const auto swing = [&](auto f) {
        double sum = 0;
        for (double Network::*r : {&Network::r1, &Network::r2}) {
            Network up = n, down = n;
            up.*r += eps;
            down.*r -= eps;
            sum += std::fabs(f(up) - f(down)) / 2;
        }
        return sum;
    };
    const double gainMiss = std::fabs(gain(n) - targetGain);
    const double routMiss = std::fabs(theveninResistance(n) - targetRout);
    return gainMiss <= swing(gain) + gainTolerance(stage, n, rload) * targetGain &&
           routMiss <= swing(theveninResistance) + routTolerance(stage, n, rload) * targetRout;
}
