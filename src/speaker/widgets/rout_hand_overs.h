#pragma once

#include "input/widgets/hand_over_field.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

class ActionMenu;

// The Rвых for a target Qtc, as a result shows it, and what the advice says of the target.
struct RoutForTarget {
    double target;
    std::optional<double> rout; // none where only current drive would reach the target
    std::string advice;         // qtcAdvice's text
    double re;                  // the driver's Re, Ω: Variant 2's Rн, so that Ку is for it
    // The items' name of the Rвых, and why there is none where another aim than the target Qtc
    // gives it («Rвых для B4»).
    std::string name = "Rвых";
    std::string whyNone = {};
};

// Variant 2 of an amplifier page as the loudspeaker's Rвых is handed to it: its Rвых field, and
// its Rн field, which can take the driver's Re with the Rвых; the taking of both shows the page,
// writes Rн, then Rвых.
struct Variant2Target {
    HandOver rout;
    const HandOverField *load = nullptr;
    std::function<void(double rout, double load)> takeWithLoad;
};

// "Rвых → Неинвертирующий, Вариант 2" and "Rвых → Инвертирующий, Вариант 2": the Rвых into the
// Rвых field of either amplifier's Variant 2; then "Rвых и Rн = Re → …", which also writes the
// driver's Re into Rн; each item begins with the offer's name. An item is disabled with the reason
// where there is no Rвых, where it is negative (in the words of the advice), or where a field it
// writes refuses its value: both fields are asked before either is written. Without `offer` (no
// result) the items are there for the menu to disable.
void addRoutHandOvers(ActionMenu &menu, const std::array<Variant2Target, 2> &targets,
                      const RoutForTarget *offer);
