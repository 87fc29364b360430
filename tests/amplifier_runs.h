#pragma once

#include "amplifier/amplifier_run.h"

// A run of `variant` with its outputs evaluated as the page evaluates them.
inline AmplifierRun runOf(SchemeKind kind, int variant, Network network, double rload,
                          double targetRout = 0, double targetGain = 0) {
    return {kind,
            variant,
            network,
            rload,
            targetRout,
            targetGain,
            networkOutputs(circuitFor(kind), network, rload),
            {},
            {}};
}
