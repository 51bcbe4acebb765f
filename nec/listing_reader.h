// The listing reader's pieces that the rest of the runner shares: reading a
// listing or message file a line at a time, numbers in the C notation, and
// the line that says what went wrong. readNecOutput itself is declared in
// nec/nec_engine.h. Internal to nec/.
#pragma once

#include "calc/char_conv.h"

#include <charconv>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>
#include <system_error>
#include <type_traits>

namespace tarvix::nec_detail {

// The next line of the stream, cut to its first kilobyte; false at the end.
bool nextLine(std::istream& in, std::string& line);

// A text quoted in an error, cut to a length a message can hold.
std::string cut(std::string text);

std::string_view skipBlanks(std::string_view text);

// Reads a number at the start of the text, in the C notation whatever the
// locale; the text is left after it. False when there is none.
template <typename Number> bool readNumber(std::string_view& text, Number& value) {
    text = skipBlanks(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    const auto [end, error] = [&] {
        if constexpr (std::is_floating_point_v<Number>) {
            return fromChars(text.data(), text.data() + text.size(), value);
        } else {
            return std::from_chars(text.data(), text.data() + text.size(), value);
        }
    }();
    if (error != std::errc()) {
        return false;
    }
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return true;
}

// The line that tells the user what went wrong: the engine's first message on
// its own output streams, else the first line of the listing naming an error;
// empty when there is neither.
std::string firstErrorLine(const std::filesystem::path& messages,
                           const std::filesystem::path& listing);

} // namespace tarvix::nec_detail
