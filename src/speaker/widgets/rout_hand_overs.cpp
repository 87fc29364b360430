#include "speaker/widgets/rout_hand_overs.h"

#include "core/decimal_text.h"
#include "ui/action_menu.h"

#include <QAction>

namespace {

constexpr std::array<const char *, 2> pages{"Неинвертирующий, Вариант 2",
                                            "Инвертирующий, Вариант 2"};

// Why the Rвых of `offer` cannot go to `field`; empty where it can.
std::string routRefusal(const RoutForTarget *offer, const HandOverField &field, double rout) {
    if (!offer)
        return {};
    if (!offer->rout && !offer->whyNone.empty())
        return offer->whyNone;
    if (!offer->rout)
        return "Нет Rвых для Qtc = " + formatGeneral(offer->target) +
               ": её дало бы лишь бесконечное Rвых";
    if (rout < 0)
        return "Rвых = " + withMinusSign(formatGeneral(rout)) + " Ом не построить. " +
               offer->advice;
    if (const std::string range = field.refusedRange(rout); !range.empty())
        return "Rвых = " + field.text(rout) + " Ом вне диапазона " + range;
    return {};
}

} // namespace

void addRoutHandOvers(ActionMenu &menu, const std::array<Variant2Target, 2> &targets,
                      const RoutForTarget *offer) {
    const double rout = offer && offer->rout ? *offer->rout : 0, re = offer ? offer->re : 0;
    const QString name = QString::fromStdString(offer ? offer->name : "Rвых");
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const HandOver &target = targets[i].rout;
        menu.addItem(name + " → " + pages[i],
                     QString::fromStdString(routRefusal(offer, *target.field, rout)),
                     [take = target.take, rout] { take(rout); });
    }
    for (std::size_t i = 0; i < targets.size(); ++i) {
        const Variant2Target &target = targets[i];
        std::string whyNot = routRefusal(offer, *target.rout.field, rout);
        if (const std::string range = offer ? target.load->refusedRange(re) : "";
            whyNot.empty() && !range.empty())
            whyNot = "Rн = " + target.load->text(re) + " Ом вне диапазона " + range;
        QAction *item =
            menu.addItem(name + " и Rн = Re → " + pages[i], QString::fromStdString(whyNot),
                         [take = target.takeWithLoad, rout, re] { take(rout, re); });
        if (offer && whyNot.empty())
            item->setToolTip(QString::fromStdString(
                "В поле Rвых: " + target.rout.field->text(rout) +
                " Ом, в поле Rн: " + target.load->text(re) + " Ом — Ку для этого динамика"));
    }
}
