#pragma once

#include "project/design_record.h"

#include <string>
#include <vector>

// A driver file's values as the fields take them: page 3's Fs, Re, Qms, Qes and Vas and the
// driver window's Le, Sd and Xmax (and Pe, where the window takes it), each with at most six
// significant digits in the field's unit; a value beyond a field's range is replaced by the
// bound it broke, as the field's check replaces a typed one.
struct ImportedValue {
    DriverValue value;
    DriverValuePlace place;
    std::string text;     // what the field gets
    std::string fileText; // the file's value in the field's unit
    bool clamped;
};

struct DriverImport {
    std::vector<ImportedValue> values;
    std::vector<DriverValue> missing; // the window's values the file lacks: their fields stay
};

DriverImport importDriver(const DriverFile &driver);

// The driver as the notice names it: the file's brand and model as they are («00 AE SB12-8ohm»).
std::string driverTitle(const DriverFile &driver);

// What the import did, in Russian: the driver and the file, then the values replaced by a bound
// and those the file lacks; `detailed` is false when there are none of either.
struct ImportNotice {
    std::string text;
    bool detailed;
};
ImportNotice importNotice(const DriverFile &driver, const DriverImport &import,
                          const std::string &file);
