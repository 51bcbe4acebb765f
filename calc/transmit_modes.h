// The modes a radio amateur transmits in and the share of the time each keeps
// the power on, which sets what a coil must shed on average.
#pragma once

#include <optional>
#include <span>
#include <string_view>

namespace tarvix {

struct TransmitMode {
    std::string_view name;        // as the command line takes it: "ssb"
    std::string_view description; // "SSB voice"
    double dutyPercent;           // average power over the peak power
};

// cw 40, ssb 20, ft8 42, rtty 100, am 25, fm 100 (see transmit_modes.cpp).
std::span<const TransmitMode> transmitModes();
std::optional<TransmitMode> transmitMode(std::string_view name);
inline constexpr std::string_view kDefaultTransmitMode = "ssb";
inline constexpr double kDefaultPowerW = 100;

} // namespace tarvix
