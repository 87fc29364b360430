#pragma once

#include "driver_load/driver_model.h"

class QWidget;

// The loudspeaker's curves for box and crossover tools, each into the file the save dialog
// chooses (driver_load_export.h), with the word after at `control`: the impedance as a ZMA file,
// the level at the run's Rвых as an FRD file, each of the box the inputs choose.
void exportImpedance(QWidget *control, const SpeakerRun &run, const DriverLoadInputs &inputs);
void exportLevel(QWidget *control, const SpeakerRun &run, const DriverLoadInputs &inputs);
