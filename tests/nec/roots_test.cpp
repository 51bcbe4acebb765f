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
        EXPECT_NEAR(*found, *c.root, 1e-7 * *c.root);
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
        const double root = bracketedRoot(counted, c.a, c.g(c.a), c.b, c.g(c.b), tolerance);
        EXPECT_NEAR(root, c.root, 10 * tolerance * c.root) << tolerance;
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

} // namespace
} // namespace tarvix::test
