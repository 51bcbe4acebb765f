// Reading option values as the calculations read the gauge lists: the whole
// text must be a number.
#include "cli/usage_error.h"

#include "calc/conversions.h"
#include "calc/fault.h"

#include <string>

namespace tarvix {

double optionNumber(std::string_view option, std::string_view text) {
    try {
        return strictParse(text);
    } catch (const Fault& fault) {
        const std::string quoted = "'" + std::string(text) + "'";
        if (fault.kind() == FaultKind::Overflow) {
            throw UsageError(std::string(option) + ": " + quoted + " is out of range");
        }
        throw UsageError(std::string(option) + ": " + quoted + " is not a number");
    }
}

double positiveOptionNumber(std::string_view option, std::string_view text) {
    const double value = optionNumber(option, text);
    if (!(value > 0)) {
        throw UsageError(std::string(option) + ": '" + std::string(text) + "' is not above 0");
    }
    return value;
}

} // namespace tarvix
