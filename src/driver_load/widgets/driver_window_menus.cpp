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

// The Rвых for the window's target Qtc, as its result shows it.
void DriverWindowMenus::addRoutToAmplifiers(ActionMenu &menu, const Subject &subject) {
    std::optional<RoutForTarget> offer;
    if (const DriverLoadRun *shown = subject.shown)
        offer = RoutForTarget{shown->inputs.targetQtc, shown->load.routForTarget,
                              shown->load.targetAdvice.text, shown->run.driver.re};
    addRoutHandOvers(menu, subject.menus->window.routTargets, offer ? &*offer : nullptr);
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
