// A wire's box given another way: a gauge as its diameter, a diameter as
// its gauge, as the check window converts it when the kind is switched. No Qt
// here, so the conversion is tested without a window.
#pragma once

#include "calc/units.h"
#include "check/check_inputs.h"

#include <optional>

namespace tarvix {

// The same wire given another way: a gauge as its diameter in the coil
// units, or a diameter (or a gauge of the other table) as the gauge whose
// diameter it is to the three significant digits the window shows. None when
// the text is no wire, or when no gauge of the table has that diameter.
std::optional<double> wireValueAs(const WireText& wire, WireBy to, bool antenna, Units units,
                                  char decimalSeparator);

} // namespace tarvix
