#include "driver_load/b4_alignment.h"

#include "core/arithmetic_fault.h"
#include "core/decimal_text.h"

#include <cmath>
#include <numbers>

B4Alignment b4Alignment(const Driver &d, double ql) {
    const double sqrt2 = std::numbers::sqrt2, a1 = std::sqrt(4 + 2 * sqrt2);
    B4Alignment b4{};
    // What the box losses leave of the alignment's damping to the driver, 1/Qt.
    const double losses = quotient(1, ql), left = a1 - losses;
    const std::string forQl = "B4 при QL = " + formatGeneral(ql);
    if (left <= 0) {
        b4.whyNot = "Выравнивания " + forQl +
                    " нет: одни потери ящика, 1/QL = " + displayRounded(losses, 3) +
                    ", больше затухания, которое оно допускает, " +
                    "√(4 + 2√2) = " + displayRounded(a1, 3);
        return b4;
    }
    b4.qt = quotient(1, left);
    b4.alpha = sqrt2 - quotient(losses, b4.qt);
    if (b4.alpha <= 0) {
        b4.whyNot = "Выравнивания " + forQl + " нет: ему нужен ящик с α = Vas/Vb = " +
                    "√2 − 1/(QL·Qt) = " + withMinusSign(displayRounded(b4.alpha, 3)) + " ≤ 0";
        return b4;
    }
    b4.vb = quotient(d.vas, b4.alpha);
    b4.fb = d.fs;

    const std::string needs = displayRounded(b4.qt, 3);
    if (d.qms <= b4.qt) {
        b4.whyNot = "Для " + forQl + " нужна Qt = " + needs +
                    ", а она недостижима ни при каком Rвых: Qts' лишь приближается к Qms = " +
                    displayRounded(d.qms, 3);
        return b4;
    }
    const double qesNeeded = quotient(b4.qt * d.qms, d.qms - b4.qt);
    const double rout = checked(d.re * (quotient(qesNeeded, d.qes) - 1));
    if (rout < 0) {
        b4.whyNot = "Уже при Rвых = 0 Qts = " + displayRounded(totalQ(d.qes, d.qms), 3) + " > " +
                    needs + ", нужной для " + forQl +
                    ": положительное Rвых только повышает добротность.";
        return b4;
    }
    b4.rout = rout;
    return b4;
}
