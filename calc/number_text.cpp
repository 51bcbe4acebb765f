// Number to text, all through std::to_chars, which no locale changes: the
// general format is to_chars' own, with its exponent mark written as 'E'.
#include "calc/number_text.h"

#include "calc/char_conv.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace tarvix {

namespace {

// to_chars' general format rounds correctly to the significant digits, drops
// trailing zeros and goes scientific, as printf's "%g" does, below 1E-4 and
// from 10^digits on, with a sign and at least two exponent digits.
template <class Float> std::string numberTextOf(Float value, int significantDigits) {
    if (value == 0 || !std::isfinite(value)) {
        // The record never holds an infinity or a NaN; zero has no sign here.
        return value == 0 ? "0" : (std::isnan(value) ? "NaN" : (value < 0 ? "-Inf" : "Inf"));
    }
    // "-d.dddddddddddddde-308": 24 characters at most.
    std::array<char, 32> buffer;
    const auto [end, error] = toChars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, significantDigits);
    (void)error; // none: the buffer holds the longest text
    std::replace(buffer.data(), end, 'e', 'E');
    return std::string(buffer.data(), end);
}

} // namespace

std::string numberText(double value) {
    return numberTextOf(value, 15);
}

std::string numberText(float value) {
    return numberTextOf(value, 7);
}

std::string fixedText(double value, int decimals) {
    // A double has at most 309 digits before its point.
    std::array<char, 320 + kMaxFixedDecimals> buffer;
    const auto [end, error] = toChars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::fixed, decimals);
    (void)error; // none: the buffer holds the longest text
    std::string text(buffer.data(), end);
    if (text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, text.find_first_not_of('-')); // no "-0.00"
    }
    return text;
}

} // namespace tarvix
