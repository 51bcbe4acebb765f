// The coils' impedance across their terminals.
#include "nec/coil_load.h"

#include "calc/units.h"
#include "nec/coil_body.h"
#include "nec/two_port.h"

#include <cmath>
#include <numbers>

namespace tarvix {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// The body of each coil of the model's winding of coilOhm, where it sits in
// its leg.
std::complex<double> bodyOhm(const AntennaModel& model, std::complex<double> coilOhm,
                             double freqMHz) {
    const CoilWinding& winding = model.coilCircuit->winding();
    CoilBody body;
    body.legM = metresFromFeet(model.totalLengthFt / 2);
    body.centreM = metresFromFeet(std::fabs(model.centreToCoilFt));
    body.lengthM = winding.turns * winding.pitchIn * kMetresPerInch;
    body.wireRadiusM = model.wireDiaIn / 2 * kMetresPerInch;
    body.meanRadiusM = (winding.formerDiaIn + winding.wireDiaIn) / 2 * kMetresPerInch;
    return coilBodyOhm(body, freqMHz, coilOhm);
}

// The coil across its terminals, with the loss of the user's Q where given.
std::complex<double> terminalOhm(const AntennaModel& model, const CoilCircuit& circuit,
                                 double freqMHz) {
    if (!model.coilQ) {
        return circuit.impedanceOhm(freqMHz);
    }
    const double reactance = kTwoPi * freqMHz * circuit.atFrequency(freqMHz).inductanceUH;
    return withCapacitanceAcross({reactance / *model.coilQ, reactance}, circuit.capacitancePF(),
                                 freqMHz);
}

} // namespace

std::complex<double> coilLoadOhm(const AntennaModel& model, double freqMHz) {
    if (!model.coilCircuit) {
        return coilImpedance(model.coilUH, model.coilOhm, freqMHz);
    }
    const std::complex<double> coil = terminalOhm(model, *model.coilCircuit, freqMHz);
    return coil + bodyOhm(model, coil, freqMHz);
}

WoundCoil woundCoil(const AntennaModel& model, double freqMHz) {
    const CoilCircuit& circuit = *model.coilCircuit;
    WoundCoil coil;
    coil.winding = circuit.winding();
    coil.atF = circuit.atFrequency(freqMHz);
    coil.lowFrequencyUH = lowFrequencyInductanceUH(coil.winding);
    coil.selfResonanceMHz = selfResonanceMHz(coil.winding);
    coil.selfCapacitancePF = circuit.capacitancePF();
    const CoilAtTerminals terminals = circuit.atTerminals(freqMHz);
    coil.analyzerOhm = {terminals.analyzerROhm, terminals.analyzerXOhm};
    coil.apparentUH = terminals.apparentInductanceUH;
    coil.bodyUH =
        bodyOhm(model, terminalOhm(model, circuit, freqMHz), freqMHz).imag() / (kTwoPi * freqMHz);
    return coil;
}

} // namespace tarvix
