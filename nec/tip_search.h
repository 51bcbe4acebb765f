// The tip search: keeping the coils, how much longer (negative: shorter) each
// tip must be for resonance at F. The reactance at F rises with the tip, so
// the direct search steps away from the formula's tips to the rising crossing
// and closes in on it by false position; the model search fits a quadratic
// through the formula's tips and tips a tenth shorter and longer, and checks
// its root by a solve. Internal to nec/.
#pragma once

#include "nec/direct_search.h"
#include "nec/model_search.h"

#include <optional>

namespace tarvix::nec_detail {

// The reactance at F of an antenna with its tips a tenth shorter and longer.
struct TipNeighbours {
    double shorterOhm = 0;
    double longerOhm = 0;
};

// The model with each tip tipFt long.
AntennaModel withTip(const AntennaModel& model, double tipFt);

// Solved side by side; none where such a tip cannot be modelled.
std::optional<TipNeighbours> tipNeighbours(const AntennaModel& model, double freqMHz, double z0Ohm,
                                           NecEngine& engine);

// By solves alone. solvedAtF: the model solved at F, where the caller has it.
// None where no tip length gives resonance at F, or the tips would be too
// short to model.
std::optional<double> directTipChange(const DirectSearch& direct, const AntennaModel& model,
                                      std::optional<SimulatedPoint> solvedAtF);

// By the quadratic through the neighbours and the model's reactance at F,
// checked by a solve; none where it is not to be trusted.
std::optional<double> modelledTipChange(const ModelSearch& search, const DirectSearch& direct,
                                        const AntennaModel& model, const TipNeighbours& neighbours);

} // namespace tarvix::nec_detail
