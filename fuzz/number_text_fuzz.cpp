// Number text of any finite double (15 significant digits) and any finite
// single (7): the text has the promised layout, reads back by strict parse to
// a number within the rounding of its digits, and for a double that number
// gives the same text again. Scientific form is used exactly from 1E15 (1E7 for a single)
// upwards and below 0.0001.
#include "calc/conversions.h"
#include "calc/fault.h"
#include "fuzz/fuzz_check.h"
#include "reference_number.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

using namespace tarvix;
using namespace tarvix::fuzz;
using namespace tarvix::oracle;

namespace {

template <class Float>
void checkNumberText(Float value, int digits, double scientificFrom, double tolerance) {
    if (!std::isfinite(value)) {
        return; // the record never holds one; numberText's output for it is not a number text
    }
    const std::string shown = numberText(value);
    check(looksLikeNumberText(shown), "number text out of format", shown);
    check(significantDigits(shown) <= digits, "too many significant digits", shown);

    double back = 0;
    try {
        back = strictParse(shown);
    } catch (const Fault& fault) {
        // The one text that cannot come back: the largest doubles round up, at
        // 15 digits, to a number beyond the double range.
        const bool largest = shown == "1.79769313486232E+308" || shown == "-1.79769313486232E+308";
        check(largest && fault.kind() == FaultKind::Overflow, "strict parse refused a number text",
              shown + ": " + fault.what());
        return;
    }
    const double original = static_cast<double>(value);
    check(std::signbit(back) == std::signbit(original) || original == 0,
          "number text lost the sign", shown);
    check(std::fabs(back - original) <= tolerance * std::fabs(original),
          "number text is not the value to its digits", shown);

    // Fifteen digits always come back to the same double; seven do not always
    // come back to the same single (-1.0000002E+28 shows as -1E+28, whose
    // nearest single shows as -9.999999E+27), so a single's text is held to
    // its digits above, not to coming back.
    if (digits <= std::numeric_limits<Float>::digits10) {
        const Float again = static_cast<Float>(back);
        check(numberText(again) == shown, "number text is not stable", shown);
    }

    const bool scientific = shown.find('E') != std::string::npos;
    const double magnitude = std::fabs(back);
    const bool wantScientific = magnitude != 0 && (magnitude >= scientificFrom || magnitude < 1e-4);
    check(scientific == wantScientific, "scientific form chosen wrongly", shown);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size >= sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data, sizeof value);
        // Half a unit in the 15th digit, plus the parse's own rounding.
        checkNumberText(value, 15, 1e15, 5e-15 + 0x1p-52);
    }
    if (size >= sizeof(float)) {
        float value = 0;
        std::memcpy(&value, data + size - sizeof value, sizeof value);
        checkNumberText(value, 7, 1e7, 5e-7 + 0x1p-52);
    }
    return 0;
}
