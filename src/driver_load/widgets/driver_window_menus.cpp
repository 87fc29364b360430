#include "driver_load/widgets/driver_window_menus.h"

#include "driver_load/driver_load_export.h"
#include "driver_load/driver_load_view.h"
#include "driver_load/widgets/driver_exports.h"
#include "speaker/widgets/rout_hand_overs.h"
#include "ui/announcement.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>

const std::array<MenuAction<DriverWindowMenus::Subject>, 4> DriverWindowMenus::actions{{
    {"Rвых → Вариант 2", nullptr, addRoutToAmplifiers},
    {"экспорт импеданса в ZMA", nullptr, addImpedance},
    {"экспорт уровня в FRD", nullptr, addLevel},
    {"копировать таблицу", nullptr, addTable},
}};

QString DriverWindowMenus::hint() {
    return "Правая кнопка мыши, или Shift+F10 на графике или результате: " +
           offeredHints<Subject>(actions, {}).join(", ");
}

void DriverWindowMenus::offerOn(QWidget *widget) {
    offerMenu(widget, [this, widget](QMenu &menu) {
        ActionMenu items(menu, QString::fromStdString(window.whyNone()));
        addActions<Subject>(items, actions, {this, window.shown(), widget});
    });
}

// The Rвых for the window's target Qtc, as its result shows it; for the vented box the Rвых for
// B4 and the Rвых without a rise, as theirs show them.
void DriverWindowMenus::addRoutToAmplifiers(ActionMenu &menu, const Subject &subject) {
    const auto &targets = subject.menus->window.routTargets;
    const DriverLoadRun *shown = subject.shown;
    if (shown ? shown->load.vented.has_value() : subject.menus->window.box() == BoxKind::Vented) {
        const double re = shown ? shown->run.driver.re : 0;
        const VentedFigures *vented = shown ? &*shown->load.vented : nullptr;
        const std::array<RoutForTarget, 2> offers{{
            {0,
             vented ? vented->b4Rout : std::nullopt,
             {},
             re,
             "Rвых для B4",
             vented ? vented->b4.whyNot : ""},
            {0,
             vented ? vented->routWithoutRise : std::nullopt,
             {},
             re,
             "Rвых без подъёма",
             vented ? vented->withoutRise.text : ""},
        }};
        for (const RoutForTarget &offer : offers) {
            if (&offer != &offers.front())
                menu.startSection();
            addRoutHandOvers(menu, targets, shown ? &offer : nullptr);
        }
        return;
    }
    std::optional<RoutForTarget> offer;
    if (shown)
        offer = RoutForTarget{shown->inputs.targetQtc, shown->load.routForTarget,
                              shown->load.targetAdvice.text, shown->run.driver.re};
    addRoutHandOvers(menu, targets, offer ? &*offer : nullptr);
}

void DriverWindowMenus::addImpedance(ActionMenu &menu, const Subject &subject) {
    menu.addItem("Экспорт импеданса в ZMA…", {},
                 [opener = subject.opener, shown = kept(subject.shown)] {
                     exportImpedance(opener, shown.run, shown.inputs);
                 });
}

void DriverWindowMenus::addLevel(ActionMenu &menu, const Subject &subject) {
    menu.addItem("Экспорт уровня в FRD…", {},
                 [opener = subject.opener, shown = kept(subject.shown)] {
                     exportLevel(opener, shown.run, shown.inputs);
                 });
}

void DriverWindowMenus::addTable(ActionMenu &menu, const Subject &subject) {
    menu.addItem("Копировать таблицу", {}, [opener = subject.opener, shown = kept(subject.shown)] {
        QApplication::clipboard()->setText(
            QString::fromStdString(driverLoadTable(shown.run, shown.inputs, shown.load)));
        announce(opener, "Таблица всех кривых скопирована в буфер обмена");
    });
}
