// The powers of ten that are exact doubles: the parse and the number text both
// scale by them, so that a short decimal is one correctly rounded operation
// away from its double and back.
#pragma once

#include <array>

namespace tarvix {

inline constexpr std::array<double, 23> kPowersOfTen{1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

} // namespace tarvix
