#pragma once

#include "driver_load/driver_model.h"
#include "ui/following_windows.h"

#include <cstddef>
#include <string>
#include <vector>

class DriverWindow;
class ToleranceWindow;

// The inputs of the windows of their own as a design keeps them: texts in the order of each
// window's field table, read from the window once it is made. Until then the texts a design or a
// driver file gave are kept here, and the driver window's values with them (the other menus take
// Le from those); a value set there in another way (the Rт of a hand-over) shows as the window
// would show it.
class WindowInputs {
public:
    WindowInputs(const FollowingWindows &windows, DriverLoadInputs &driverInputs);

    std::vector<std::string> driverTexts() const;
    // As typed into the field; `clamped`: a bound that replaced a value beyond it, marked yellow.
    void setDriverText(std::size_t row, const std::string &text, bool clamped = false);
    // The driver window's «Ящик».
    BoxKind driverBox() const;
    void setDriverBox(BoxKind box);
    std::vector<std::string> toleranceTexts() const;
    void setToleranceText(std::size_t row, const std::string &text);

    // A window just made takes the texts kept for it.
    void fill(DriverWindow &window) const;
    void fill(ToleranceWindow &window) const;

private:
    std::string keptDriverText(std::size_t row) const;

    const FollowingWindows &windows;
    DriverLoadInputs &kept;
    std::vector<std::string> driverGiven, toleranceGiven;
};
