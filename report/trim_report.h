// How a trim is shown: a "Trim" block of plain sentences after the
// simulation's, or the "trim" object of the JSON report.
#pragma once

#include "calc/units.h"
#include "nec/simulation_request.h"
#include "nec/trim.h"
#include "report/design_report.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace tarvix {

void writeTrimText(std::ostream& out, const DesignResult& design, const SimulationOptions& options,
                   const SimulationResult& simulation, const TrimResult& trim,
                   const MeasuredReadings& readings);

// Lengths in the design's units: winding_length_in or _mm, tip_change_ft or
// _m, khz_per_inch_of_tip or khz_per_cm_of_tip.
Json trimJson(const TrimResult& trim, Units units);

// The whole report of a simulation as the terminal prints it and the windows
// show it: the build sheet first, then the design, the simulation, and the
// trim where a resonance was measured. heightControl as writeSimulationText's.
void writeSimulatedReportText(std::ostream& out, const DesignResult& design,
                              const SimulationOptions& options, const SimulationResult& simulation,
                              const TrimResult* trim, const MeasuredReadings& readings,
                              const std::string& heightControl = "--height");

} // namespace tarvix
