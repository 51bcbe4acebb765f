// How a fuzz target reports a broken property: the message and the input's
// own description go to stderr and the run aborts, so libFuzzer keeps the
// input as a crash file that replays the failure.
#pragma once

#include <string_view>

namespace tarvix::fuzz {

[[noreturn]] void fail(std::string_view what, std::string_view detail);

inline void check(bool condition, std::string_view what, std::string_view detail = {}) {
    if (!condition) {
        fail(what, detail);
    }
}

} // namespace tarvix::fuzz
