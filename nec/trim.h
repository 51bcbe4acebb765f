// From a measured resonance to what to change. The antenna as built (the
// winding of the build sheet on the design's wire) resonates in the model on
// F, but the real one resonates where the user measured it: ground, nearby
// objects, the feed line and the real wire move it. The model is fitted to
// the measurement by one unknown, and the fitted model says how far each
// remedy must go to bring the resonance back to F.
#pragma once

#include "nec/simulation.h"

#include <optional>
#include <string>

namespace tarvix {

// What the fitted model says after one remedy.
struct TrimEffect {
    std::optional<double> resonanceMHz;
    std::optional<SwrBand> swr2Band; // none: never 2:1
    double efficiencyPercent = 0;
};

struct TrimResult {
    double measuredMHz = 0;
    // The fitted unknown: the antenna behaves as if its wire, coils' places
    // included, were this many times as long as built. Surroundings load an
    // antenna as extra length does, so one scale stands for them all.
    double lengthScale = 1;
    SimulatedPoint atMeasured; // the fitted model's feed point at the measured frequency

    // Each remedy on its own, or the reason it cannot reach F.
    std::optional<double> turnsChange; // at the present pitch, to a quarter turn
    std::string turnsReason;
    std::optional<double> windingLengthIn; // the present turns spread or squeezed
    std::string spreadReason;
    std::optional<double> tipChangeFt; // each tip, as built; negative: shorter
    std::string tipReason;
    std::optional<TrimEffect> afterTurns;
    std::optional<TrimEffect> afterSpread;
    std::optional<TrimEffect> afterTip;

    // For the next trim: how far the resonance moves for a quarter turn more
    // and for an inch more of each tip (kHz, negative: down).
    double khzPerQuarterTurn = 0;
    double khzPerInchOfTip = 0;
    int solves = 0;
};

// The antenna as built from simulation's build sheet (which must have a
// winding), fitted to resonate at measuredMHz. Throws SimulationSearchError
// when no length scale between a half and twice makes the model resonate
// there, NecDeckError and NecEngineError as the simulation does.
TrimResult trimToMeasurement(const DesignResult& design, const SimulationOptions& options,
                             const SimulationResult& simulation, double measuredMHz,
                             NecEngine& engine);

} // namespace tarvix
