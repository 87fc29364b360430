#include "speaker/qtc_advice.h"

#include "core/arithmetic_fault.h"
#include "core/decimal_text.h"

#include <cmath>

std::optional<double> outputResistanceFor(const SpeakerRun &run, double target) {
    try {
        return requiredOutputResistance(run.driver, run.box.s, target);
    } catch (const ArithmeticFault &) {
        return std::nullopt;
    }
}

QtcAdvice qtcAdvice(const SpeakerRun &run, double target) {
    const ClosedBox &box = run.box;
    const std::string targetText = formatGeneral(target);
    const double currentDriveQtc = box.s * run.driver.qms;
    const std::optional<double> rout = outputResistanceFor(run, target);
    if (currentDriveQtc <= target || !rout)
        return {"Qtc = " + targetText + " в этом ящике недостижима ни при каком Rвых: Qtc' лишь " +
                    "приближается к √(Vas/Vb + 1)·Qms = " + displayRounded(currentDriveQtc, 3),
                std::nullopt};

    if (box.qtc >= target) {
        QtcAdvice advice{"Уже при Rвых = 0 Qtc = " + displayRounded(box.qtc, 3) + " ≥ " +
                             targetText + ": положительное Rвых только повышает добротность.",
                         std::nullopt};
        if (box.qts < target) {
            const double ratio = target / box.qts;
            advice.volume = roundHalfEven(run.driver.vas / (ratio * ratio - 1), 1);
            advice.text += " Qtc = " + targetText +
                           " при Rвых = 0 даёт ящик Vb = " + formatGeneral(*advice.volume) + " л.";
        } else {
            advice.text +=
                " Ни один закрытый ящик не опустит Qtc ниже Qts = " + displayRounded(box.qts, 3) +
                ".";
        }
        return advice;
    }

    // Between the two the required Rвых is positive.
    return {"При Rвых = " + formatGeneral(*rout) + " Ом Qtc' = " + targetText, std::nullopt};
}
