#include "amplifier/amplifier_run.h"

#include <cassert>

const AmplifierCircuit &circuitFor(SchemeKind kind) {
    assert(kind != SchemeKind::None);
    return kind == SchemeKind::Inverting ? invertingCircuit : nonInvertingCircuit;
}

NetworkOutputs networkOutputs(const AmplifierCircuit &circuit, const Network &network,
                              double rload) {
    const LoadStep step = circuit.loadStep(network, rload);
    return {step.gain, outputResistance(step)};
}
