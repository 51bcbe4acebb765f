// The coils' impedance across their terminals.
#include "nec/coil_load.h"

#include <numbers>

namespace tarvix {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

double omegaPerMHz(double freqMHz) {
    return kTwoPi * freqMHz * 1e6;
}

} // namespace

std::complex<double> withCapacitanceAcross(std::complex<double> seriesOhm, double pF,
                                           double freqMHz) {
    // Z / (1 + j w C Z): the series branch in parallel with the capacitance.
    const std::complex<double> jwc(0, omegaPerMHz(freqMHz) * pF * 1e-12);
    return seriesOhm / (1.0 + jwc * seriesOhm);
}

std::complex<double> coilLoadOhm(const AntennaModel& model, double freqMHz) {
    if (!model.coilCircuit) {
        return {model.coilOhm, kTwoPi * freqMHz * model.coilUH}; // MHz times uH is ohms
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
    coil.analyzerOhm = circuit.impedanceOhm(freqMHz);
    coil.apparentUH = coil.analyzerOhm.imag() / (kTwoPi * freqMHz);
    return coil;
}

} // namespace tarvix
