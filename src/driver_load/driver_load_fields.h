#pragma once

#include "driver_load/driver_model.h"
#include "input/window_field.h"

#include <span>

// The inputs the driver-load window adds to the loudspeaker page's run, each with the input it
// sets. The keys of a driver file's values are the file's keys.
struct DriverLoadField : WindowField {
    double DriverLoadInputs::*destination;
};

// The default text of Fb: the field shows the page's Fs, run after run, until the user types a
// value of their own; defaultDriverLoadInputs() takes the page's default Fs.
inline constexpr char pageFsDefault[] = "Fs";
bool followsFs(const DriverLoadField &field);
// The text a field starts with: Fb's is the page's default Fs.
const char *startingText(const DriverLoadField &field);

// Whether the field is one of the vented box's, which count only where it is chosen.
bool ventedOnly(const DriverLoadField &field);

// In the order of the window's fields.
std::span<const DriverLoadField> driverLoadFields();

// The inputs as the fields start: the table's default texts.
DriverLoadInputs defaultDriverLoadInputs();
