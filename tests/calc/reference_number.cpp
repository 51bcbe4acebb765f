// The oracle's notation: [sign] digits [. digits] [mark [sign] digits], with
// at least one mantissa digit, mark one of E e D d. strtod reads "e", so "D"
// is rewritten before the conversion.
#include "reference_number.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace tarvix::oracle {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isMark(char c) {
    return c == 'E' || c == 'e' || c == 'D' || c == 'd';
}

// Reads the pattern from the start of the text. Returns how many characters
// it took (0 when there is no mantissa digit) and the normalised text for
// strtod in `out`.
std::size_t readPattern(std::string_view text, std::string& out) {
    std::size_t i = 0;
    out.clear();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        out += text[i++];
    }
    bool digit = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (isDigit(text[i])) {
            digit = true;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
        out += text[i];
    }
    if (!digit) {
        return 0;
    }
    if (i < text.size() && isMark(text[i])) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            exponent += text[j++];
        }
        const std::size_t firstDigit = j;
        while (j < text.size() && isDigit(text[j])) {
            exponent += text[j++];
        }
        if (j > firstDigit) {
            out += exponent;
            i = j;
        } else {
            // A mark with no digits is left unread; the caller decides
            // whether that is allowed.
            return i;
        }
    }
    return i;
}

ReferenceNumber convert(const std::string& normalised) {
    // Its callers keep the "C" locale (the fuzz targets never change it), so
    // strtod reads "." as the decimal point.
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(normalised.c_str(), &end);
    if (errno == ERANGE && std::isinf(value)) {
        return {0, true};
    }
    return {value, false};
}

} // namespace

ReferenceNumber referenceLenient(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (const char c : text) {
        if (c != ' ' && c != '\t' && c != '\n') {
            compact += c;
        }
    }
    std::string normalised;
    if (readPattern(compact, normalised) == 0) {
        return {0, false};
    }
    return convert(normalised);
}

std::optional<ReferenceNumber> referenceStrict(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    std::string normalised;
    if (readPattern(text, normalised) != text.size()) {
        return std::nullopt;
    }
    return convert(normalised);
}

bool looksLikeNumberText(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && text[i] == '-') {
        ++i;
    }
    const std::size_t wholeStart = i;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
    }
    const std::size_t wholeDigits = i - wholeStart;
    if (wholeDigits == 0 || (wholeDigits > 1 && text[wholeStart] == '0')) {
        return false;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        const std::size_t fractionStart = i;
        while (i < text.size() && isDigit(text[i])) {
            ++i;
        }
        if (i == fractionStart || text[i - 1] == '0') {
            return false; // a bare point or a trailing zero
        }
    }
    if (i == text.size()) {
        return true;
    }
    // Scientific: exactly one non-zero digit before the point.
    if (wholeDigits != 1 || text[wholeStart] == '0' || text[i] != 'E') {
        return false;
    }
    ++i;
    if (i == text.size() || (text[i] != '+' && text[i] != '-')) {
        return false;
    }
    ++i;
    const std::size_t exponentDigits = text.size() - i;
    if (exponentDigits < 2 || exponentDigits > 3) {
        return false;
    }
    for (; i < text.size(); ++i) {
        if (!isDigit(text[i])) {
            return false;
        }
    }
    return true;
}

int significantDigits(std::string_view text) {
    int count = 0;
    bool leading = true;
    for (const char c : text) {
        if (c == 'E') {
            break;
        }
        if (!isDigit(c)) {
            continue;
        }
        if (leading && c == '0') {
            continue;
        }
        leading = false;
        ++count;
    }
    return count;
}

} // namespace tarvix::oracle
