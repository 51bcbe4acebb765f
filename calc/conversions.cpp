// Number <-> number conversions the formulas use, beside the text ones.
#include "calc/conversions.h"

#include "calc/fault.h"

#include <cmath>

namespace tarvix {

float singleRound(double value) {
    // Half-way between the largest single and 2^128: anything at or beyond it
    // would round to an infinity.
    constexpr double kSingleOverflow = 0x1.ffffffp127;
    if (!std::isfinite(value) || std::fabs(value) >= kSingleOverflow) {
        throw Fault(FaultKind::Overflow);
    }
    return static_cast<float>(value);
}

} // namespace tarvix
