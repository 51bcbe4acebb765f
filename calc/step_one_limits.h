// The step-1 range rules: the limits for F, A and B, how a value is compared
// with them and the message each one shows. The window's entry handlers and
// the command line's warnings both use these, so a limit or a text is changed
// here only. The texts, typos and blanks included, are the ones users have
// always seen.
#pragma once

#include <string>

namespace tarvix {

inline constexpr const char* kFrequencyRangeMessage = "Input HF range only (1.5 to 30MHz)";
inline constexpr const char* kFrequencyMissingMessage = "Input a value for frequency";

// Above 30 or not at least 1. The message names 1.5 MHz but the check has
// always let 1 to 1.5 pass.
bool frequencyOutOfRange(double freqMHz);

// A full-size half-wave wire dipole is 468/F ft; a loaded one is allowed at
// most 90 % of that, 421.2/F, cut down to whole feet and held in single
// precision. Throws Fault (a zero frequency divides by zero).
float totalLengthLimit(double freqMHz);

// A must be at least 2.6 x B: each leg 1.3 x B, the wire beyond a coil at
// least 0.3 x B. Throws Fault(Overflow) when 2.6 x B is beyond the double range.
double shortestTotalLength(double centreToCoilFt);

// B may be at most 80 % of one leg, in whole feet: the product first, then
// halved, held in single precision. Throws Fault.
float coilDistanceLimit(double totalLengthFt);

// A value is compared with a single-precision limit at the same precision,
// so a value equal to the limit passes. Throws Fault(Overflow) for a value
// beyond the single range.
bool aboveLimit(double value, float limit);

std::string shortTotalLengthMessage(double shortestTotalFt);
std::string totalLengthLimitMessage(float limitFt);
std::string coilDistanceLimitMessage(float limitFt);

} // namespace tarvix
