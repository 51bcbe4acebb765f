// Metric lengths beside the window's feet and inches. The calculations always
// work in feet (the antenna) and inches (the coil and the wires); a design
// given in metres and millimetres is converted on the way in and its lengths
// on the way out.
#pragma once

#include <string>

namespace tarvix {

// Exact by definition of the international foot and inch.
inline constexpr double kMetresPerFoot = 0.3048;
inline constexpr double kMillimetresPerInch = 25.4;
inline constexpr double kCentimetresPerInch = 2.54;
inline constexpr double kMetresPerInch = 0.0254;
inline constexpr double kInchesPerFoot = 12;

constexpr double feetFromMetres(double metres) {
    return metres / kMetresPerFoot;
}
constexpr double metresFromFeet(double feet) {
    return feet * kMetresPerFoot;
}
constexpr double inchesFromMillimetres(double millimetres) {
    return millimetres / kMillimetresPerInch;
}
constexpr double millimetresFromInches(double inches) {
    return inches * kMillimetresPerInch;
}

// The units a user gives and reads lengths in: antenna lengths (A, B, a
// height) in feet or metres, coil sizes and wire diameters in inches or
// millimetres.
enum class Units { FeetAndInches, Metric };

// "ft" or "m".
const char* antennaUnitName(Units units);
// "in" or "mm".
const char* coilUnitName(Units units);

// Between the user's units and the calculations' feet and inches. Lengths in
// metres and millimetres come to fifteen significant figures, without what
// the conversion leaves in the last bits.
double feetFromAntennaUnit(double value, Units units);
double inchesFromCoilUnit(double value, Units units);
double antennaUnitFromFeet(double feet, Units units);
double coilUnitFromInches(double inches, Units units);

// The revised coil length as reported. The winding rounds it down to 0.1 inch
// on every pass, in inches as the window does; in millimetres that final value
// is converted and rounded to the nearest 0.1 mm. A tenth of an inch is
// 2.54 mm, so no such value ever lies halfway between two tenths.
double reportedCoilLength(double revisedLengthIn, Units units);

// The revised length with its unit, as the window and every report state it:
// "0.2 inch", or for a metric design the reported millimetres, "5.1 mm".
std::string revisedLengthText(double revisedLengthIn, Units units);

} // namespace tarvix
