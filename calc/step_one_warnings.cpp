// Step-1 range checks over numbers. The texts, typos and blanks included, are
// the window's own messages.
#include "calc/step_one_warnings.h"

#include "calc/conversions.h"
#include "calc/fault.h"

#include <cmath>
#include <limits>

namespace tarvix {

namespace {

// Single rounding for a comparison. A value beyond the single range would stop
// the window with an overflow; here it only has to compare as the infinity it
// rounds towards.
float singleForComparison(double value) {
    try {
        return singleRound(value);
    } catch (const Fault&) {
        return value > 0 ? std::numeric_limits<float>::infinity()
                         : -std::numeric_limits<float>::infinity();
    }
}

// A limit held in single precision, as the window holds it; none when it does
// not fit, since no message could state it.
std::optional<float> singleLimit(double limit) {
    if (!std::isfinite(limit)) {
        return std::nullopt;
    }
    try {
        return singleRound(limit);
    } catch (const Fault&) {
        return std::nullopt;
    }
}

// The window's text ends with the limit in feet; " (... m)" follows it in a
// metric report.
std::string limitText(std::string text, const std::string& limitFtText, double limitFt,
                      Units units) {
    text += limitFtText + " ft";
    if (units == Units::Metric) {
        text += " (" + numberText(metresFromFeet(limitFt)) + " m)";
    }
    return text;
}

} // namespace

std::optional<std::string> frequencyWarning(double freqMHz) {
    if (freqMHz > 30 || !(freqMHz >= 1)) {
        return "Input HF range only (1.5 to 30MHz)";
    }
    return std::nullopt;
}

std::optional<std::string> coilDistanceRatioWarning(double totalLengthFt, double centreToCoilFt,
                                                    Units units) {
    const double leastLength = 2.6 * centreToCoilFt;
    if (std::isfinite(leastLength) && leastLength > totalLengthFt) {
        return limitText("A ahould be larger than" + std::string(" "), numberText(leastLength),
                         leastLength, units);
    }
    return std::nullopt;
}

std::optional<std::string> lengthLimitWarning(double freqMHz, double totalLengthFt, Units units) {
    // A zero frequency stops the window with a division by zero here; the
    // design itself then faults the same way, so there is nothing to warn of.
    if (freqMHz == 0) {
        return std::nullopt;
    }
    const auto limit = singleLimit(Int(421.2 / freqMHz));
    if (limit && singleForComparison(totalLengthFt) > *limit) {
        return limitText(" A should be smaller than " + std::string(" "), numberText(*limit),
                         *limit, units);
    }
    return std::nullopt;
}

std::optional<std::string> coilDistanceLimitWarning(double totalLengthFt, double centreToCoilFt,
                                                    Units units) {
    // The product first, then halved, as the window forms it.
    const auto limit = singleLimit(Int(totalLengthFt * 0.8 / 2));
    if (limit && singleForComparison(centreToCoilFt) > *limit) {
        return limitText("B should be lower than" + std::string(" "), numberText(*limit), *limit,
                         units);
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

} // namespace tarvix
