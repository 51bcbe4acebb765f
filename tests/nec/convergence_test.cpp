// The graded model that --simulate solves, held against a uniform model of
// at least 400 equal segments with the coils' segments centred on +-B: where
// the formula's coils resonate and which coil makes the antenna resonate on
// F. The uniform model shares none of the grading, so a bias of the grading
// (a loaded or driven segment unlike its neighbours) shows here. Also, the
// corrected antenna of the graded model, solved again, resonates on F, and
// the corrections point the right way.
#include "calc/design_run.h"
#include "calc/ground.h"
#include "designs.h"
#include "nec/nec2c.h"
#include "nec/simulation.h"
#include "needs_nec2c.h"

#include <cmath>
#include <gtest/gtest.h>
#include <optional>

namespace tarvix::test {
namespace {

constexpr int kUniformSegments = 400;

struct LoadedDipole {
    const char* name;
    double f, a, b;
    const char* swg;
    std::optional<double> heightFt;
    std::optional<double> endHeightFt = std::nullopt; // an inverted V's tips
    const char* ground = "average";
};

void PrintTo(const LoadedDipole& d, std::ostream* os) {
    *os << d.name;
}

double relative(double value, double reference) {
    return std::fabs(value / reference - 1);
}

class AgainstUniformModel : public testing::TestWithParam<LoadedDipole> {};

TEST_P(AgainstUniformModel, ResonanceAndCorrectedCoilAgreeWithFourHundredEqualSegments) {
    NEEDS_NEC2C();
    const LoadedDipole& d = GetParam();
    const DesignResult design = designOf(d.f, d.a, d.b, d.swg);
    Nec2c engine(NEC2C_PATH);
    SimulationOptions options;
    options.model.heightFt = d.heightFt;
    options.model.endHeightFt = d.endHeightFt;
    options.model.ground = groundOfClass(d.ground).value();
    const SimulationResult graded = simulateDesign(design, std::nullopt, options, engine);
    options.model.uniformSegments = kUniformSegments;
    const SimulationResult uniform = simulateDesign(design, std::nullopt, options, engine);

    EXPECT_GE(uniform.segments, kUniformSegments);
    ASSERT_TRUE(graded.formula.resonanceMHz && uniform.formula.resonanceMHz);
    EXPECT_LT(relative(*graded.formula.resonanceMHz, *uniform.formula.resonanceMHz), 0.001)
        << *graded.formula.resonanceMHz << " MHz against " << *uniform.formula.resonanceMHz;
    EXPECT_LT(relative(graded.corrected.coilUH, uniform.corrected.coilUH), 0.005)
        << graded.corrected.coilUH << " uH against " << uniform.corrected.coilUH;

    ASSERT_TRUE(graded.corrected.resonanceMHz);
    EXPECT_LT(relative(*graded.corrected.resonanceMHz, d.f), 0.0005);
    // Where the formula's coils resonate above F the coils must grow, or the
    // tips; below F, both shrink.
    const bool above = *graded.formula.resonanceMHz > d.f;
    EXPECT_EQ(graded.corrected.coilUH > design.record.inductanceUH, above);
    ASSERT_TRUE(graded.tipChangeFt);
    EXPECT_EQ(*graded.tipChangeFt > 0, above);
    EXPECT_LT(std::fabs(*graded.tipChangeFt), d.a / 2 - d.b);
}

// B from 0.05 ft to 95 % of a leg, A from a quarter to 0.95 of a half wave
// (468 / F ft), 160 m to 10 m, free space and over every class of ground,
// level and as inverted Vs. A uniform model
// with B = 0.05 ft needs segments of 0.05 ft at most: on a 10 m antenna 400
// of them fit.
INSTANTIATE_TEST_SUITE_P(
    Nec, AgainstUniformModel,
    testing::Values(
        LoadedDipole{"WorkedExample", 7, 60, 20, "14", std::nullopt},
        LoadedDipole{"WorkedExampleAtThirtyFeet", 7, 60, 20, "14", 30},
        LoadedDipole{"TopBandQuarterWave", 1.85, 63, 10, "14", std::nullopt},
        LoadedDipole{"EightyMetresNinetyFivePercentOfAHalfWaveAndOfALeg", 3.6, 123, 58.4, "12",
                     std::nullopt},
        LoadedDipole{"FortyMetresLargeCoilsNearTheTips", 7, 34, 16, "14", std::nullopt},
        LoadedDipole{"TwentyMetresOverGround", 14.2, 20, 5, "16", 20},
        LoadedDipole{"TenMetresDesign", 28.5, 11, 2.5, "14", std::nullopt},
        LoadedDipole{"TenMetresCentreLoaded", 28.5, 11, 0.05, "16", std::nullopt},
        // Inverted Vs, each over a ground of another class; the
        // uniform model's legs slope from the middle segment.
        LoadedDipole{"WorkedExampleInvertedVOverAverageGround", 7, 60, 20, "14", 30, 10},
        LoadedDipole{"TopBandInvertedVOverSeaWater", 1.85, 63, 10, "14", 40, 15, "sea"},
        LoadedDipole{"EightyMetresInvertedVOverFreshWater", 3.6, 90, 25, "14", 35, 12,
                     "fresh-water"},
        LoadedDipole{"FortyMetresInvertedVOverPoorGround", 7, 34, 16, "14", 25, 12, "poor"},
        LoadedDipole{"TwentyMetresInvertedVOverVeryGoodGround", 14.2, 20, 5, "16", 20, 12,
                     "very-good"},
        LoadedDipole{"TenMetresInvertedVOverVeryPoorGround", 28.5, 11, 2.5, "14", 15, 12,
                     "very-poor"}),
    [](const testing::TestParamInfo<LoadedDipole>& info) { return info.param.name; });

} // namespace
} // namespace tarvix::test
