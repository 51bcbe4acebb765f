// What each coil carries at the transmitter's power: a block of sentences
// after the radiation efficiency, with what to change where the winding runs
// hot or its turns see more voltage than air stands, and the "power" objects
// of the JSON report.
#pragma once

#include "nec/simulation.h"
#include "report/design_report.h"

#include <iosfwd>

namespace tarvix {

void writePowerText(std::ostream& out, const SimulationOptions& options,
                    const SimulationResult& result);

// simulation.power: the power, the mode and the corrected coil's figures;
// null where the two-port did not hold F.
Json powerJson(const SimulationOptions& options, const SimulationResult& result);
// A checked winding's figures at the same power, or null.
Json stressJson(const std::optional<CoilStress>& stress);

} // namespace tarvix
