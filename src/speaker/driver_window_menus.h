#pragma once

#include "input/hand_over_field.h"
#include "ui/action_menu.h"

#include <QString>
#include <array>

class DriverWindow;
struct DriverLoadRun;

// The menu of the window «Динамик и усилитель», on its results and charts: the Rвых for the
// target Qtc into Variant 2 of either amplifier page, the impedance as a ZMA file, the level as
// an FRD file, and every curve as a table. It works on what the window shows of the page's
// current run only.
class DriverWindowMenus {
public:
    DriverWindowMenus(DriverWindow &window, const std::array<HandOver, 2> &routTargets)
        : window(window), routTargets(routTargets) {}

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

    DriverWindow &window;
    const std::array<HandOver, 2> &routTargets; // non-inverting, inverting
};
