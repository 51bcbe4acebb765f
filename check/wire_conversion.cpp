// Converting a wire between gauge and diameter: the SWG table of
// calc/wire_gauge and the AWG formula, compared at the digits the window
// shows.
#include "check/wire_conversion.h"

#include "calc/char_conv.h"
#include "calc/wire_gauge.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string>

namespace tarvix {

namespace {

// A wire's bare diameter in inches: none for a text that is no wire.
std::optional<double> wireDiameterIn(const WireText& wire, bool antenna, Units units,
                                     char separator) {
    const std::optional<double> value = readLocalNumber(wire.text, separator);
    if (!value) {
        return std::nullopt;
    }
    switch (wire.by) {
    case WireBy::Swg:
        return antenna ? antennaWireDiameter(*value) : coilWireDiameter(*value);
    case WireBy::Awg:
        return awgWireDiameter(*value);
    case WireBy::Diameter:
        break;
    }
    if (!(*value > 0)) {
        return std::nullopt;
    }
    return inchesFromCoilUnit(*value, units);
}

// Two diameters the window shows alike: equal to three significant digits.
bool sameToThreeDigits(double a, double b) {
    const auto digits = [](double value) {
        std::array<char, 32> buffer{};
        const auto end = toChars(buffer.data(), buffer.data() + buffer.size(), value,
                                 std::chars_format::general, 3);
        return std::string(buffer.data(), end.ptr);
    };
    return digits(a) == digits(b);
}

} // namespace

std::optional<double> wireValueAs(const WireText& wire, WireBy to, bool antenna, Units units,
                                  char decimalSeparator) {
    const std::optional<double> diameterIn = wireDiameterIn(wire, antenna, units, decimalSeparator);
    if (!diameterIn) {
        return std::nullopt;
    }
    if (wire.by == to) {
        return readLocalNumber(wire.text, decimalSeparator);
    }
    const double shown = coilUnitFromInches(*diameterIn, units);
    if (to == WireBy::Diameter) {
        return shown;
    }
    const auto matches = [&](std::optional<double> gaugeIn) {
        return gaugeIn && sameToThreeDigits(coilUnitFromInches(*gaugeIn, units), shown);
    };
    if (to == WireBy::Swg) {
        for (const GaugeRow& row : kGaugeTable) {
            if (matches(antenna ? row.antennaWireDiaIn : row.coilWireDiaIn)) {
                return row.swg;
            }
        }
        return std::nullopt;
    }
    for (int awg = kMinAwg; awg <= kMaxAwg; ++awg) {
        if (matches(awgWireDiameter(awg))) {
            return awg;
        }
    }
    return std::nullopt;
}

namespace {

std::string generalText(double value, int digits) {
    std::array<char, 40> buffer{};
    const auto end = toChars(buffer.data(), buffer.data() + buffer.size(), value,
                             std::chars_format::general, digits);
    return std::string(buffer.data(), end.ptr);
}

} // namespace

std::optional<std::string> lengthInUnits(const std::string& typed, bool antennaLength, Units from,
                                         Units to, char decimalSeparator) {
    const std::optional<double> value = readLocalNumber(typed, decimalSeparator);
    if (!value) {
        return std::nullopt;
    }
    const double converted = antennaLength
                                 ? antennaUnitFromFeet(feetFromAntennaUnit(*value, from), to)
                                 : coilUnitFromInches(inchesFromCoilUnit(*value, from), to);
    return generalText(converted, 6);
}

WireSwitch switchedWire(const WireText& wire, WireBy to, bool antenna, Units units,
                        char decimalSeparator) {
    using Outcome = WireSwitch::Outcome;
    if (!wireValueAs(wire, wire.by, antenna, units, decimalSeparator)) {
        return {Outcome::NoWire, {}};
    }
    if (const auto value = wireValueAs(wire, to, antenna, units, decimalSeparator)) {
        std::string text = generalText(*value, 3);
        std::replace(text.begin(), text.end(), '.', decimalSeparator);
        return {Outcome::Converted, text};
    }
    return {wire.by == WireBy::Diameter ? Outcome::KeptAsDiameter : Outcome::Cleared, {}};
}

} // namespace tarvix
