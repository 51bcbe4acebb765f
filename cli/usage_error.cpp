// Reading option values as the calculations read the gauge lists: the whole
// text must be a number.
#include "cli/usage_error.h"

#include "calc/conversions.h"
#include "calc/fault.h"
#include "calc/wire_gauge.h"

#include <algorithm>
#include <string>

namespace tarvix {

namespace {

// Whether the digits before any exponent hold more than zeros: "1e-400" does,
// "0.000e5" does not.
bool namesNonZero(std::string_view text) {
    const std::string_view mantissa = text.substr(0, text.find_first_of("EeDd"));
    return std::any_of(mantissa.begin(), mantissa.end(),
                       [](char c) { return c >= '1' && c <= '9'; });
}

} // namespace

std::string quotedArgument(std::string_view text) {
    constexpr std::size_t kShownCharacters = 60;
    std::size_t shown = std::min(text.size(), kShownCharacters);
    // Not within a character of several bytes.
    while (shown < text.size() && shown > 0 &&
           (static_cast<unsigned char>(text[shown]) & 0xC0) == 0x80) {
        --shown;
    }
    std::string quoted = "'";
    quoted += text.substr(0, shown);
    quoted += text.size() > kShownCharacters ? "...'" : "'";
    return quoted;
}

UsageError optionValueError(std::string_view option, std::string_view text,
                            std::string_view problem) {
    return UsageError(std::string(option) + ": " + quotedArgument(text) + " " +
                      std::string(problem));
}

double optionNumber(std::string_view option, std::string_view text) {
    double value = 0;
    try {
        value = strictParse(text);
    } catch (const Fault& fault) {
        if (fault.kind() == FaultKind::Overflow) {
            throw optionValueError(option, text, "is out of range");
        }
        throw optionValueError(option, text, kNotANumberText);
    }
    // A number too small for a double reads as 0, which the user did not write.
    if (value == 0 && namesNonZero(text)) {
        throw optionValueError(option, text, "is out of range");
    }
    return value;
}

double optionGauge(std::string_view option, std::string_view text) {
    const double gauge = optionNumber(option, text);
    const bool inTable = std::any_of(kGaugeTable.begin(), kGaugeTable.end(),
                                     [gauge](const GaugeRow& row) { return row.swg == gauge; });
    if (!inTable) {
        throw optionValueError(option, text, kNotSwgGaugeText);
    }
    return gauge;
}

double positiveOptionNumber(std::string_view option, std::string_view text) {
    const double value = optionNumber(option, text);
    if (!(value > 0)) {
        throw optionValueError(option, text, kNotAboveZeroText);
    }
    return value;
}

double boundedOptionNumber(std::string_view option, std::string_view text, double low, double high,
                           std::string_view unit) {
    const double value = optionNumber(option, text);
    if (!(value >= low && value <= high)) {
        throw optionValueError(option, text,
                               "is not from " + numberText(low) + " to " + numberText(high) + " " +
                                   std::string(unit));
    }
    return value;
}

} // namespace tarvix
