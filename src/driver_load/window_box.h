#pragma once

#include "driver_load/vented_box.h"

#include <optional>

// The loudspeaker in the box the window chooses, closed or vented, as every curve, figure and
// file of the window takes it: one point of the model whichever the box.

// The vented box of the window's inputs in SI units, Vb the page's; none for the closed box.
std::optional<VentedBox> windowBox(const SpeakerRun &run, const DriverLoadInputs &inputs);

// The driver at frequency f in the box, from E behind `source` ohms.
struct BoxPoint {
    DriverPoint cone; // impedance, current and the cone's motional voltage
    // The same with the motional voltage of what radiates, the cone's in the closed box, the
    // cone's, the port's and the leaks' together in the vented one: soundLevel and pressurePhase
    // take it.
    DriverPoint radiated;
    double portSpeed; // the port's peak air speed, m/s; 0 in the closed box
};
BoxPoint boxPoint(const DriverModel &model, const Coil &coil, const std::optional<VentedBox> &box,
                  double source, double f);

// F3 of the box's level, as driverF3 and ventedF3 take it.
std::optional<double> boxF3(const DriverModel &model, const Coil &coil,
                            const std::optional<VentedBox> &box, double source);

// The driver in the window's box as circuit elements for a netlist, with the coil of the window's
// Le, cold.
DriverCircuit windowCircuit(const SpeakerRun &run, const DriverLoadInputs &inputs);
