// Strict parse on any byte string. A text is a number exactly when the oracle
// says so; then strict and lenient parse agree on its value. Anything else is
// a type mismatch; a number beyond the double range is an Overflow.
#include "calc/conversions.h"
#include "calc/fault.h"
#include "fuzz/fuzz_check.h"
#include "reference_number.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using namespace tarvix;
using namespace tarvix::fuzz;
using namespace tarvix::oracle;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<ReferenceNumber> expected = referenceStrict(text);

    double value = 0;
    try {
        value = strictParse(text);
    } catch (const Fault& fault) {
        if (fault.kind() == FaultKind::TypeMismatch) {
            check(!expected.has_value(), "strictParse refused a number");
        } else {
            check(fault.kind() == FaultKind::Overflow,
                  "strictParse threw a fault other than TypeMismatch or Overflow", fault.what());
            check(expected && expected->overflow, "strictParse overflowed on a number in range");
        }
        return 0;
    }
    check(expected.has_value(), "strictParse accepted text that is not a number");
    check(!expected->overflow, "strictParse gave a value for a number beyond range");
    check(std::isfinite(value), "strictParse gave an infinity or a NaN");
    if (std::fabs(expected->value) >= 0x1p-1022) {
        check(value == expected->value, "strictParse disagrees with the oracle",
              numberText(value) + " instead of " + numberText(expected->value));
    }
    // Whatever strict parse accepts, lenient parse reads the same way.
    check(lenientParse(text) == value, "lenient and strict parse disagree", numberText(value));
    return 0;
}
