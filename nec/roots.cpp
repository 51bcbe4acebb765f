// Roots of a function that costs a solve each time it is called: false
// position that keeps the root bracketed, and the bracketing steps before it;
// and the bisection of a bracket on a function that costs little.
#include "nec/roots.h"

#include <cmath>

namespace tarvix {

Root bracketedRoot(const std::function<double(double)>& g, double a, double ga, double b, double gb,
                   double tolerance) {
    int side = 0;
    double c = a;
    for (int step = 0; step < kMaxFalsePositionSteps; ++step) {
        const double next = (a * gb - b * ga) / (gb - ga);
        const bool settled = std::fabs(next - c) <= tolerance * std::fabs(next) ||
                             std::fabs(b - a) <= tolerance * std::fabs(next);
        c = next;
        if (settled) {
            return {c, true};
        }
        const double gc = g(c);
        if (gc == 0) {
            return {c, true};
        }
        if ((gc < 0) == (gb < 0)) {
            b = c;
            gb = gc;
            if (side == -1) {
                ga /= 2;
            }
            side = -1;
        } else {
            a = c;
            ga = gc;
            if (side == 1) {
                gb /= 2;
            }
            side = 1;
        }
    }
    return {c, false};
}

std::optional<Root> risingRoot(const std::function<double(double)>& g, double x0, double g0,
                               double factor, double tolerance) {
    const double step = g0 < 0 ? factor : 1 / factor;
    double x = x0;
    double gx = g0;
    for (int i = 0; i < kMaxBracketSteps; ++i) {
        if (gx == 0) {
            return Root{x, true};
        }
        const double next = x * step;
        const double gNext = g(next);
        if (gx < 0 && gNext >= 0 && step > 1) {
            return bracketedRoot(g, x, gx, next, gNext, tolerance);
        }
        if (gx >= 0 && gNext < 0 && step < 1) {
            return bracketedRoot(g, next, gNext, x, gx, tolerance);
        }
        x = next;
        gx = gNext;
    }
    return std::nullopt;
}

Root bisectedRoot(const std::function<bool(double)>& onASide, double a, double b, int mostSteps,
                  double tolerance) {
    auto narrow = [&] { return std::fabs(b - a) <= tolerance * std::fabs(b); };
    for (int step = 0; step < mostSteps && !narrow(); ++step) {
        const double middle = (a + b) / 2;
        (onASide(middle) ? a : b) = middle;
    }
    const double middle = (a + b) / 2;
    return {middle, narrow() || middle == a || middle == b};
}

} // namespace tarvix
