// Text to number. One scan reads the notation; the digits it finds are
// converted by std::from_chars, which no locale changes: straight from the
// text where that is possible, otherwise from the digits and their magnitude.
#include "calc/number_parse.h"

#include "calc/char_conv.h"
#include "calc/fault.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>

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
bool isSign(char c) {
    return c == '+' || c == '-';
}

// A number as read from text, before conversion: the sign, the mantissa digits
// with their point, and the exponent digits, as views of the text read.
struct NumberParts {
    bool negative = false;
    std::string_view mantissa; // digits and at most one '.'
    bool mantissaHasDigit = false;
    char exponentMark = 0; // E, e, D or d, when there is an exponent
    bool exponentNegative = false;
    std::string_view exponent; // digits only
};

// Where a scan of the notation ended: one past the number's last character (0
// when there is no number), and the character the scan stopped at, the first
// one that cannot continue the number (the text's size at its end).
struct Scan {
    std::size_t end = 0;
    std::size_t stoppedAt = 0;
};

// The notation, written without blanks: an optional sign, digits with at most
// one ".", and an optional exponent: a mark (E, e, D or d), an optional sign
// and digits. A mark with no digits after it is not part of the number. The
// parts are views of the text.
Scan scanNumber(std::string_view text, NumberParts& parts) {
    const std::size_t n = text.size();
    std::size_t i = 0;
    if (i < n && isSign(text[i])) {
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
        return {0, i};
    }
    parts.mantissa = text.substr(mantissaBegin, i - mantissaBegin);
    const std::size_t mantissaEnd = i;
    if (i < n && isExponentMark(text[i])) {
        ++i;
        bool exponentNegative = false;
        if (i < n && isSign(text[i])) {
            exponentNegative = text[i] == '-';
            ++i;
        }
        const std::size_t exponentBegin = i;
        while (i < n && isDigit(text[i])) {
            ++i;
        }
        if (i == exponentBegin) {
            return {mantissaEnd, i};
        }
        parts.exponentMark = text[mantissaEnd];
        parts.exponentNegative = exponentNegative;
        parts.exponent = text.substr(exponentBegin, i - exponentBegin);
    }
    return {i, i};
}

// Beyond these decimal magnitudes a number is an infinity or a zero as a
// double, however many digits it has.
constexpr long long kOverflowMagnitude = 310;
constexpr long long kUnderflowMagnitude = -330;
constexpr long long kExponentCeiling = 1'000'000'000'000;

// The number as written, read by std::from_chars straight from the text when
// the notation is also from_chars' own: an exponent, if any, after E or e
// (not D) and of at most three digits, whose value from_chars cannot
// saturate. Typed values take this path. It is left to the magnitude's
// reading below when from_chars finds the number out of range, and a zero
// has no sign, as there.
std::optional<double> readDirectly(const NumberParts& parts) {
    constexpr std::size_t kExponentDigits = 3;
    const char* const first = parts.mantissa.data();
    const char* last = first + parts.mantissa.size();
    if (parts.exponentMark != 0) {
        if ((parts.exponentMark != 'E' && parts.exponentMark != 'e') ||
            parts.exponent.size() > kExponentDigits) {
            return std::nullopt;
        }
        // The mantissa, the mark, its sign and its digits stand together.
        last = parts.exponent.data() + parts.exponent.size();
    }
    double value = 0;
    const auto [end, error] = fromChars(first, last, value);
    if (error != std::errc() || end != last) {
        return std::nullopt;
    }
    if (value == 0) {
        return 0.0;
    }
    return parts.negative ? -value : value;
}

double toDouble(const NumberParts& parts) {
    if (!parts.mantissaHasDigit) {
        return 0;
    }
    if (const auto value = readDirectly(parts)) {
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
    const auto [end, error] = fromChars(text.data(), text.data() + text.size(), value);
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

} // namespace

double lenientParse(std::string_view text) {
    NumberParts parts;
    const Scan scan = scanNumber(text, parts);
    // A scan that stopped at anything but a blank read the number the blanks
    // could not have changed: there were none before it stopped.
    if (scan.stoppedAt == text.size() || !isBlank(text[scan.stoppedAt])) {
        return toDouble(parts);
    }
    // Blanks may stand anywhere, between the digits too: the number is the
    // one the text has without them.
    std::string compact;
    compact.reserve(text.size());
    std::remove_copy_if(text.begin(), text.end(), std::back_inserter(compact), isBlank);
    NumberParts compactParts;
    scanNumber(compact, compactParts);
    return toDouble(compactParts);
}

bool readsWithinRange(std::string_view text) {
    constexpr std::size_t kDigitsBelowTheLimit = 308;
    if (text.size() <= kDigitsBelowTheLimit &&
        std::none_of(text.begin(), text.end(), isExponentMark)) {
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
    NumberParts parts;
    if (scanNumber(text, parts).end != text.size() || !parts.mantissaHasDigit) {
        throw Fault(FaultKind::TypeMismatch);
    }
    return toDouble(parts);
}

std::string_view trim(std::string_view text, std::string_view blanks) {
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

} // namespace tarvix
