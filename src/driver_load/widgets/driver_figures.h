#pragma once

#include "driver_load/driver_load_view.h"

#include <QString>
#include <array>
#include <functional>

class DriverWindowMenus;
class QGroupBox;
class QLabel;
class QWidget;

// The figures of the window «Динамик и усилитель» (driverResults), as DriverResult1 … 21, in two
// boxes: what the amplifier's Rвых gives and delivers and what the heat costs, under the charts,
// with the advice where the target Qtc is out of reach and a line on the menu; and the limits,
// beside the charts. The vented box's figures, B4 in a fourth column under the charts and the
// Rвых without a rise and the port beside them, show for the vented box alone. Tab reaches every
// figure, so that the keyboard opens the menu there and screen readers read it, with its tooltip as
// its description.
class DriverFigures {
public:
    // `tip` is a figure's tooltip, by its index, as the window gives it.
    DriverFigures(QWidget *window, DriverWindowMenus &menus,
                  std::function<QString(std::size_t)> tip);

    QGroupBox *results() const { return resultsBox; }
    QGroupBox *limits() const { return limitsBox; }

    // The captions, the Rвых's for the target Qtc.
    void nameFigures(double targetQtc);
    void show(const DriverLoadRun &computed);
    // The vented box's figures shown or hidden.
    void showVented(bool vented);
    // Dashes in place of every figure, the advice gone.
    void clear();

private:
    QGroupBox *resultsBox = nullptr;
    QGroupBox *limitsBox = nullptr;
    QWidget *vented = nullptr; // the column of B4's figures
    std::array<QLabel *, driverResultCount> captions{};
    std::array<QLabel *, driverResultCount> values{};
    QLabel *advice = nullptr;
};
