#pragma once

#include <optional>
#include <string>

// A loudspeaker in a closed box as an electrical two-terminal: the voice coil's Re and Le in
// series with the motional branch, Res ∥ Lces ∥ Cmes, across which the back EMF Bl·u appears.
// The loudspeaker side computes it, the amplifier side puts it in a netlist; neither knows the
// other.
struct DriverCircuit {
    double re;   // Ω
    double le;   // H; 0 for a coil without inductance
    double res;  // Ω, the mechanical losses
    double lces; // H, the suspension and the box air together
    double cmes; // F, the moving mass
    // A vented box adds its air across the motional branch, in series: the box compliance as
    // Lceb, the port's air mass as Cep, the box losses as Rel. None for a closed box, whose air
    // is in Lces.
    struct Vent {
        double lceb; // H
        double cep;  // F
        double rel;  // Ω
    };
    std::optional<Vent> vent = std::nullopt;
};

// How the loudspeaker is driven and heard, so that a netlist prints the figures the loudspeaker
// side shows: from E behind the amplifier's output resistance, the level at 1 m.
struct DriverDrive {
    double e; // the amplifier's open-circuit voltage, V RMS
    // The level at 1 m in dB is levelOffset + 20·lg(f·|V|), V the voltage across the motional
    // branch in V RMS, f in Hz.
    double levelOffset;
};

// The loudspeaker a netlist can drive, as the main window hands it from the loudspeaker page to
// the amplifier pages: its circuit and drive, or why there is none.
struct DriverOffer {
    std::optional<DriverCircuit> circuit;
    DriverDrive drive{};
    std::string whyNone;
};
