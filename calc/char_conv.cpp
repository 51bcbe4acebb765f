#include "calc/char_conv.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

namespace tarvix {

#if defined(__EMSCRIPTEN__)

// Emscripten's standard library has no floating-point <charconv>.
std::to_chars_result toChars(char* first, char* last, double value) {
    return c_library::toChars(first, last, value);
}

std::to_chars_result toChars(char* first, char* last, double value, std::chars_format format,
                             int precision) {
    return c_library::toChars(first, last, value, format, precision);
}

std::from_chars_result fromChars(const char* first, const char* last, double& value) {
    return c_library::fromChars(first, last, value);
}

#else

std::to_chars_result toChars(char* first, char* last, double value) {
    return std::to_chars(first, last, value);
}

std::to_chars_result toChars(char* first, char* last, double value, std::chars_format format,
                             int precision) {
    return std::to_chars(first, last, value, format, precision);
}

std::from_chars_result fromChars(const char* first, const char* last, double& value) {
    return std::from_chars(first, last, value, std::chars_format::general);
}

#endif

namespace c_library {

namespace {

std::to_chars_result written(char* first, char* last, const std::string& text) {
    if (text.size() > static_cast<std::size_t>(last - first)) {
        return {last, std::errc::value_too_large};
    }
    return {std::copy(text.begin(), text.end(), first), std::errc()};
}

std::string printed(const char* format, int precision, double value) {
    char buffer[400];
    const int size = std::snprintf(buffer, sizeof buffer, format, precision, value);
    return std::string(buffer, static_cast<std::size_t>(std::max(size, 0)));
}

bool readsBack(const std::string& text, double value) {
    return std::strtod(text.c_str(), nullptr) == value;
}

// The value's shortest digits, "d.ddde+XX", written without the exponent.
std::string plainOf(double value, const std::string& scientific) {
    const std::size_t mark = scientific.find('e');
    const bool negative = scientific.front() == '-';
    std::string digits;
    for (std::size_t at = negative ? 1 : 0; at < mark; ++at) {
        if (scientific[at] != '.') {
            digits += scientific[at];
        }
    }
    const int exponent = std::atoi(scientific.c_str() + mark + 1);
    std::string plain;
    if (exponent < 0) {
        plain = "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else if (static_cast<std::size_t>(exponent) + 1 >= digits.size()) {
        // A whole number is written with all its digits, as exact as it is
        // held: 874022728139775232, not 874022728139775200.
        return printed("%.*f", 0, value);
    } else {
        plain = digits.substr(0, static_cast<std::size_t>(exponent) + 1) + "." +
                digits.substr(static_cast<std::size_t>(exponent) + 1);
    }
    return negative ? "-" + plain : plain;
}

} // namespace

std::to_chars_result toChars(char* first, char* last, double value) {
    if (!std::isfinite(value)) {
        return written(first, last, std::isnan(value) ? "nan" : (value < 0 ? "-inf" : "inf"));
    }
    if (value == 0) {
        return written(first, last, std::signbit(value) ? "-0" : "0");
    }
    // The fewest significant digits that read back: printf rounds to the
    // nearest such text, as the shortest conversion chooses among them.
    std::string scientific;
    for (int digits = 1; digits <= 17; ++digits) {
        scientific = printed("%.*e", digits - 1, value);
        if (readsBack(scientific, value)) {
            break;
        }
    }
    const std::string plain = plainOf(value, scientific);
    return written(first, last, plain.size() <= scientific.size() ? plain : scientific);
}

std::to_chars_result toChars(char* first, char* last, double value, std::chars_format format,
                             int precision) {
    return written(first, last,
                   printed(format == std::chars_format::fixed ? "%.*f" : "%.*g", precision, value));
}

std::from_chars_result fromChars(const char* first, const char* last, double& value) {
    std::string text(first, last);
    if (text.empty() || text.front() == '+' ||
        std::isspace(static_cast<unsigned char>(text.front()))) {
        return {first, std::errc::invalid_argument};
    }
    // No hexadecimal here: "0x10" is the number 0 followed by other text.
    const std::size_t digitsFrom = text.front() == '-' ? 1 : 0;
    if (text.compare(digitsFrom, 2, "0x") == 0 || text.compare(digitsFrom, 2, "0X") == 0) {
        text.resize(digitsFrom + 1);
    }
    char* end = nullptr;
    errno = 0;
    const double read = std::strtod(text.c_str(), &end);
    if (end == text.c_str()) {
        return {first, std::errc::invalid_argument};
    }
    const char* stop = first + (end - text.c_str());
    // The C library also says so of a number read as a subnormal, which the
    // standard conversion takes.
    if (errno == ERANGE && (read == 0 || std::isinf(read))) {
        return {stop, std::errc::result_out_of_range};
    }
    value = read;
    return {stop, std::errc()};
}

} // namespace c_library

} // namespace tarvix
