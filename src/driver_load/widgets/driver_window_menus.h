#pragma once

#include "driver_load/driver_model.h"
#include "speaker/widgets/rout_hand_overs.h"
#include "ui/action_menu.h"

#include <QString>
#include <array>
#include <functional>
#include <string>

struct DriverLoadRun;

// The menu of the window «Динамик и усилитель», on its results and charts: the Rвых for the
// target Qtc into Variant 2 of either amplifier page, alone or with the driver's Re as its Rн (for
// the vented box the Rвых for B4 and the Rвых without a rise in its place), the impedance as a
// ZMA file, the level as an FRD file, and every curve as a table. It works on what the window
// shows of the page's current run only.
class DriverWindowMenus {
public:
    // What the menu works on, given it by the window: what the window shows of the page's current
    // run (null where it offers nothing) and why it offers nothing; Variant 2's Rвых and Rн fields
    // of the non-inverting and the inverting page; the box the window's choice names.
    struct Given {
        std::function<const DriverLoadRun *()> shown;
        std::function<std::string()> whyNone;
        std::array<Variant2Target, 2> routTargets;
        std::function<BoxKind()> box;
    };
    explicit DriverWindowMenus(Given given) : window(std::move(given)) {}

    // How the menu opens and what it offers, for the tooltips and the readouts.
    static QString hint();

    // The menu on every context-menu request of `widget`: a right-click, Shift+F10, the menu key.
    void offerOn(QWidget *widget);

    // The menu's subject: what the window shows, if it offers it, and where the menu opened.
    struct Subject {
        const DriverWindowMenus *menus;
        const DriverLoadRun *shown;
        QWidget *opener;
    };

private:
    static void addRoutToAmplifiers(ActionMenu &menu, const Subject &subject);
    static void addImpedance(ActionMenu &menu, const Subject &subject);
    static void addLevel(ActionMenu &menu, const Subject &subject);
    static void addTable(ActionMenu &menu, const Subject &subject);
    static const std::array<MenuAction<Subject>, 4> actions;

    Given window;
};
