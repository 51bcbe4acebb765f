// The designed antenna solved in NEC-2: where the formula's coils make it
// resonate, the coil inductance and the tip length that put the resonance on
// the design frequency, the feed point and 2:1 SWR band of the corrected
// antenna, and how much of the power it radiates.
#pragma once

#include "calc/design_run.h"
#include "nec/design_model.h"
#include "nec/nec2c.h"

#include <optional>
#include <stdexcept>
#include <vector>

namespace tarvix {

// The simulation ran and found no answer to one of its questions.
class SimulationSearchError : public std::runtime_error {
    using runtime_error::runtime_error;
};

inline constexpr double kDefaultZ0 = 50;
// The sweep of --simulate: from 80 % to 120 % of F in steps of 0.5 %. Over
// ground each frequency costs nec2c the ground's Sommerfeld integrals, some
// twenty times a frequency in free space, so the sweep there takes 1 % steps.
inline constexpr int kSimulationSweepPoints = 81;
inline constexpr int kGroundSweepPoints = 41;
// Resonances and band edges are found to this fraction of a frequency, the
// corrected inductance and the tip length to this fraction of themselves.
inline constexpr double kFrequencyTolerance = 1e-5;
inline constexpr double kSizeTolerance = 1e-5;

struct SimulationOptions {
    ModelOptions model;
    double z0Ohm = kDefaultZ0;
};

struct SimulatedPoint {
    double freqMHz = 0;
    double resistanceOhm = 0;
    double reactanceOhm = 0;
    double swr = 0;
};

// One antenna: its coils, its resonance nearest F (none when the reactance
// does not rise through zero within the sweep), its feed point at F and the
// sweep, with the refined points (resonance, band edges) in frequency order.
struct SimulatedAntenna {
    double coilUH = 0;
    double coilOhm = 0;
    std::optional<double> resonanceMHz;
    SimulatedPoint atF;
    double efficiencyPercent = 0; // at F
    std::vector<SimulatedPoint> sweep;
};

struct SwrBand {
    std::optional<double> lowMHz;  // none: below the sweep
    std::optional<double> highMHz; // none: above the sweep
};

struct SimulationResult {
    int segments = 0;
    SimulatedAntenna formula;
    SimulatedAntenna corrected;
    // The corrected inductance wound as the window winds it, when the
    // winding inputs were given.
    std::optional<DesignResult> correctedWinding;
    // With the formula's coils: how much longer (negative: shorter) each tip
    // must be for resonance at F; none when no tip length gives it.
    std::optional<double> tipChangeFt;
    double lossDb = 0;               // of the corrected antenna at F
    std::optional<SwrBand> swr2Band; // none: the SWR never comes down to 2
    int solves = 0;                  // decks nec2c solved
};

// The standing-wave ratio of a load on a line of impedance z0.
double standingWaveRatio(double resistanceOhm, double reactanceOhm, double z0Ohm);

// One antenna solved over the sweep around freqMHz: its resonance nearest
// freqMHz and its feed point and efficiency there.
SimulatedAntenna simulateAntenna(const AntennaModel& model, double freqMHz, double z0Ohm,
                                 Nec2c& engine);

// Solves the design's antenna (its inductance must have been computed, and
// be above zero). winding: the step-2 inputs, for the corrected winding.
// Throws NecDeckError when the antenna cannot be modelled and NecEngineError
// when nec2c fails.
SimulationResult simulateDesign(const DesignResult& design,
                                const std::optional<WindingInputs>& winding,
                                const SimulationOptions& options, Nec2c& engine);

} // namespace tarvix
