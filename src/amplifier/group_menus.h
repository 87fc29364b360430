#pragma once

#include "core/driver_circuit.h"
#include "input/hand_over_field.h"
#include "ui/action_menu.h"

#include <QString>
#include <array>
#include <functional>
#include <string>

class AmplifierPage;
struct AmplifierRun;
class QLabel;
class QPushButton;
class QWidget;

// What an amplifier page offers beyond its calculations: each group's result menu, on its
// results and, for the keyboard, on its button; the results' tooltips and their copy; and the
// schematic's menu. Every item works on its group's last valid run.
class AmplifierMenus {
public:
    explicit AmplifierMenus(AmplifierPage &page) : page(page) {}

    void offerOnGroup(int variant, QPushButton *button, const std::array<QLabel *, 2> &results);
    void offerOnSchematic(QWidget *schematic);

    // Where Variant 3's Rвых goes: the loudspeaker page's field.
    void setRoutTarget(HandOver target) { routTarget = std::move(target); }
    // Where the netlist with a loudspeaker takes its loudspeaker from.
    void setDriverSource(std::function<DriverOffer()> source) { driverSource = std::move(source); }

    // The menu's subject: a group of the page.
    struct Group {
        const AmplifierMenus *menus;
        int variant;
    };

private:
    QString valueLine(const AmplifierRun &run, std::size_t row) const;
    QString resultTip(int variant, std::size_t row) const;
    void copyResults(const AmplifierRun &run) const;
    void saveNetlist(const AmplifierRun &run, const char *fileName, const std::string &text) const;

    static void addStandardParts(ActionMenu &menu, const Group &group);
    static void addRoutToSpeaker(ActionMenu &menu, const Group &group);
    static void addSpiceNetlist(ActionMenu &menu, const Group &group);
    static void addSpiceNetlistWithDriver(ActionMenu &menu, const Group &group);
    static void addSpread(ActionMenu &menu, const Group &group);
    static void addValues(ActionMenu &menu, const Group &group);
    static void addCopy(ActionMenu &menu, const Group &group);
    static bool offeredByVariants12(const Group &group);
    static bool offeredByVariant3(const Group &group);
    static const std::array<MenuAction<Group>, 7> actions;

    AmplifierPage &page;
    HandOver routTarget;
    std::function<DriverOffer()> driverSource;
};
