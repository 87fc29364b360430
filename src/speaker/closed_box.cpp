#include "speaker/closed_box.h"

#include "core/arithmetic_fault.h"
#include "core/decimal_text.h"

#include <cmath>
#include <numbers>

double totalQ(double qes, double qms) { return quotient(qes * qms, qes + qms); }

double cornerFrequency(double fc, double q) {
    const double t = quotient(1.0, q * q) - 2;
    return checked(fc * std::sqrt((t + std::sqrt(t * t + 4)) / 2));
}

ClosedBox closedBox(const Driver &d, double vb, double rout) {
    ClosedBox box{};
    box.s = checked(std::sqrt(quotient(d.vas, vb) + 1));
    box.fc = checked(box.s * d.fs);
    box.qts = totalQ(d.qes, d.qms);
    box.qtc = checked(box.s * box.qts);
    box.f3 = cornerFrequency(box.fc, box.qtc);

    box.qesNew = quotient((d.re + rout) * d.qes, d.re);
    box.qtsNew = totalQ(box.qesNew, d.qms);
    box.qtcNew = checked(box.s * box.qtsNew);
    box.f3New = cornerFrequency(box.fc, box.qtcNew);
    return box;
}

double requiredOutputResistance(const Driver &d, double s, double target) {
    // From 1/Qts' = s/target = 1/Qes' + 1/Qms with Qes' = (Re + R)·Qes/Re.
    const double excess = quotient(s, target) - 1 / d.qms;
    const double r = quotient(d.re, excess * d.qes) - d.re;
    return checked(roundHalfEven(r, 3));
}

double responseRatio() { return std::exp(std::log(100.0) / 98.999); }

std::array<double, responsePoints> responseFrequencies() {
    const double ratio = responseRatio();
    std::array<double, responsePoints> f{};
    f[0] = 10;
    for (std::size_t k = 1; k < f.size(); ++k)
        f[k] = f[k - 1] * ratio;
    return f;
}

double responseLevel(double f, double fc, double q) {
    const double x = quotient(f, fc);
    const double x2 = x * x;
    const double damping = quotient(2 * quotient(0.5, q) * f, fc); // x/q
    const double magnitude = quotient(x2, std::sqrt((1 - x2) * (1 - x2) + damping * damping));
    return checked(20 * std::log10(magnitude));
}

double responsePhase(double f, double fc, double q) {
    // H(jx) = -x²/(1 - x² + jx/Q): the numerator's 180° less the denominator's angle.
    const double x = quotient(f, fc);
    return checked(180 - std::atan2(quotient(x, q), 1 - x * x) * (180 / std::numbers::pi));
}
