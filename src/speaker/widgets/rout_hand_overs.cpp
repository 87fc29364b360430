#include "speaker/widgets/rout_hand_overs.h"

#include "core/decimal_text.h"
#include "ui/action_menu.h"

void addRoutHandOvers(ActionMenu &menu, const std::array<HandOver, 2> &targets,
                      const RoutForTarget *offer) {
    constexpr std::array<const char *, 2> items{"Rвых → Неинвертирующий, Вариант 2",
                                                "Rвых → Инвертирующий, Вариант 2"};
    for (std::size_t i = 0; i < items.size(); ++i) {
        const HandOver &target = targets[i];
        const double rout = offer && offer->rout ? *offer->rout : 0;
        std::string whyNot;
        if (offer && !offer->rout)
            whyNot = "Нет Rвых для Qtc = " + formatGeneral(offer->target) +
                     ": её дало бы лишь бесконечное Rвых";
        else if (offer && rout < 0)
            whyNot = "Rвых = " + withMinusSign(formatGeneral(rout)) + " Ом не построить. " +
                     offer->advice;
        else if (const std::string range = offer ? target.field->refusedRange(rout) : "";
                 !range.empty())
            whyNot = "Rвых = " + target.field->text(rout) + " Ом вне диапазона " + range;
        menu.addItem(items[i], QString::fromStdString(whyNot),
                     [take = target.take, rout] { take(rout); });
    }
}
