// Number to text: the general format of the window's boxes and messages, and
// the fixed decimals of the reports and the plot. Locale-free: the decimal
// point is always ".".
#pragma once

#include <string>

namespace tarvix {

// General number format: 15 significant digits for a double, 7 for a single,
// no trailing zeros, "0." before fractions, scientific ("1E-05", "1.5E+15")
// from 1E15 (1E7 for a single) upwards and below 0.0001.
std::string numberText(double value);
std::string numberText(float value);

// The most decimals fixedText writes.
inline constexpr int kMaxFixedDecimals = 17;

// Rounded to the given number of decimals (0 to kMaxFixedDecimals), as
// printf's "%.*f" would under the "C" locale, but never "-0.00": a value that
// rounds to zero has no sign.
std::string fixedText(double value, int decimals);

} // namespace tarvix
