// Roots of a function that costs a solve each time it is called, and the
// bisection of a bracket on a cheap one. Every search says whether it reached
// its tolerance: each stops after a fixed number of steps, and a root it
// stopped short on is its last estimate, which the caller must not pass off as
// settled.
#pragma once

#include <functional>
#include <optional>

namespace tarvix {

// Bracketing steps of the rising search: up to this many.
inline constexpr int kMaxBracketSteps = 30;
// Steps of false position: up to this many.
inline constexpr int kMaxFalsePositionSteps = 40;

// A root, and whether the search closed in on it to its tolerance before its
// last step (false: x is only its last estimate).
struct Root {
    double x = 0;
    bool converged = false;
};

// False position with the Illinois step on [a, b], where g changes sign (ga
// and gb are g at a and b), until the root moves by less than tolerance of
// itself, or the bracket is that narrow; at most kMaxFalsePositionSteps calls
// of g.
Root bracketedRoot(const std::function<double(double)>& g, double a, double ga, double b, double gb,
                   double tolerance);

// From x0 (above zero), where g is g0, steps by factor (or 1 / factor) until
// g, which rises with x, changes sign; then false position between the last
// two steps. Only a rising crossing counts: g may also jump from above zero to
// below it at a pole. None when no crossing is met within kMaxBracketSteps.
std::optional<Root> risingRoot(const std::function<double(double)>& g, double x0, double g0,
                               double factor, double tolerance);

// Bisection of the bracket from a to b (a may lie above b): onASide holds at
// a's end of it and fails at b's, and the bisection keeps the half where that
// changes. At most mostSteps halvings, fewer once the bracket is within
// tolerance of b (zero: only an empty bracket is narrow enough); the root is
// the middle of what is left. It converged when the bracket got that narrow or
// its ends are neighbouring doubles, which no halving can bring closer.
Root bisectedRoot(const std::function<bool(double)>& onASide, double a, double b, int mostSteps,
                  double tolerance);

} // namespace tarvix
