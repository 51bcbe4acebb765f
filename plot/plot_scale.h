// The scales of the simulation's plot, apart from any drawing: the span of
// the frequency axis, the reactance panel's range and the parallel
// resonances, which the reactance panel marks instead of scaling to them.
#pragma once

#include "nec/simulation.h"

#include <vector>

namespace tarvix {

// A stretch of the frequency axis.
struct FrequencyView {
    double lowMHz = 0;
    double highMHz = 0;
};

// Both antennas' sweeps from the lowest frequency to the highest. Both sweeps
// must have points.
FrequencyView sweepSpan(const SimulationResult& result);

// Where an antenna's reactance falls through zero as the frequency rises. A
// lossless reactance only rises with frequency (Foster, 1924, the reactance
// theorem), so it falls only through the pole of a parallel resonance, where
// it jumps from +infinity to -infinity; with loss it falls steeply through zero
// there. Between two sweep points, at the zero of the straight line through
// them; a fall of a few ohms is a rounding, not a resonance.
struct ParallelResonance {
    bool corrected = false; // else the formula's antenna
    double freqMHz = 0;
};

std::vector<ParallelResonance> parallelResonances(const SimulationResult& result);

// The reactance panel's range, ohm.
struct ReactanceRange {
    double lowOhm = 0;
    double highOhm = 0;
    bool clipped = false; // some reactance of the sweeps lies beyond it
};

// Scaled to the reactance near F, where a user tunes: the corrected antenna's
// reactance within its 2:1 band (without a band, the middle of its values
// within 5 % of F) and zero, widened by three times that span on each side, and no
// wider than the sweeps' own reactance. A parallel resonance in the sweep,
// thousands of ohms either side, lies outside it and is clipped.
ReactanceRange reactanceRange(const SimulationResult& result, double freqMHz);

} // namespace tarvix
