// Numbers to text and back in the C notation, whatever the locale: the
// standard <charconv> where the standard library has it for floating point,
// else (emscripten's library, for the browser) the C library's printf and
// strtod, which the standard defines those conversions by.
#pragma once

#include <charconv>

namespace tarvix {

// As std::to_chars(first, last, value): the shortest text that reads back
// as the value.
std::to_chars_result toChars(char* first, char* last, double value);
// As std::to_chars(first, last, value, format, precision), for
// std::chars_format::general ("%.*g") and fixed ("%.*f").
std::to_chars_result toChars(char* first, char* last, double value, std::chars_format format,
                             int precision);
// As std::from_chars(first, last, value, std::chars_format::general).
std::from_chars_result fromChars(const char* first, const char* last, double& value);

// The same through the C library, which the browser's build uses; built
// everywhere, so that it is tested against the standard's.
namespace c_library {
std::to_chars_result toChars(char* first, char* last, double value);
std::to_chars_result toChars(char* first, char* last, double value, std::chars_format format,
                             int precision);
std::from_chars_result fromChars(const char* first, const char* last, double& value);
} // namespace c_library

} // namespace tarvix
