#pragma once

#include "core/last_valid_run.h"
#include "input/widgets/hand_over_field.h"
#include "speaker/speaker_run.h"
#include "speaker/widgets/rout_hand_overs.h"
#include "ui/action_menu.h"

#include <QString>
#include <array>
#include <functional>

class QLabel;
class QWidget;
struct SpeakerResultRow;

// The page's driver as the amplifier's load, in the main window's window «Динамик и усилитель»:
// opening it, and the impedance as a ZMA file with the Le that window holds; and the driver
// from a driver file into the page's fields and that window's (the page then computes), or the
// run's driver with that window's values into one.
struct DriverLoadActions {
    std::function<void()> openWindow;
    std::function<void(QWidget *control, const SpeakerRun &run)> exportImpedance;
    std::function<void(QWidget *control)> loadDriver;
    std::function<void(QWidget *control, const SpeakerRun &run)> saveDriver;
};

// What the loudspeaker page offers beyond its calculation: the results' menu (on the results,
// the caption of the required Rвых and, for the keyboard, "Вычислить"), their tooltips and copy;
// and the chart's menu, which exports both curves as FRD files or copies them as a table, and
// the impedance as a ZMA file; both open the window «Динамик и усилитель».
class SpeakerMenus {
public:
    // What the menus work on, given them by the page: its record, the box volume field and the
    // taking of a volume into it (the page then computes), the chart, and "Вычислить", beside
    // which the values window opens.
    struct Given {
        const LastValidRun<SpeakerRun> &record;
        const HandOverField &volumeField;
        std::function<void(double litres)> takeVolume;
        QWidget *chart;
        QWidget *button;
    };
    explicit SpeakerMenus(Given given) : page(std::move(given)) {}

    // How the chart's menu opens and what it offers, under every readout of the chart.
    static const QString chartMenuHint;

    // The results' menu on the caption of the required Rвых and on "Вычислить".
    void offerOnResults(QWidget *caption, QWidget *button);
    void offerOnResult(QLabel *label, const SpeakerResultRow &row);
    void offerOnRequiredRout(QLabel *label);
    void offerOnChart(QWidget *chart);

    // Variant 2's Rвых field of the non-inverting and of the inverting page.
    void setRoutTargets(std::array<Variant2Target, 2> targets) { routTargets = std::move(targets); }
    void setDriverLoad(DriverLoadActions actions) { driverLoad = std::move(actions); }

    // The menu's subject: the page's last valid run, if any.
    struct Subject {
        const SpeakerMenus *menus;
        const SpeakerRun *run;
    };

private:
    void fillResultMenu(QMenu &menu) const;
    void offerOnLabel(QLabel *label, std::function<QString(const SpeakerRun &)> value);
    QString hint() const;
    void copyResults(const SpeakerRun &run) const;
    void exportResponse(const SpeakerRun &run) const;

    static void addRoutToAmplifiers(ActionMenu &menu, const Subject &subject);
    static void addVolumeForTarget(ActionMenu &menu, const Subject &subject);
    static void addValues(ActionMenu &menu, const Subject &subject);
    static void addCopy(ActionMenu &menu, const Subject &subject);
    static void addDriverWindow(ActionMenu &menu, const Subject &subject);
    static void addDriverFiles(ActionMenu &menu, const Subject &subject);
    static bool offersVolume(const Subject &subject);
    static const std::array<MenuAction<Subject>, 6> actions;

    Given page;
    std::array<Variant2Target, 2> routTargets; // non-inverting, inverting
    DriverLoadActions driverLoad;
};
