// The physical constants the coil and the antenna model share, in SI units.
#pragma once

#include <numbers>

namespace tarvix {

// The magnetic constant, taken as 4 pi 1e-7 H/m (its value before 2019, within
// 1e-9 of today's).
inline constexpr double kMu0HPerM = 4e-7 * std::numbers::pi;
// Annealed copper (IACS 100 %, 5.8e7 S/m) for the coil and the antenna wire.
inline constexpr double kCopperSPerM = 5.8e7;
// The speed of light in vacuum, exact by definition.
inline constexpr double kLightMetresPerSecond = 299'792'458;

} // namespace tarvix
