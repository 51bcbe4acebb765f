// A wire's box given another way: a gauge as its diameter, a diameter as
// its gauge, as the check window converts it when the kind is switched. No Qt
// here, so the conversion is tested without a window.
#pragma once

#include "calc/units.h"
#include "check/check_inputs.h"

#include <optional>
#include <string>

namespace tarvix {

// The same wire given another way: a gauge as its diameter in the coil
// units, or a diameter (or a gauge of the other table) as the gauge whose
// diameter it is to the three significant digits the window shows. None when
// the text is no wire, or when no gauge of the table has that diameter.
std::optional<double> wireValueAs(const WireText& wire, WireBy to, bool antenna, Units units,
                                  char decimalSeparator);

// A length typed in one unit system, written in the other as the check window
// writes it when the units change: to six significant digits, with a point.
// antennaLength: feet and metres (the antenna, its heights, the feed line),
// else inches and millimetres (the coil, the wires, the insulation). None for
// a text that is no number, which is left as typed.
std::optional<std::string> lengthInUnits(const std::string& typed, bool antennaLength, Units from,
                                         Units to, char decimalSeparator);

// A wire's value as the check window writes it in its box: three significant
// digits, with the user's decimal separator.
std::string wireValueText(double value, char decimalSeparator);

} // namespace tarvix
