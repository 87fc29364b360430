#include "amplifier/feedback_design.h"

#include "amplifier/amplifier_run.h"
#include "core/arithmetic_fault.h"
#include "core/decimal_text.h"

#include <cmath>
#include <optional>

namespace {

// Variant 1 searches R2 between these bounds, in ohms, and stops once the bracket is narrower
// than the tolerance (0.1 mΩ: 37 halvings from the full range).
constexpr double r2SearchLow = 10;
constexpr double r2SearchHigh = 10'000'000;
constexpr double r2Tolerance = 0.0001;

// Where a Newton point has no Rвых (equal load currents), R1 grows by this factor.
constexpr double r1Nudge = 1.1;

} // namespace

void evaluateNetwork(const AmplifierCircuit &circuit, LastResults &last) {
    const NetworkOutputs outputs =
        networkOutputs(circuit, {last.r1, last.r2, last.roc, last.rt}, last.rload);
    last.rout = outputs.rout;
    last.gain = outputs.gain;
}

R2Search searchR2(const AmplifierCircuit &circuit, LastResults &last) {
    // The sense resistor alone already gives the load Rт of source resistance.
    if (!(last.rt < last.rout))
        return {R2Search::SenseNotBelowRout};

    const double target = last.rout;
    const auto miss = [&](double r2) {
        const LoadStep step = circuit.loadStep({last.r1, r2, last.roc, last.rt}, last.rload);
        const double rout = outputResistance(step);
        last.r2 = r2;
        last.gain = step.gain;
        return checked(rout - target);
    };

    double lo = r2SearchLow;
    double hi = r2SearchHigh;
    double missLo = miss(lo);
    const double missHi = miss(hi);
    if (checked(missLo * missHi) > 0)
        return {R2Search::NoSignChange};

    // The shown R2 is the lower end; LastResults keeps the last midpoint, which was evaluated.
    int halvings = 0;
    do {
        const double mid = (lo + hi) / 2;
        const double missMid = miss(mid);
        if (checked(missLo * missMid) > 0) {
            lo = mid;
            missLo = missMid;
        } else {
            hi = mid;
        }
        ++halvings;
    } while (std::fabs(lo - hi) >= r2Tolerance);
    return {R2Search::Found, lo, halvings};
}

namespace {

// Where Newton's method ended: the last iterate, and how.
struct NewtonEnd {
    enum How { Converged, NotConverged, Singular, Fault } how;
    double r1;
    double r2;
    int attempts;
    int steps;
};

NewtonEnd newtonR1R2(const AmplifierCircuit &circuit, LastResults &last) {
    const double targetGain = last.targetGain;
    const double targetRout = last.rout;
    const double roc = last.roc;
    const double rt = last.rt;
    const double rload = last.rload;

    // F1 = Ку − Ку(target); F2 = Rвых − Rвых(target), absent where the two load currents are
    // exactly equal and Rвых is undefined.
    struct Residuals {
        double f1;
        std::optional<double> f2;
    };
    const auto residuals = [&](double r1, double r2) {
        const LoadStep step = circuit.loadStep({r1, r2, roc, rt}, rload);
        last.gain = step.gain;
        Residuals r{checked(step.gain - targetGain), std::nullopt};
        if (step.current != step.currentStepped)
            r.f2 = checked(outputResistance(step) - targetRout);
        return r;
    };

    // ε is both the relative perturbation of the Jacobian and the convergence limit in ohms.
    constexpr double eps = 0.001;
    constexpr int lastCountedStep = 100;
    constexpr int attemptLimit = 10;

    double r1 = 0;
    double r2 = 0;
    double d1 = 0; // the corrections carry over from one attempt to the next
    double d2 = 0;
    int attempt = 1;
    int step = 0;
    for (;;) {
        const AmplifierCircuit::Start start =
            circuit.newtonStart(attempt, targetGain, roc, targetRout);
        r1 = checked(start.r1);
        r2 = checked(start.r2);
        step = 0;
        do {
            // Where a point has no Rвых, R1 grows by 10 % (a perturbation in progress stays in
            // place), the step is not counted and the loop test sees the last corrections.
            const Residuals base = residuals(r1, r2);
            if (!base.f2) {
                r1 = checked(r1Nudge * r1);
                continue;
            }

            const double savedR1 = r1;
            const double h1 = eps * r1;
            r1 = checked(r1 + h1);
            const Residuals atR1 = residuals(r1, r2);
            if (!atR1.f2) {
                r1 = checked(r1Nudge * r1);
                continue;
            }
            const double j11 = quotient(atR1.f1 - base.f1, h1);
            const double j21 = quotient(*atR1.f2 - *base.f2, h1);
            r1 = savedR1; // put back, not recomputed as (R1 + h1) − h1

            const double savedR2 = r2;
            const double h2 = eps * r2;
            r2 = checked(r2 + h2);
            const Residuals atR2 = residuals(r1, r2);
            if (!atR2.f2) {
                r1 = checked(r1Nudge * r1);
                continue;
            }
            const double j12 = quotient(atR2.f1 - base.f1, h2);
            const double j22 = quotient(*atR2.f2 - *base.f2, h2);
            r2 = savedR2;

            const double det = checked(j11 * j22 - j12 * j21);
            if (det == 0)
                return {NewtonEnd::Singular, r1, r2, attempt, step};
            d1 = quotient(checked(-base.f1 * j22 + *base.f2 * j12), det);
            d2 = quotient(checked(-*base.f2 * j11 + base.f1 * j21), det);
            r1 = checked(r1 + d1);
            r2 = checked(r2 + d2);
            ++step;
        } while ((std::fabs(d1) >= eps || std::fabs(d2) >= eps) && step <= lastCountedStep);

        if (step <= lastCountedStep)
            return {NewtonEnd::Converged, r1, r2, attempt, step};
        if (attempt == attemptLimit)
            return {NewtonEnd::NotConverged, r1, r2, attempt, step};
        ++attempt;
    }
}

} // namespace

R1R2Design designR1R2(const AmplifierCircuit &circuit, LastResults &last) {
    if (!(last.rt < last.rout))
        return {R1R2Design::SenseNotBelowRout};

    NewtonEnd end{NewtonEnd::Fault, 0, 0, 0, 0};
    try {
        end = newtonR1R2(circuit, last);
    } catch (const ArithmeticFault &) {
        // A runaway iteration: an overflow, or R2 landing on exactly 0.
    }
    R1R2Design design{R1R2Design::Converged, end.r1, end.r2, end.attempts, end.steps};
    const bool negative = end.r1 < 0 || end.r2 < 0;
    if (end.how != NewtonEnd::Converged || negative) {
        if (const auto pair = pairOnRoutLine(circuit, last.targetGain, last.roc, last.rload,
                                             last.rt, last.rout)) {
            design.outcome = R1R2Design::FoundOnLine;
            design.r1 = pair->r1;
            design.r2 = pair->r2;
            last.gain = pair->gain;
        } else if (end.how == NewtonEnd::Singular || end.how == NewtonEnd::Fault) {
            // Nothing of the abandoned iteration is kept as a result.
            design.outcome = R1R2Design::Stopped;
            design.r1 = design.r2 = 0;
            last.gain = 0;
        } else {
            design.outcome = negative ? R1R2Design::NegativePair : R1R2Design::NotConverged;
        }
    }
    last.r1 = design.r1;
    last.r2 = design.r2;
    return design;
}

std::optional<LinePair> pairOnRoutLine(const AmplifierCircuit &circuit, double targetGain,
                                       double roc, double rload, double rt, double rout) {
    if (!(targetGain > circuit.lineGainFloor(roc, rload, rt, rout)))
        return std::nullopt;
    const double slope = rout / rt - 1; // ohms of R1 per ohm of R2
    const auto gainAt = [&](double r2) {
        return circuit.loadStep({slope * r2 + rout, r2, roc, rt}, rload).gain;
    };

    // Ку at R2 → 0 lies below the target, so lo = 0 needs no evaluation; R2 doubles until Ку
    // reaches it (2^100 Ω is far beyond any network of the field ranges).
    double lo = 0;
    double hi = 1;
    double gainHi = gainAt(hi);
    for (int doublings = 0; gainHi < targetGain; ++doublings) {
        if (doublings == 100)
            return std::nullopt;
        lo = hi;
        hi *= 2;
        gainHi = gainAt(hi);
    }
    for (int halvings = 0; halvings < 200; ++halvings) {
        const double mid = lo + (hi - lo) / 2;
        if (mid == lo || mid == hi)
            break; // neighbouring doubles
        const double gain = gainAt(mid);
        if (gain < targetGain) {
            lo = mid;
        } else {
            hi = mid;
            gainHi = gain;
        }
    }
    return LinePair{slope * hi + rout, hi, gainHi};
}

namespace {

// A resistance in ohms, in kilo-ohms from 1 kΩ on, two decimals, as the window writes numbers.
std::string ohmsText(double ohms) {
    return ohms < 1000 ? displayRounded(ohms, 2) + " Ом" : displayRounded(ohms / 1000, 2) + " кОм";
}

} // namespace

std::string reachableGainText(const AmplifierCircuit &circuit, const LastResults &last) {
    const double floor = circuit.lineGainFloor(last.roc, last.rload, last.rt, last.rout);
    return "При Roc = " + formatGeneral(last.roc / 1000) +
           " кОм, Rн = " + formatGeneral(last.rload) + " Ом, Rт = " + formatGeneral(last.rt) +
           " Ом и Rвых = " + formatGeneral(last.rout) + " Ом достижимо любое Ку больше " +
           displayRounded(floor, 2);
}

std::string neededR2Text(const LastResults &last) {
    const std::string formula = "Нужное R2 = (R1 − Rвых)/(Rвых/Rт − 1)";
    if (!(last.r1 > last.rout))
        return formula + " не положительно: R1 = " + formatGeneral(last.r1 / 1000) +
               " кОм не больше Rвых = " + formatGeneral(last.rout) + " Ом";
    const double r2 = (last.r1 - last.rout) / (last.rout / last.rt - 1);
    return formula + " = " + ohmsText(r2) + " лежит вне диапазона поиска 10 Ом … 10 МОм";
}
