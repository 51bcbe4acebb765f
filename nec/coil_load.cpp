// The coils' impedance across their terminals.
#include "nec/coil_load.h"

#include "nec/two_port.h"

#include <numbers>

namespace tarvix {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

} // namespace

std::complex<double> coilLoadOhm(const AntennaModel& model, double freqMHz) {
    if (!model.coilCircuit) {
        return coilImpedance(model.coilUH, model.coilOhm, freqMHz);
    }
    const CoilCircuit& circuit = *model.coilCircuit;
    if (!model.coilQ) {
        return circuit.impedanceOhm(freqMHz);
    }
    const double reactance = kTwoPi * freqMHz * circuit.atFrequency(freqMHz).inductanceUH;
    return withCapacitanceAcross({reactance / *model.coilQ, reactance}, circuit.capacitancePF(),
                                 freqMHz);
}

WoundCoil woundCoil(const CoilCircuit& circuit, double freqMHz) {
    WoundCoil coil;
    coil.winding = circuit.winding();
    coil.atF = circuit.atFrequency(freqMHz);
    coil.lowFrequencyUH = lowFrequencyInductanceUH(coil.winding);
    coil.selfResonanceMHz = selfResonanceMHz(coil.winding);
    coil.selfCapacitancePF = circuit.capacitancePF();
    const CoilAtTerminals terminals = circuit.atTerminals(freqMHz);
    coil.analyzerOhm = {terminals.analyzerROhm, terminals.analyzerXOhm};
    coil.apparentUH = terminals.apparentInductanceUH;
    return coil;
}

} // namespace tarvix
