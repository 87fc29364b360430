#pragma once

#include "input/hand_over_field.h"
#include "ui/action_menu.h"

#include <QString>
#include <array>

class QLabel;
class QWidget;
class SpeakerPage;
struct SpeakerResultRow;
struct SpeakerRun;

// What the loudspeaker page offers beyond its calculation: the results' menu (on the results,
// the caption of the required Rвых and, for the keyboard, "Вычислить"), their tooltips and copy;
// and the chart's menu, which exports both curves as FRD files or copies them as a table, and
// the impedance as a ZMA file; both open the window «Динамик и усилитель».
class SpeakerMenus {
public:
    explicit SpeakerMenus(SpeakerPage &page) : page(page) {}

    // How the chart's menu opens and what it offers, under every readout of the chart.
    static const QString chartMenuHint;

    // The results' menu on the caption of the required Rвых and on "Вычислить".
    void offerOnResults(QWidget *caption, QWidget *button);
    void offerOnResult(QLabel *label, const SpeakerResultRow &row);
    void offerOnRequiredRout(QLabel *label);
    void offerOnChart(QWidget *chart);

    // Variant 2's Rвых field of the non-inverting and of the inverting page.
    void setRoutTargets(HandOver nonInverting, HandOver inverting);
    const std::array<HandOver, 2> &amplifierTargets() const { return routTargets; }

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
    static bool offersVolume(const Subject &subject);
    static const std::array<MenuAction<Subject>, 5> actions;

    SpeakerPage &page;
    std::array<HandOver, 2> routTargets; // non-inverting, inverting
};
