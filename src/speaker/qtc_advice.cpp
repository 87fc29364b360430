#include "speaker/qtc_advice.h"

#include "core/decimal_text.h"

#include <cmath>

QtcAdvice qtcAdvice(const SpeakerRun &run) {
    const ClosedBox &box = run.box;
    const std::string target = formatGeneral(targetQtc);
    const double currentDriveQtc = box.s * run.driver.qms;
    if (currentDriveQtc <= targetQtc || !run.routRequired)
        return {"Qtc = " + target + " в этом ящике недостижима ни при каком Rвых: Qtc' лишь " +
                    "приближается к s·Qms = " + displayRounded(currentDriveQtc, 3),
                std::nullopt};

    if (box.qtc >= targetQtc) {
        QtcAdvice advice{"Уже при Rвых = 0 Qtc = " + displayRounded(box.qtc, 3) + " ≥ " + target +
                             ": положительное Rвых только повышает добротность.",
                         std::nullopt};
        if (box.qts < targetQtc) {
            const double ratio = targetQtc / box.qts;
            advice.volume = roundHalfEven(run.driver.vas / (ratio * ratio - 1), 1);
            advice.text += " Qtc = " + target +
                           " при Rвых = 0 даёт ящик Vb = " + formatGeneral(*advice.volume) + " л.";
        } else {
            advice.text +=
                " Ни один закрытый ящик не опустит Qtc ниже Qts = " + displayRounded(box.qts, 3) +
                ".";
        }
        return advice;
    }

    // Between the two the required Rвых is positive.
    return {"При Rвых = " + formatGeneral(*run.routRequired) + " Ом Qtc' = " + target,
            std::nullopt};
}
