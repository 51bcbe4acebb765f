// Step-1 range checks over numbers, with the window's own limits and
// messages, and the warnings about values a design cannot mean.
#include "calc/step_one_warnings.h"

#include "calc/conversions.h"
#include "calc/fault.h"
#include "calc/step_one_limits.h"

namespace tarvix {

namespace {

// A value beyond the single range would stop the window with an overflow;
// here it only has to compare as the infinity it rounds towards.
bool beyondLimit(double value, float limit) {
    try {
        return aboveLimit(value, limit);
    } catch (const Fault&) {
        return value > 0;
    }
}

// The window's text ends with the limit in feet; " (... m)" follows it in a
// metric report.
std::string inUnits(std::string message, double limitFt, Units units) {
    if (units == Units::Metric) {
        message += " (" + numberText(metresFromFeet(limitFt)) + " m)";
    }
    return message;
}

} // namespace

std::optional<std::string> frequencyWarning(double freqMHz) {
    if (frequencyOutOfRange(freqMHz)) {
        return kFrequencyRangeMessage;
    }
    return std::nullopt;
}

std::optional<std::string> coilDistanceRatioWarning(double totalLengthFt, double centreToCoilFt,
                                                    Units units) {
    try {
        const double leastLength = shortestTotalLength(centreToCoilFt);
        if (leastLength > totalLengthFt) {
            return inUnits(shortTotalLengthMessage(leastLength), leastLength, units);
        }
    } catch (const Fault&) {
        // 2.6 x B beyond the double range: no message could state it.
    }
    return std::nullopt;
}

std::optional<std::string> lengthLimitWarning(double freqMHz, double totalLengthFt, Units units) {
    try {
        const float limit = totalLengthLimit(freqMHz);
        if (beyondLimit(totalLengthFt, limit)) {
            return inUnits(totalLengthLimitMessage(limit), limit, units);
        }
    } catch (const Fault&) {
        // A zero frequency stops the window with a division by zero here; the
        // design itself then faults the same way, so there is nothing to warn
        // of. A limit beyond the single range could not be stated.
    }
    return std::nullopt;
}

std::optional<std::string> coilDistanceLimitWarning(double totalLengthFt, double centreToCoilFt,
                                                    Units units) {
    try {
        const float limit = coilDistanceLimit(totalLengthFt);
        if (beyondLimit(centreToCoilFt, limit)) {
            return inUnits(coilDistanceLimitMessage(limit), limit, units);
        }
    } catch (const Fault&) {
        // A limit beyond the single range could not be stated.
    }
    return std::nullopt;
}

std::vector<std::string> stepOneWarnings(double freqMHz, double totalLengthFt,
                                         double centreToCoilFt, Units units) {
    std::vector<std::string> warnings;
    for (const auto& warning :
         {frequencyWarning(freqMHz), coilDistanceRatioWarning(totalLengthFt, centreToCoilFt, units),
          lengthLimitWarning(freqMHz, totalLengthFt, units),
          coilDistanceLimitWarning(totalLengthFt, centreToCoilFt, units)}) {
        if (warning) {
            warnings.push_back(*warning);
        }
    }
    return warnings;
}

std::optional<std::string> negativeWarning(std::string_view quantity, double value,
                                           std::string_view unit) {
    if (value < 0) {
        return std::string(quantity) + " is negative (" + numberText(value) + " " +
               std::string(unit) + "): a length cannot be below zero";
    }
    return std::nullopt;
}

std::optional<std::string> negativeLengthWarning(double totalLengthFt, Units units) {
    return negativeWarning("the total length A", antennaUnitFromFeet(totalLengthFt, units),
                           antennaUnitName(units));
}

std::optional<std::string> negativeDistanceWarning(double centreToCoilFt, Units units) {
    return negativeWarning("the coil distance B", antennaUnitFromFeet(centreToCoilFt, units),
                           antennaUnitName(units));
}

std::optional<std::string> negativeInductanceWarning(double inductanceUH) {
    if (inductanceUH < 0) {
        return "the inductance is negative: the antenna is longer than resonance needs, so it "
               "wants a capacitor, not a coil";
    }
    return std::nullopt;
}

} // namespace tarvix
