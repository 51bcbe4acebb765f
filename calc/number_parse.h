// Text to number: the one notation the boxes, the gauge lists and the command
// line accept, read the same whatever the user's locale ("." is always the
// decimal point).
#pragma once

#include <string_view>

namespace tarvix {

// Reads the longest leading part of the text that forms a number and ignores
// the rest. Blanks, tabs and line feeds are skipped anywhere; an optional sign;
// digits with at most one "."; an optional exponent after E or D. Text with no
// number gives 0. Throws Fault(Overflow) for a number beyond the double range,
// since an infinity would corrupt the design.
double lenientParse(std::string_view text);

// Whether lenientParse reads the text without Fault(Overflow). A text with
// no exponent and at most 308 characters has at most 308 digits before its
// point, so its number is below 10^308, within range: only longer texts and
// texts with an exponent are read to tell.
bool readsWithinRange(std::string_view text);

// The whole text, less surrounding spaces, must be a number in the notation of
// lenientParse. Throws Fault(TypeMismatch) otherwise, Fault(Overflow) when it
// is beyond the double range.
double strictParse(std::string_view text);

// What a user is told of a value, after the value itself: one that strictParse
// refuses, and one that must be above zero and is not.
inline constexpr const char* kNotANumberText = "is not a number";
inline constexpr const char* kNotAboveZeroText = "is not above 0";

// Removes leading and trailing blanks: by default space characters (code 32)
// only, as the window's boxes take them.
std::string_view trim(std::string_view text, std::string_view blanks = " ");

} // namespace tarvix
