// Unit names and conversions for the user's units.
#include "calc/units.h"

#include "calc/number_text.h"

#include <cmath>

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

double antennaUnitFromFeet(double feet, Units units) {
    return units == Units::Metric ? metresFromFeet(feet) : feet;
}

double coilUnitFromInches(double inches, Units units) {
    return units == Units::Metric ? millimetresFromInches(inches) : inches;
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
