// The advice for a poor design, as a sentence of the simulation's text and
// as the "advice" object of its JSON.
#pragma once

#include "calc/units.h"
#include "nec/simulation.h"
#include "report/design_report.h"

#include <iosfwd>

namespace tarvix {

// "Advice: ..." with why, what helps and the larger former's figures; nothing
// when the design is fine.
void writeAdviceText(std::ostream& out, const SimulationOptions& options,
                     const SimulationResult& result, Units units);

// null when the design is fine; else low_efficiency (below
// efficiency_below_percent), amateur_band (its name, low_MHz, high_MHz, where
// the 2:1 band is narrower than it; else null) and larger_former (null where
// not computed; else former_dia_in or _mm, turns, pitch_in or _mm, length_in
// or _mm, inductance_uH, efficiency_percent, swr, swr2_band_MHz {low, high}
// or null).
Json adviceJson(const SimulationResult& result, Units units);

} // namespace tarvix
