#pragma once

#include "input/widgets/hand_over_field.h"

#include <array>
#include <optional>
#include <string>

class ActionMenu;

// The Rвых for a target Qtc, as a result shows it, and what the advice says of the target.
struct RoutForTarget {
    double target;
    std::optional<double> rout; // none where only current drive would reach the target
    std::string advice;         // qtcAdvice's text
};

// "Rвых → Неинвертирующий, Вариант 2" and "Rвых → Инвертирующий, Вариант 2": the Rвых into the
// Rвых field of either amplifier's Variant 2. An item is disabled with the reason where there is
// no Rвых, where it is negative (in the words of the advice), or where the field refuses it.
// Without `offer` (no result) the items are there for the menu to disable.
void addRoutHandOvers(ActionMenu &menu, const std::array<HandOver, 2> &targets,
                      const RoutForTarget *offer);
