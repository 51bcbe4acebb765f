// Number to text. Everything here goes through std::to_chars, or lays out
// digits by hand, so that the user's locale never changes a decimal point.
#include "calc/number_text.h"

#include "calc/powers_of_ten.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>
#include <type_traits>

namespace tarvix {

namespace {

// The significant digits of a rounded value, most significant first, and the
// decimal exponent of the first of them. Long enough for to_chars' 17.
struct Digits {
    bool negative = false;
    std::array<char, 24> text{};
    int count = 0;
    int exponent = 0;
};

// Writes the exponent of the scientific layout: a sign and at least two digits.
char* exponentText(char* out, int exponent) {
    *out++ = exponent < 0 ? '-' : '+';
    const int magnitude = exponent < 0 ? -exponent : exponent;
    if (magnitude < 10) {
        *out++ = '0';
    }
    return std::to_chars(out, out + 4, magnitude).ptr;
}

// General format of rounded digits: trailing zeros dropped, scientific from
// the given exponent up and below 1E-4, otherwise plain with "0." before a
// fraction. Laid out in place; one string is made, at the end.
std::string formatGeneral(const Digits& digits, int scientificFromExponent) {
    const char* first = digits.text.data();
    std::size_t count = static_cast<std::size_t>(digits.count);
    while (count > 1 && first[count - 1] == '0') {
        --count;
    }
    const int exponent = digits.exponent;
    std::array<char, 48> buffer;
    char* out = buffer.data();
    if (digits.negative) {
        *out++ = '-';
    }
    if (exponent >= scientificFromExponent || exponent < -4) {
        *out++ = first[0];
        if (count > 1) {
            *out++ = '.';
            out = std::copy(first + 1, first + count, out);
        }
        *out++ = 'E';
        out = exponentText(out, exponent);
    } else if (exponent < 0) {
        *out++ = '0';
        *out++ = '.';
        out = std::fill_n(out, -exponent - 1, '0');
        out = std::copy(first, first + count, out);
    } else {
        const auto wholeDigits = static_cast<std::size_t>(exponent) + 1;
        if (count <= wholeDigits) {
            out = std::copy(first, first + count, out);
            out = std::fill_n(out, wholeDigits - count, '0');
        } else {
            out = std::copy(first, first + wholeDigits, out);
            *out++ = '.';
            out = std::copy(first + wholeDigits, first + count, out);
        }
    }
    return std::string(buffer.data(), out);
}

// A number in to_chars' scientific form ("-d.ddddde+XX") taken apart.
Digits scientificDigits(std::string_view text) {
    Digits digits;
    std::size_t position = 0;
    if (text[0] == '-') {
        digits.negative = true;
        position = 1;
    }
    const auto exponentMark = text.find('e');
    for (std::size_t i = position; i < exponentMark; ++i) {
        if (text[i] != '.') {
            digits.text[static_cast<std::size_t>(digits.count++)] = text[i];
        }
    }
    const char* exponentBegin = text.data() + exponentMark + 1;
    if (*exponentBegin == '+') {
        ++exponentBegin;
    }
    std::from_chars(exponentBegin, text.data() + text.size(), digits.exponent);
    return digits;
}

// floor(k * log10(2)) is (k * 78913) >> 18 for every binary exponent k of a
// value rounded by scaling (-27 to 50), and far beyond.
constexpr int kLog10Of2Times2To18 = 78913;
constexpr int kLog10Of2Shift = 18;

// Drops the trailing zeros of a whole number below 10^16 that is not 0: at
// most 15 of them, so halving the step from eight zeros down takes them all.
std::uint64_t withoutTrailingZeros(std::uint64_t whole) {
    for (const std::uint64_t step : {100'000'000ULL, 10'000ULL, 100ULL, 10ULL}) {
        if (whole % step == 0) {
            whole /= step;
        }
    }
    return whole;
}

// Rounding by scaling: with 10^p exactly representable (p up to 22), the
// value times 10^p, brought to between 10^(kept-1) and 10^kept, rounds to the
// whole number whose digits are the value's correctly rounded ones. The
// product is rounded once, by less than half its unit in the last place, so
// its nearest whole number is the exact product's, unless it lies exactly
// half-way between two, where the exact product may lie on either side:
// those few are left to the exact rounding.
std::optional<Digits> roundedByScaling(double value, int kept) {
    const double magnitude = std::fabs(value);
    if (!(magnitude >= 1e-8 && magnitude < 1e15)) {
        return std::nullopt;
    }
    const double lowest = kPowersOfTen[static_cast<std::size_t>(kept - 1)];
    const double highest = kPowersOfTen[static_cast<std::size_t>(kept)];
    // 2^(binary-1) <= magnitude < 2^binary puts the decimal exponent at the
    // estimate or one above it.
    constexpr int kExponentBias = 1022; // of frexp's binary exponent
    const int binary =
        static_cast<int>((std::bit_cast<std::uint64_t>(magnitude) >> 52) & 0x7ff) - kExponentBias;
    int exponent = ((binary - 1) * kLog10Of2Times2To18) >> kLog10Of2Shift;
    int scale = kept - 1 - exponent;
    if (scale < 0 || scale >= static_cast<int>(kPowersOfTen.size())) {
        return std::nullopt;
    }
    double scaled = magnitude * kPowersOfTen[static_cast<std::size_t>(scale)];
    if (scaled >= highest) {
        ++exponent;
        --scale;
        if (scale < 0) {
            return std::nullopt;
        }
        scaled = magnitude * kPowersOfTen[static_cast<std::size_t>(scale)];
    }
    // Below 2^52, adding 2^52 leaves no fraction bits: the sum is rounded to
    // the nearest whole number, ties to even, as nearbyint would, and taking
    // 2^52 away again is exact.
    constexpr double kNoFractionBits = 0x1p52;
    const double whole = (scaled + kNoFractionBits) - kNoFractionBits;
    if (std::fabs(scaled - whole) == 0.5 || whole < lowest) {
        return std::nullopt;
    }
    Digits digits;
    digits.negative = value < 0;
    digits.exponent = exponent;
    if (whole >= highest) {
        // 9.99...96 rounds up to the next power of ten.
        digits.text[0] = '1';
        digits.count = 1;
        ++digits.exponent;
        return digits;
    }
    const std::uint64_t keptDigits = withoutTrailingZeros(static_cast<std::uint64_t>(whole));
    char* const begin = digits.text.data();
    digits.count =
        static_cast<int>(std::to_chars(begin, begin + digits.text.size(), keptDigits).ptr - begin);
    return digits;
}

// Rounds to the given number of significant digits and lays the result out
// in general format.
template <class Float>
std::string numberTextOf(Float value, int significantDigits, int scientificFromExponent) {
    if (value == 0 || !std::isfinite(value)) {
        // The record never holds an infinity or a NaN; zero has no sign here.
        return value == 0 ? "0" : (std::isnan(value) ? "NaN" : (value < 0 ? "-Inf" : "Inf"));
    }
    // Whole numbers within the significant digits are exact: write them as
    // integers. Turn counts and most typed values take this path.
    const Float wholeLimit = significantDigits == 15 ? Float(1e15) : Float(1e7);
    if (std::fabs(value) < wholeLimit &&
        static_cast<Float>(static_cast<long long>(value)) == value) {
        char whole[24];
        const auto end =
            std::to_chars(whole, whole + sizeof whole, static_cast<long long>(value)).ptr;
        return std::string(whole, end);
    }
    std::optional<Digits> digits = roundedByScaling(value, significantDigits);
    char buffer[64];
    if constexpr (std::is_same_v<Float, double>) {
        // Outside the range of scaling, the shortest digits that read back as
        // the same double are, when there are no more than 15 of them, also
        // the correctly rounded ones: two 15-digit decimals lie further apart
        // than a double's spacing, so only one of them can read back as the
        // value. (Not so for a single and 7 digits, nor below the normal
        // range, where doubles lie further apart.)
        if (!digits && std::isnormal(value)) {
            const auto shortest =
                std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
            digits = scientificDigits({buffer, static_cast<std::size_t>(shortest.ptr - buffer)});
            if (digits->count > significantDigits) {
                digits.reset();
            }
        }
    }
    if (!digits) {
        const auto exact = std::to_chars(buffer, buffer + sizeof buffer, value,
                                         std::chars_format::scientific, significantDigits - 1);
        digits = scientificDigits({buffer, static_cast<std::size_t>(exact.ptr - buffer)});
    }
    return formatGeneral(*digits, scientificFromExponent);
}

} // namespace

std::string numberText(double value) {
    return numberTextOf(value, 15, 15);
}

std::string numberText(float value) {
    return numberTextOf(value, 7, 7);
}

std::string fixedText(double value, int decimals) {
    // A double has at most 309 digits before its point.
    std::array<char, 320 + kMaxFixedDecimals> buffer;
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed, decimals);
    (void)error; // none: the buffer holds the longest text
    std::string text(buffer.data(), end);
    if (text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, text.find_first_not_of('-')); // no "-0.00"
    }
    return text;
}

} // namespace tarvix
