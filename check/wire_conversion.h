// A wire's box given another way: a gauge as its diameter, a diameter as
// its gauge, as the check window converts it when the kind is switched. No Qt
// here, so the conversion is tested without a window.
#pragma once

#include "calc/units.h"
#include "check/check_inputs.h"

#include <array>
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

// A wire's box switched to another way of giving the wire, as the check
// window (and the browser's page) switch it: the text written in the new
// way, three significant digits with the user's decimal separator; or why
// there is none: the text is no wire (left for its note to say so), a
// diameter no gauge of the table has (it stays a diameter), or a gauge with
// no twin in the other table (the box is emptied, never read as another
// wire).
struct WireSwitch {
    enum class Outcome { NoWire, Converted, KeptAsDiameter, Cleared };
    Outcome outcome = Outcome::NoWire;
    std::string text; // when converted
};
WireSwitch switchedWire(const WireText& wire, WireBy to, bool antenna, Units units,
                        char decimalSeparator);

// The boxes that hold a length, and whether it is one of the antenna's (feet
// or metres) or of the coil's (inches or millimetres). A wire given by its
// diameter is a coil length too.
struct LengthBox {
    CheckField field;
    std::string CheckTexts::*text;
    bool antennaLength;
};
inline constexpr std::array<LengthBox, 9> kLengthBoxes{{
    {CheckField::TotalLength, &CheckTexts::totalLength, true},
    {CheckField::CentreToCoil, &CheckTexts::centreToCoil, true},
    {CheckField::Height, &CheckTexts::height, true},
    {CheckField::EndHeight, &CheckTexts::endHeight, true},
    {CheckField::FeedLineLength, &CheckTexts::feedLineLength, true},
    {CheckField::Insulation, &CheckTexts::insulation, false},
    {CheckField::FormerDia, &CheckTexts::formerDia, false},
    {CheckField::Pitch, &CheckTexts::pitch, false},
    {CheckField::CoilLength, &CheckTexts::coilLength, false},
}};

} // namespace tarvix
