// The only ways numbers and text meet in the program. All of them are
// locale-free: the decimal point is always "." whatever the user's locale.
#pragma once

#include <cmath>
#include <string>
#include <string_view>

namespace tarvix {

// Reads the longest leading part of the text that forms a number and ignores
// the rest. Blanks, tabs and line feeds are skipped anywhere; an optional sign;
// digits with at most one "."; an optional exponent after E or D. Text with no
// number gives 0. Throws Fault(Overflow) for a number beyond the double range,
// since an infinity would corrupt the design.
double lenientParse(std::string_view text);

// Whether lenientParse reads the text without Fault(Overflow). A text with
// no exponent and at most 308 characters has at most 308 digits before its
// point, so its number is below 10^308, within range: only longer texts and
// texts with an exponent are read to tell.
bool readsWithinRange(std::string_view text);

// The whole text, less surrounding spaces, must be a number in the notation of
// lenientParse. Throws Fault(TypeMismatch) otherwise, Fault(Overflow) when it
// is beyond the double range.
double strictParse(std::string_view text);

// What a user is told of a value, after the value itself: one that strictParse
// refuses, and one that must be above zero and is not.
inline constexpr const char* kNotANumberText = "is not a number";
inline constexpr const char* kNotAboveZeroText = "is not above 0";

// General number format: 15 significant digits for a double, 7 for a single,
// no trailing zeros, "0." before fractions, scientific ("1E-05", "1.5E+15")
// from 1E15 (1E7 for a single) upwards and below 0.0001.
std::string numberText(double value);
std::string numberText(float value);

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

// Removes leading and trailing space characters (code 32 only).
std::string_view trim(std::string_view text);

} // namespace tarvix
