// Each loading coil as the antenna and the builder see it: across its
// terminals a winding is its series loss and inductance with its
// self-capacitance in parallel, so at F it acts as more inductance than it has
// (L / (1 - w^2 L C) while its loss is small), and an impedance analyzer
// across it reads that.
#pragma once

#include "calc/coil_model.h"
#include "nec/nec_deck.h"

#include <complex>

namespace tarvix {

// The impedance of each coil of the model at freqMHz: an ideal inductance with
// its series loss, or its winding across its terminals with its body where it
// sits in the leg (coil_body.h).
std::complex<double> coilLoadOhm(const AntennaModel& model, double freqMHz);

// A winding and what it has at the design frequency: its inductance and series
// loss without the self-capacitance (atF), what an LCR meter reads at low
// frequency, its self-capacitance and self-resonance, and across its
// terminals what an impedance analyzer reads at F, as R + jX and as the
// apparent inductance X / w. In the antenna its body (coil_body.h) acts as
// more inductance than an analyzer reads: bodyUH at F.
struct WoundCoil {
    CoilWinding winding;
    CoilAtFrequency atF;
    double lowFrequencyUH = 0;
    double selfResonanceMHz = 0;
    double selfCapacitancePF = 0;
    std::complex<double> analyzerOhm;
    double apparentUH = 0;
    double bodyUH = 0;
};
// The winding of the model's coils (it has one) at freqMHz, its body where it
// sits in the model's legs.
WoundCoil woundCoil(const AntennaModel& model, double freqMHz);

} // namespace tarvix
