// Usage errors: the command line cannot be run as given. They end the program
// with exit status 2 before anything is computed.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace tarvix {

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text the user typed, in quotes, for a message: cut to its first 60
// characters and "..." when longer.
std::string quotedArgument(std::string_view text);

// "option: 'text' problem", with the text quoted as above.
UsageError optionValueError(std::string_view option, std::string_view text,
                            std::string_view problem);

// Strict parse of an option's value. Text that is not a number, or a number
// beyond the double range or too small for it, is a usage error naming the
// option and the text.
double optionNumber(std::string_view option, std::string_view text);

// The same for a value that must be above zero (and finite).
double positiveOptionNumber(std::string_view option, std::string_view text);

// The same for a value from low to high, both included; unit follows the
// bounds in the message.
double boundedOptionNumber(std::string_view option, std::string_view text, double low, double high,
                           std::string_view unit);

// optionNumber for a wire gauge: only the even gauges 10 to 30 have a
// diameter, so any other is a usage error too.
double optionGauge(std::string_view option, std::string_view text);

} // namespace tarvix
