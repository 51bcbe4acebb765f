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

// The body of each coil of the model's winding, where it sits in its leg.
CoilBody bodyOf(const AntennaModel& model, const CoilWinding& winding) {
    CoilBody body;
    body.legM = metresFromFeet(model.totalLengthFt / 2);
    body.centreM = metresFromFeet(std::fabs(model.centreToCoilFt));
    body.lengthM = winding.turns * winding.pitchIn * kMetresPerInch;
    body.wireRadiusM = model.wireDiaIn / 2 * kMetresPerInch;
    body.meanRadiusM = (winding.formerDiaIn + winding.wireDiaIn) / 2 * kMetresPerInch;
    return body;
}

} // namespace

std::complex<double> coilLoadOhm(const AntennaModel& model, double freqMHz) {
    if (!model.coilCircuit) {
        return coilImpedance(model.coilUH, model.coilOhm, freqMHz);
    }
    const CoilCircuit& circuit = *model.coilCircuit;
    std::complex<double> coil = circuit.impedanceOhm(freqMHz);
    if (model.coilQ) {
        const double reactance = kTwoPi * freqMHz * circuit.atFrequency(freqMHz).inductanceUH;
        coil = withCapacitanceAcross({reactance / *model.coilQ, reactance}, circuit.capacitancePF(),
                                     freqMHz);
    }
    return coil + coilBodyOhm(bodyOf(model, circuit.winding()), freqMHz, coil);
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
