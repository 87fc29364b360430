#pragma once

#include "amplifier/amplifier_run.h"
#include "core/driver_circuit.h"
#include "core/last_valid_run.h"
#include "input/widgets/hand_over_field.h"
#include "ui/action_menu.h"

#include <QString>
#include <array>
#include <functional>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QWidget;
struct AmplifierPageDesign;

// What an amplifier page offers beyond its calculations: each group's result menu, on its
// results and, for the keyboard, on its button; the results' tooltips and their copy; and the
// schematic's menu. Every item works on its group's last valid run.
class AmplifierMenus {
public:
    // What the menus work on, given them by the page: its design, Variant 3's fields in check
    // order, and Variant 3's calculation on values given them.
    struct Given {
        const AmplifierPageDesign &design;
        const std::vector<HandOverField> &variant3Fields;
        std::function<void(const std::array<double, 5> &values)> evaluateVariant3;
    };
    explicit AmplifierMenus(Given given) : page(std::move(given)) {}

    // A group's menu on its results and its "Вычислить", beside which the menu's windows open.
    void offerOnGroup(int variant, const LastValidRun<AmplifierRun> &record, QPushButton *button,
                      const std::array<QLabel *, 2> &results);
    void offerOnSchematic(QWidget *schematic);

    // Where Variant 3's Rвых goes: the loudspeaker page's field.
    void setRoutTarget(HandOver target) { routTarget = std::move(target); }
    // Where the netlist with a loudspeaker takes its loudspeaker from.
    void setDriverSource(std::function<DriverOffer()> source) { driverSource = std::move(source); }
    // Where a group's spread over the part tolerances is shown, the group named by its variant.
    void setSpreadWindow(std::function<void(int variant)> open) { spreadWindow = std::move(open); }

    // The menu's subject: a group of the page.
    struct Group {
        const AmplifierMenus *menus;
        int variant;
    };

private:
    const LastValidRun<AmplifierRun> &record(int variant) const {
        return *records[static_cast<std::size_t>(variant - 1)];
    }
    QPushButton *button(int variant) const {
        return buttons[static_cast<std::size_t>(variant - 1)];
    }
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

    Given page;
    std::array<const LastValidRun<AmplifierRun> *, 3> records{};
    std::array<QPushButton *, 3> buttons{};
    HandOver routTarget;
    std::function<DriverOffer()> driverSource;
    std::function<void(int variant)> spreadWindow;
};
