// The root finders on functions with known roots, counting the calls as the
// simulation counts solves.
#include "nec/roots.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace tarvix::test {
namespace {

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
        EXPECT_LT(calls, kMaxBracketSteps + 40);
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

TEST(BracketedRoot, SettlesWithinTheToleranceOnBothSidesOfTheBracket) {
    for (const double tolerance : {1e-5, 1e-9}) {
        const double root = bracketedRoot([](double x) { return std::tan(x) - 1; }, 0, -1, 1.5,
                                          std::tan(1.5) - 1, tolerance);
        EXPECT_NEAR(root, std::atan(1.0), 10 * tolerance) << tolerance;
    }
}

} // namespace
} // namespace tarvix::test
