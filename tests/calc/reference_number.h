// An independent reading of the number notation the program accepts, the
// oracle of the parse tests and of the fuzz targets: the text is cut down to
// the notation's pattern by hand and the digits are converted by the C
// library's strtod (under the "C" locale), not by the program's own
// conversions.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarvix::oracle {

// What a text means as a number: a finite value, or a number beyond the double
// range. Text that is no number at all has no ReferenceNumber.
struct ReferenceNumber {
    double value = 0;
    bool overflow = false;
};

// The leading number of the text with blanks (space, tab, line feed) ignored
// everywhere; 0 when the text does not start with one.
ReferenceNumber referenceLenient(std::string_view text);

// The whole text, less surrounding spaces, read as one number; empty
// when the text is anything else.
std::optional<ReferenceNumber> referenceStrict(std::string_view text);

// True when the text has the layout numberText promises: optional "-", then
// either plain decimals with no trailing zeros after a point, or one digit, an
// optional fraction with no trailing zeros, "E", a sign and two or three
// exponent digits.
bool looksLikeNumberText(std::string_view text);

// Count of significant digits in a number text (leading zeros excluded).
int significantDigits(std::string_view text);

} // namespace tarvix::oracle
