// Roots of a function that costs a solve each time it is called.
#pragma once

#include <functional>
#include <optional>

namespace tarvix {

// Bracketing steps of the rising search: up to this many.
inline constexpr int kMaxBracketSteps = 30;

// False position with the Illinois step on [a, b], where g changes sign (ga
// and gb are g at a and b), until the root moves by less than tolerance of
// itself, or the bracket is that narrow.
double bracketedRoot(const std::function<double(double)>& g, double a, double ga, double b,
                     double gb, double tolerance);

// From x0 (above zero), where g is g0, steps by factor (or 1 / factor) until
// g, which rises with x, changes sign; then false position between the last
// two steps. Only a rising crossing counts: g may also jump from above zero to
// below it at a pole. None when no crossing is met within kMaxBracketSteps.
std::optional<double> risingRoot(const std::function<double(double)>& g, double x0, double g0,
                                 double factor, double tolerance);

} // namespace tarvix
