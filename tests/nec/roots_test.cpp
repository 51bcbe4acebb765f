// The root finders on functions with known roots, counting the calls as the
// simulation counts solves. No engine is needed.
#include "nec/roots.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace tarvix::test {
namespace {

// Each call is a solve of the antenna. The Illinois step keeps a search to
// under this many on every function below; plain false position, which creeps
// from one side on a curved function, takes up to twice as many or stops
// short of the root.
constexpr int kFewSolves = 20;

struct RootCase {
    const char* name;
    std::function<double(double)> g;
    double start;
    double factor;
    std::optional<double> root; // none: the search must say there is none
};

void PrintTo(const RootCase& c, std::ostream* os) {
    *os << c.name;
}

class RisingRoot : public testing::TestWithParam<RootCase> {};

TEST_P(RisingRoot, FindsTheRisingCrossingOrSaysThereIsNone) {
    const RootCase& c = GetParam();
    int calls = 0;
    auto counted = [&](double x) {
        ++calls;
        return c.g(x);
    };
    const auto found = risingRoot(counted, c.start, c.g(c.start), c.factor, 1e-9);
    ASSERT_EQ(found.has_value(), c.root.has_value());
    if (c.root) {
        EXPECT_TRUE(found->converged);
        EXPECT_NEAR(found->x, *c.root, 1e-7 * *c.root);
        EXPECT_LT(calls, kFewSolves);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Nec, RisingRoot,
    testing::Values(
        // The reactance at F against the coil: nearly straight.
        RootCase{"LinearAbove", [](double x) { return 3 * x - 21; }, 5, 1.25, 7.0},
        RootCase{"LinearBelow", [](double x) { return 3 * x - 21; }, 12, 1.25, 7.0},
        RootCase{"StartOnTheRoot", [](double x) { return x - 2; }, 2, 1.1, 2.0},
        // Curved and steep: false position alone would creep from one side.
        RootCase{"Exponential", [](double x) { return std::exp(x) - 1000; }, 1, 1.25,
                 std::log(1000.0)},
        RootCase{"Cubic", [](double x) { return x * x * x - 2; }, 0.1, 1.5, std::cbrt(2.0)},
        // Poles where the reactance jumps from above zero to below: a step
        // that leaps over a root and the pole after it goes on, and the
        // answer is a rising crossing (on the third branch), never a pole.
        RootCase{"TangentWithPoles", [](double x) { return std::tan(x) - 1; }, 2, 1.25,
                 2 * M_PI + M_PI / 4},
        // Never rising through zero within the steps.
        RootCase{"NeverCrosses", [](double x) { return -1 - x; }, 1, 1.25, std::nullopt},
        RootCase{"OnlyFalling", [](double x) { return 10 - x; }, 1, 1.25, std::nullopt}),
    [](const testing::TestParamInfo<RootCase>& info) { return info.param.name; });

struct BracketCase {
    const char* name;
    std::function<double(double)> g;
    double a, b; // g changes sign between them
    double root;
};

void PrintTo(const BracketCase& c, std::ostream* os) {
    *os << c.name;
}

class BracketedRootOf : public testing::TestWithParam<BracketCase> {};

TEST_P(BracketedRootOf, SettlesWithinTheToleranceInFewSolves) {
    const BracketCase& c = GetParam();
    for (const double tolerance : {1e-5, 1e-9}) {
        int calls = 0;
        auto counted = [&](double x) {
            ++calls;
            return c.g(x);
        };
        const Root root = bracketedRoot(counted, c.a, c.g(c.a), c.b, c.g(c.b), tolerance);
        EXPECT_TRUE(root.converged) << tolerance;
        EXPECT_NEAR(root.x, c.root, 10 * tolerance * c.root) << tolerance;
        EXPECT_LT(calls, kFewSolves) << tolerance;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Nec, BracketedRootOf,
    testing::Values(
        BracketCase{"Linear", [](double x) { return 3 * x - 21; }, 5, 12, 7.0},
        // Curved on the whole bracket: false position alone keeps one end.
        BracketCase{"Tangent", [](double x) { return std::tan(x) - 1; }, 0, 1.5, M_PI / 4},
        BracketCase{"SteepExponential", [](double x) { return std::exp(x) - 1000; }, 0, 10,
                    std::log(1000.0)},
        BracketCase{"Cubic", [](double x) { return x * x * x - 2; }, 0, 4, std::cbrt(2.0)},
        BracketCase{"SquareRoot", [](double x) { return std::sqrt(x) - 3; }, 0, 100, 9.0},
        // Nearly a step: the reactance through a sharp resonance.
        BracketCase{"SharpStep", [](double x) { return std::atan(1e3 * (x - 1)); }, 0, 3, 1.0}),
    [](const testing::TestParamInfo<BracketCase>& info) { return info.param.name; });

// Each finder stops after a fixed number of steps; one that stops short of
// its tolerance must say so, or the simulation passes its last estimate off
// as an answer. A jump (the reactance where a segment comes or goes) keeps
// false position creeping, and a tolerance finer than the steps can reach
// stops the bisection short.
struct ConvergenceCase {
    const char* name;
    std::function<Root()> search;
    bool converged;
    double root;   // near which the answer, settled or not, lies
    double within; // how near
};

void PrintTo(const ConvergenceCase& c, std::ostream* os) {
    *os << c.name;
}

class Convergence : public testing::TestWithParam<ConvergenceCase> {};

TEST_P(Convergence, SaysWhetherTheSearchReachedItsTolerance) {
    const ConvergenceCase& c = GetParam();
    const Root found = c.search();
    EXPECT_EQ(found.converged, c.converged);
    EXPECT_NEAR(found.x, c.root, c.within);
}

double jumpAtSeven(double x) {
    return x < 7 ? -1 - 1e-3 * x : 1 + 1e-3 * x;
}

bool belowSqrtTwo(double x) {
    return x * x < 2;
}

INSTANTIATE_TEST_SUITE_P(
    Nec, Convergence,
    testing::Values(
        ConvergenceCase{"FalsePositionOnACurve",
                        [] {
                            auto g = [](double x) { return x * x * x - 2; };
                            return bracketedRoot(g, 0, g(0), 4, g(4), 1e-12);
                        },
                        true, std::cbrt(2.0), 1e-11},
        // Forty steps narrow a bracket of 7 by about 2^-40 at best: short of
        // 1e-15 of the root.
        ConvergenceCase{"FalsePositionOnAJumpStopsShort",
                        [] {
                            return bracketedRoot(jumpAtSeven, 0, jumpAtSeven(0), 14,
                                                 jumpAtSeven(14), 1e-15);
                        },
                        false, 7, 1e-3},
        ConvergenceCase{
            "FalsePositionOnAJumpSettlesToACoarseTolerance",
            [] { return bracketedRoot(jumpAtSeven, 0, jumpAtSeven(0), 14, jumpAtSeven(14), 1e-5); },
            true, 7, 1e-3},
        ConvergenceCase{"RisingSearchPassesOnAnUnsettledRoot",
                        [] { return *risingRoot(jumpAtSeven, 5, jumpAtSeven(5), 1.25, 1e-15); },
                        false, 7, 1e-3},
        ConvergenceCase{"BisectionWithinItsTolerance",
                        [] { return bisectedRoot(belowSqrtTwo, 1, 2, 60, 1e-9); }, true,
                        std::sqrt(2.0), 1e-8},
        ConvergenceCase{"BisectionOutOfSteps",
                        [] { return bisectedRoot(belowSqrtTwo, 1, 2, 10, 1e-9); }, false,
                        std::sqrt(2.0), 1e-3},
        // With no tolerance it halves until the ends are neighbouring doubles,
        // as close as a bracket gets; from the top end down as well.
        ConvergenceCase{"BisectionToNeighbouringDoubles",
                        [] { return bisectedRoot(belowSqrtTwo, 1, 2, 60, 0); }, true,
                        std::sqrt(2.0), 4e-16},
        ConvergenceCase{
            "BisectionFromTheTopEnd",
            [] { return bisectedRoot([](double x) { return !belowSqrtTwo(x); }, 2, 1, 60, 0); },
            true, std::sqrt(2.0), 4e-16}),
    [](const testing::TestParamInfo<ConvergenceCase>& info) { return info.param.name; });

} // namespace
} // namespace tarvix::test
