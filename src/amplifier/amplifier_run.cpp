#include "amplifier/amplifier_run.h"

NetworkOutputs networkOutputs(const AmplifierCircuit &circuit, const Network &network,
                              double rload) {
    const LoadStep step = circuit.loadStep(network, rload);
    return {step.gain, outputResistance(step)};
}
