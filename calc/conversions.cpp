// Number <-> text conversions. Everything here goes through std::from_chars
// and std::to_chars so that the user's locale never changes a decimal point.
#include "calc/conversions.h"

#include "calc/fault.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <system_error>
#include <type_traits>

namespace tarvix {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isExponentMark(char c) {
    return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

// A number as read from text, before conversion: the sign, the mantissa digits
// with their point, and the exponent digits. The views point into the text
// read, or into the digits collected from it.
struct NumberParts {
    bool negative = false;
    std::string_view mantissa; // digits and at most one '.'
    bool mantissaHasDigit = false;
    bool exponentNegative = false;
    std::string_view exponent; // digits only
};

// The powers of ten that are exact doubles.
constexpr std::array<double, 23> kPowersOfTen{1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Beyond these decimal magnitudes a number is an infinity or a zero as a
// double, however many digits it has.
constexpr long long kOverflowMagnitude = 310;
constexpr long long kUnderflowMagnitude = -330;
constexpr long long kExponentCeiling = 1'000'000'000'000;

// Whole numbers below 10^15 and the powers of ten up to 10^22 are exact
// doubles, so a number of at most 15 digits within 22 places of the point is
// one correctly rounded multiplication or division away: the same double the
// full conversion gives, found without it. Typed values take this path.
std::optional<double> exactlyScaled(const NumberParts& parts) {
    constexpr int kExactDigits = 15;
    constexpr std::size_t kExponentDigits = 2;
    if (parts.exponent.size() > kExponentDigits) {
        return std::nullopt;
    }
    long long whole = 0;
    int digits = 0;
    int fractionDigits = 0;
    bool afterPoint = false;
    for (const char c : parts.mantissa) {
        if (c == '.') {
            afterPoint = true;
            continue;
        }
        if (whole == 0 && c == '0') {
            fractionDigits += afterPoint ? 1 : 0;
            continue;
        }
        if (++digits > kExactDigits) {
            return std::nullopt;
        }
        whole = whole * 10 + (c - '0');
        fractionDigits += afterPoint ? 1 : 0;
    }
    int exponent = 0;
    for (const char c : parts.exponent) {
        exponent = exponent * 10 + (c - '0');
    }
    const int scale = (parts.exponentNegative ? -exponent : exponent) - fractionDigits;
    const auto powers = static_cast<int>(kPowersOfTen.size());
    if (whole == 0 || scale <= -powers || scale >= powers) {
        return whole == 0 ? std::optional<double>(0) : std::nullopt;
    }
    const auto value = static_cast<double>(whole);
    const double scaled = scale >= 0 ? value * kPowersOfTen[static_cast<std::size_t>(scale)]
                                     : value / kPowersOfTen[static_cast<std::size_t>(-scale)];
    return parts.negative ? -scaled : scaled;
}

// A number written without blanks, taken apart: an optional sign, digits with
// at most one ".", and an optional exponent mark with an optional sign and
// digits. The parts are views of the text. Nothing may stand before or after
// the number; false when the text is not all of one.
bool readPlainNumber(std::string_view text, NumberParts& parts) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        parts.negative = text[i] == '-';
        ++i;
    }
    bool seenPoint = false;
    const std::size_t mantissaBegin = i;
    for (; i < n && (isDigit(text[i]) || (text[i] == '.' && !seenPoint)); ++i) {
        seenPoint = seenPoint || text[i] == '.';
        parts.mantissaHasDigit = parts.mantissaHasDigit || isDigit(text[i]);
    }
    if (!parts.mantissaHasDigit) {
        return false;
    }
    parts.mantissa = text.substr(mantissaBegin, i - mantissaBegin);
    if (i < n && isExponentMark(text[i])) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            parts.exponentNegative = text[i] == '-';
            ++i;
        }
        const std::size_t exponentBegin = i;
        while (i < n && isDigit(text[i])) {
            ++i;
        }
        parts.exponent = text.substr(exponentBegin, i - exponentBegin);
        if (parts.exponent.empty()) {
            return false;
        }
    }
    return i == n;
}

double toDouble(const NumberParts& parts) {
    if (!parts.mantissaHasDigit) {
        return 0;
    }
    if (const auto value = exactlyScaled(parts)) {
        return *value;
    }
    // The number is 0.<significant digits> times ten to the magnitude. Only
    // the magnitude decides overflow and underflow, so a megabyte of leading
    // zeros or an exponent of a thousand digits is read as what it is.
    const std::string_view mantissa = parts.mantissa;
    const auto point = mantissa.find('.');
    const auto wholeDigits =
        static_cast<long long>(point == std::string::npos ? mantissa.size() : point);
    std::string digits;
    digits.reserve(mantissa.size());
    for (const char c : mantissa) {
        if (c != '.') {
            digits += c;
        }
    }
    const auto first = digits.find_first_not_of('0');
    if (first == std::string::npos) {
        return 0;
    }
    digits.erase(digits.find_last_not_of('0') + 1);

    long long exponent = 0;
    for (const char c : parts.exponent) {
        exponent = std::min(exponent * 10 + (c - '0'), kExponentCeiling);
    }
    const long long magnitude = wholeDigits - static_cast<long long>(first) +
                                (parts.exponentNegative ? -exponent : exponent);
    if (magnitude > kOverflowMagnitude) {
        throw Fault(FaultKind::Overflow);
    }
    if (magnitude < kUnderflowMagnitude) {
        return 0;
    }

    std::string text = "0.";
    text.append(digits, first);
    text += 'e';
    text += std::to_string(magnitude);
    double value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        if (magnitude > 0) {
            throw Fault(FaultKind::Overflow);
        }
        return 0;
    }
    if (std::isinf(value)) {
        throw Fault(FaultKind::Overflow);
    }
    return parts.negative ? -value : value;
}

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

double lenientParse(std::string_view text) {
    // A text that is a plain number from end to end reads the same either
    // way, and its parts need no collecting.
    if (NumberParts parts; readPlainNumber(text, parts)) {
        return toDouble(parts);
    }
    // Blanks may stand between the digits, so the digits are collected.
    NumberParts parts;
    std::string mantissa;
    std::string exponent;
    std::size_t i = 0;
    const std::size_t n = text.size();
    auto skipBlanks = [&] {
        while (i < n && isBlank(text[i])) {
            ++i;
        }
    };

    skipBlanks();
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        parts.negative = text[i] == '-';
        ++i;
    }
    bool seenPoint = false;
    for (; i < n; ++i) {
        const char c = text[i];
        if (isBlank(c)) {
            continue;
        }
        if (isDigit(c)) {
            mantissa += c;
            parts.mantissaHasDigit = true;
        } else if (c == '.' && !seenPoint) {
            mantissa += c;
            seenPoint = true;
        } else {
            break;
        }
    }
    if (i < n && isExponentMark(text[i]) && parts.mantissaHasDigit) {
        ++i;
        skipBlanks();
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            parts.exponentNegative = text[i] == '-';
            ++i;
        }
        for (; i < n; ++i) {
            if (isBlank(text[i])) {
                continue;
            }
            if (!isDigit(text[i])) {
                break;
            }
            exponent += text[i];
        }
    }
    parts.mantissa = mantissa;
    parts.exponent = exponent;
    return toDouble(parts);
}

bool readsWithinRange(std::string_view text) {
    constexpr std::size_t kDigitsBelowTheLimit = 308;
    if (text.size() <= kDigitsBelowTheLimit && std::ranges::none_of(text, isExponentMark)) {
        return true;
    }
    try {
        static_cast<void>(lenientParse(text));
        return true;
    } catch (const Fault&) {
        return false;
    }
}

double strictParse(std::string_view text) {
    // Surrounding spaces are allowed; a number the program wrote has none.
    if (text.empty() || text.front() == ' ' || text.back() == ' ') {
        text = trim(text);
    }
    // No blanks inside: the parts are views of the text itself.
    NumberParts parts;
    if (!readPlainNumber(text, parts)) {
        throw Fault(FaultKind::TypeMismatch);
    }
    return toDouble(parts);
}

std::string numberText(double value) {
    return numberTextOf(value, 15, 15);
}

std::string numberText(float value) {
    return numberTextOf(value, 7, 7);
}

float singleRound(double value) {
    // Half-way between the largest single and 2^128: anything at or beyond it
    // would round to an infinity.
    constexpr double kSingleOverflow = 0x1.ffffffp127;
    if (!std::isfinite(value) || std::fabs(value) >= kSingleOverflow) {
        throw Fault(FaultKind::Overflow);
    }
    return static_cast<float>(value);
}

std::string_view trim(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace tarvix
