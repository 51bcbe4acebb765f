// Unit names and conversions for the user's units.
#include "calc/units.h"

#include "calc/char_conv.h"
#include "calc/number_text.h"

#include <cmath>
#include <string>

namespace tarvix {

const char* antennaUnitName(Units units) {
    return units == Units::Metric ? "m" : "ft";
}

const char* coilUnitName(Units units) {
    return units == Units::Metric ? "mm" : "in";
}

double feetFromAntennaUnit(double value, Units units) {
    return units == Units::Metric ? feetFromMetres(value) : value;
}

double inchesFromCoilUnit(double value, Units units) {
    return units == Units::Metric ? inchesFromMillimetres(value) : value;
}

namespace {

// A length given in metres and kept in feet comes back with the last bits of
// the conversion: 12 m is 39.37007874015748 ft, which is 12.000000000000002 m.
// Its number text, to fifteen significant figures, reads 12 again.
double withoutConversionNoise(double value) {
    const std::string text = numberText(value);
    double figure = value;
    fromChars(text.data(), text.data() + text.size(), figure);
    return figure;
}

} // namespace

double antennaUnitFromFeet(double feet, Units units) {
    return units == Units::Metric ? withoutConversionNoise(metresFromFeet(feet)) : feet;
}

double coilUnitFromInches(double inches, Units units) {
    return units == Units::Metric ? withoutConversionNoise(millimetresFromInches(inches)) : inches;
}

double reportedCoilLength(double revisedLengthIn, Units units) {
    if (units != Units::Metric) {
        return revisedLengthIn;
    }
    return std::round(millimetresFromInches(revisedLengthIn) * 10) / 10;
}

std::string revisedLengthText(double revisedLengthIn, Units units) {
    // The window names its unit in full.
    return numberText(reportedCoilLength(revisedLengthIn, units))
        .append(units == Units::Metric ? " mm" : " inch");
}

} // namespace tarvix
