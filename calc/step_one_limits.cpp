// The step-1 limits and their messages.
#include "calc/step_one_limits.h"

#include "calc/checked.h"
#include "calc/conversions.h"

namespace tarvix {

bool frequencyOutOfRange(double freqMHz) {
    return freqMHz > 30 || !(freqMHz >= 1);
}

float totalLengthLimit(double freqMHz) {
    return singleRound(Int(checked::div(421.2, freqMHz)));
}

double shortestTotalLength(double centreToCoilFt) {
    return checked::mul(2.6, centreToCoilFt);
}

float coilDistanceLimit(double totalLengthFt) {
    return singleRound(Int(checked::div(checked::mul(totalLengthFt, 0.8), 2)));
}

bool aboveLimit(double value, float limit) {
    return singleRound(value) > limit;
}

std::string shortTotalLengthMessage(double shortestTotalFt) {
    return "A ahould be larger than" + std::string(" ") + numberText(shortestTotalFt) + " ft";
}

std::string totalLengthLimitMessage(float limitFt) {
    return " A should be smaller than " + std::string(" ") + numberText(limitFt) + " ft";
}

std::string coilDistanceLimitMessage(float limitFt) {
    return "B should be lower than" + std::string(" ") + numberText(limitFt) + " ft";
}

} // namespace tarvix
