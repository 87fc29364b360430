#pragma once

#include "driver_load/driver_model.h"

#include <optional>

// F3 of the level from E behind `source` ohms: the lowest frequency from 1 Hz to 20 kHz at which
// the level reaches half the power of its pass band, passbandLevel − 3,01 dB, as the page's F3
// is taken; to a relative 1e-9. None where it stays below.
std::optional<double> driverF3(const DriverModel &model, const Coil &coil, double source);
