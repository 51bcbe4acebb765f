// The only ways numbers and text meet in the program, and the two roundings
// the formulas name. All of them are locale-free: the decimal point is always
// "." whatever the user's locale. Text to number is in calc/number_parse.h,
// number to text in calc/number_text.h; this header brings both.
#pragma once

#include "calc/number_parse.h"
#include "calc/number_text.h"

#include <cmath>

namespace tarvix {

// Largest whole number not greater than the value; stays floating point.
// Named as the program's formulas name it. Inline and without a call to the
// library's floor: the winding passes take it twice each.
inline double Int(double value) {
    // From 2^52 up every double is whole; NaN and the infinities stay as
    // they are, as they do through floor.
    if (!(std::fabs(value) < 0x1p52)) {
        return value;
    }
    const auto truncated = static_cast<double>(static_cast<long long>(value));
    const double whole = truncated > value ? truncated - 1 : truncated;
    // -0 stays -0, and a fraction above -1 gives -1, not -0, as with floor.
    return whole == 0 ? std::copysign(whole, value) : whole;
}

// Nearest single-precision value; Fault(Overflow) beyond the single range.
float singleRound(double value);

} // namespace tarvix
