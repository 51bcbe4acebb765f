// The build sheet: what to cut and wind for a simulated design, and what to
// expect of it, first in the report a builder reads and in the JSON as
// "build_sheet". It needs the winding to build (a former was given).
#pragma once

#include "calc/design_run.h"
#include "nec/simulation.h"
#include "report/design_report.h"

#include <iosfwd>

namespace tarvix {

// Nothing where there is no winding to build, or its coils would reach past
// the tips.
void writeBuildSheetText(std::ostream& out, const DesignResult& design,
                         const SimulationOptions& options, const SimulationResult& result);

// {"wires": {"feed_to_coil_ft", "coil_to_tip_ft", "allowance_in"}, "coil":
// {"turns", "length_in", "wire_length_ft"}, "expect": {"resonance_MHz",
// "swr2_band_MHz", "swr", "efficiency_percent"}, "bench": {"r_ohm", "x_ohm",
// "at_MHz"}}, metric lengths in m and mm; null where there is no winding to
// build. The cut lengths include the allowance.
Json buildSheetJson(const DesignResult& design, const SimulationResult& result);

// The inputs a simulated design was made from, so that a saved report can be
// made again: {"freq_MHz", "total_length_ft", "centre_to_coil_ft",
// "antenna_wire", "antenna_wire_dia_in", and with a winding to build
// "former_dia_in", "coil_wire", "coil_wire_dia_in", "pitch_in" (null: spread
// or close-wound)}, metric lengths in m and mm. The model's own inputs
// (height, insulation, Q, Z0, former kind) are in the simulation's object.
Json simulatedInputsJson(const DesignResult& design, const SimulationOptions& options);

} // namespace tarvix
