// Lenient parse on any byte string: invalid UTF-8, control characters and very
// long texts included. It gives the value the oracle reads or, for a number
// beyond the double range, an Overflow fault; never an infinity or a NaN. The
// number text of its value reads back to the same text.
#include "calc/conversions.h"
#include "calc/fault.h"
#include "fuzz/fuzz_check.h"
#include "reference_number.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using namespace tarvix;
using namespace tarvix::fuzz;
using namespace tarvix::oracle;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ReferenceNumber expected = referenceLenient(text);

    double value = 0;
    try {
        value = lenientParse(text);
    } catch (const Fault& fault) {
        check(fault.kind() == FaultKind::Overflow, "lenientParse threw a fault other than Overflow",
              fault.what());
        check(expected.overflow, "lenientParse overflowed on a number within range",
              std::to_string(expected.value));
        return 0;
    }
    check(std::isfinite(value), "lenientParse gave an infinity or a NaN");
    check(!expected.overflow, "lenientParse gave a value for a number beyond range",
          std::to_string(value));
    // Values below the smallest normal double may be flushed to zero; anything
    // above it must be the correctly rounded value.
    if (std::fabs(expected.value) >= 0x1p-1022) {
        check(value == expected.value, "lenientParse disagrees with the oracle",
              numberText(value) + " instead of " + numberText(expected.value));
    } else {
        check(std::fabs(value) < 0x1p-1022, "lenientParse made a tiny number large",
              numberText(value));
    }

    // text -> number -> text is stable: reading the number text back, leniently
    // or strictly, gives the same number text.
    const std::string shown = numberText(value);
    check(looksLikeNumberText(shown), "number text out of format", shown);
    check(numberText(lenientParse(shown)) == shown, "lenient round trip changed the text", shown);
    check(numberText(strictParse(shown)) == shown, "strict round trip changed the text", shown);
    return 0;
}
