// The modes' duty factors.
#include "calc/transmit_modes.h"

#include <array>

namespace tarvix {

namespace {

// FCC OET Bulletin 65 Supplement B (1997), table "Operating duty factor of
// modes commonly used by amateur radio operators": conversational SSB 20 %
// (without speech processing), conversational CW 40 %, voice AM at 100 %
// modulation 25 %, voice FM and the keyboard digital modes (RTTY) 100 %.
// FT8 is newer than the table: it transmits 12.64 s of each 15 s period
// (Franke, Somerville and Taylor, "The FT4 and FT8 communication protocols",
// QEX July/August 2020), every other period: 42 % of the time, at full power.
constexpr std::array<TransmitMode, 6> kModes{{
    {"cw", "CW", 40},
    {"ssb", "SSB voice", 20},
    {"ft8", "FT8", 42},
    {"rtty", "RTTY", 100},
    {"am", "AM voice", 25},
    {"fm", "FM voice", 100},
}};

} // namespace

std::span<const TransmitMode> transmitModes() {
    return kModes;
}

std::optional<TransmitMode> transmitMode(std::string_view name) {
    for (const TransmitMode& mode : kModes) {
        if (mode.name == name) {
            return mode;
        }
    }
    return std::nullopt;
}

} // namespace tarvix
