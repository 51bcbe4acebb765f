// How a simulation is shown: a "Simulated" block of plain sentences after the
// design's own report, or the "simulation" object of the JSON report.
#pragma once

#include "calc/units.h"
#include "nec/simulation.h"
#include "nec/trim.h"
#include "report/design_report.h"

#include <iosfwd>
#include <string>

namespace tarvix {

// heightControl: what the user sets to model the ground, named in the hint
// given for an antenna in free space.
void writeSimulationText(std::ostream& out, const DesignResult& design,
                         const SimulationOptions& options, const SimulationResult& result,
                         const std::string& heightControl = "--height");

// Lengths in the design's units, with the unit in each key: height_ft or
// height_m, insulation_in or _mm, tip_change_ft or _m, revised_length_in or
// _mm.
Json simulationJson(const SimulationOptions& options, const SimulationResult& result, Units units);

// The whole JSON report of tarvix-design --json: the design's object with the
// simulation's under "simulation" when there is one (and a trim's under
// "trim"), two spaces deep, ending
// in a new line.
std::string reportJsonText(const DesignResult& design, const SimulationOptions& options,
                           const SimulationResult* simulation, const TrimResult* trim = nullptr);

// Feet and inches to the nearest quarter inch, as a tape is read along a
// wire: "1 ft 3 1/4 in", "4 1/2 in", "3/4 in".
std::string feetAndInches(double feet);

} // namespace tarvix
