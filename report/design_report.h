// How one design is shown: as text for a person or as one JSON object.
#pragma once

#include "calc/design_run.h"

#include <iosfwd>
#include <nlohmann/json.hpp>

namespace tarvix {

// Keys in the order they are documented, so that the output reads the same
// every time.
using Json = nlohmann::ordered_json;

// A whole number (a turn count) as a JSON integer while it is exactly one.
Json wholeNumber(double value);

// units ("imperial" or "metric"), inductance_uH, inductance_display, the
// step-2 keys when step 2 ran (turns, revised_length_in or _mm, message,
// passes), warnings, and fault and stage when a stage faulted. Only what was
// computed is present.
Json designJson(const DesignResult& design);

// The inductance as the window shows it and at full precision, then the turns
// and the revised length line when step 2 ran: the window's "Revised length =
// ... inch", or the same in mm for a metric design. Stops where a fault
// stopped the design; the fault itself goes to standard error. simulated:
// a simulation's report follows, and the full precision line is left out:
// the coil to build is the simulation's, given there to the figures a
// builder measures, and the formula's inductance beside it; its every digit
// stays in the JSON report.
void writeDesignText(std::ostream& out, const DesignResult& design, bool simulated = false);

} // namespace tarvix
