// One design run: the step-1 limits at their bounds, the rounding of the
// shown inductance, and the stage and kind of a fault.
#include "calc/conversions.h"
#include "calc/design_run.h"
#include "calc/fault.h"
#include "calc/step_one_warnings.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace tarvix {
namespace {

struct LimitCase {
    const char* name;
    double f, a, b;
    std::vector<std::string> warnings;
};

void PrintTo(const LimitCase& c, std::ostream* os) {
    *os << c.name;
}

class StepOneLimits : public testing::TestWithParam<LimitCase> {};

TEST_P(StepOneLimits, WarnExactlyBeyondTheirBounds) {
    const LimitCase& c = GetParam();
    EXPECT_EQ(stepOneWarnings(c.f, c.a, c.b), c.warnings);
}

const std::string kM1 = "Input HF range only (1.5 to 30MHz)";

// clang-format off
INSTANTIATE_TEST_SUITE_P(Calc, StepOneLimits, testing::Values(
    // F: 1 to 30 inclusive, although the message says 1.5.
    LimitCase{"FrequencyOneIsIn", 1, 20, 5, {}},
    LimitCase{"FrequencyOnePointTwoIsIn", 1.2, 20, 5, {}},
    LimitCase{"FrequencyThirtyIsIn", 30, 10, 2, {}},
    LimitCase{"FrequencyBelowOne", 0.9, 20, 5, {kM1}},
    LimitCase{"FrequencyAboveThirty", 30.01, 10, 2, {kM1}},
    // A against 2.6 B as doubles; equal passes.
    LimitCase{"LengthEqualToTwoPointSixB", 14, 26, 10, {}},
    LimitCase{"LengthBelowTwoPointSixB", 14, 25, 10, {"A ahould be larger than 26 ft"}},
    // A against Int(421.2 / F) in single precision; equal passes.
    LimitCase{"LengthAtItsLimit", 14, 30, 5, {}},
    LimitCase{"LengthAboveItsLimit", 14, 30.5, 5, {" A should be smaller than  30 ft"}},
    LimitCase{"ZeroFrequencyHasNoLengthLimit", 0, 60, 20, {kM1}},
    // B against Int(A * 0.8 / 2) in single precision; equal passes.
    LimitCase{"DistanceAtItsLimit", 7, 32.4, 12, {}},
    LimitCase{"DistanceAboveItsLimit", 7, 32.4, 12.3, {"B should be lower than 12 ft"}},
    LimitCase{"DistanceAboveInSinglePrecision", 7, 32.4, 12.000001, {"B should be lower than 12 ft"}},
    LimitCase{"DistanceEqualInSinglePrecision", 7, 32.4, 12.00000001, {}},
    // 2.6 B beyond the double range: no message could state it.
    LimitCase{"TwoPointSixBBeyondTheDoubleRange", 7, 60, 1e308, {"B should be lower than 24 ft"}},
    LimitCase{"LengthBeyondTheSingleRange", 7, 1e39, 5, {" A should be smaller than  60 ft"}}),
    [](const testing::TestParamInfo<LimitCase>& info) { return info.param.name; });
// clang-format on

TEST(InductanceDisplay, RoundsDownToOneDecimalAsTheWindowShowsIt) {
    const std::vector<std::pair<double, std::string>> rows{{5.533500417592047, "5.5"},
                                                           {12.3456, "12.3"},
                                                           {12.99, "12.9"},
                                                           {7, "7"},
                                                           {0.05, "0"},
                                                           {-2.34, "-2.4"},
                                                           {0.1, "0.1"}};
    for (const auto& [inductance, shown] : rows) {
        EXPECT_EQ(inductanceDisplayText(numberText(inductance)), shown) << inductance;
    }
}

struct FaultCase {
    const char* name;
    DesignInputs inputs;
    Stage stage;
    FaultKind kind;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

DesignInputs worked(double freqMHz, double centreToCoilFt, std::optional<WindingInputs> winding) {
    DesignInputs inputs;
    inputs.freqMHz = freqMHz;
    inputs.totalLengthFt = 60;
    inputs.centreToCoilFt = centreToCoilFt;
    inputs.winding = std::move(winding);
    return inputs;
}

class DesignFault : public testing::TestWithParam<FaultCase> {};

TEST_P(DesignFault, KeepsItsStageAndKindWithTheKindsText) {
    const FaultCase& c = GetParam();
    const DesignResult result = runDesign(c.inputs);
    ASSERT_TRUE(result.fault.has_value());
    EXPECT_EQ(result.fault->stage, c.stage);
    EXPECT_EQ(result.fault->kind, c.kind);
    EXPECT_EQ(result.fault->text, faultText(c.kind));
    EXPECT_EQ(result.inductanceDone, c.stage == Stage::Winding);
    EXPECT_FALSE(result.windingDone);
}

INSTANTIATE_TEST_SUITE_P(
    Calc, DesignFault,
    testing::Values(FaultCase{"ZeroFrequency", worked(0, 20, std::nullopt), Stage::Inductance,
                              FaultKind::DivisionByZero},
                    // The coils at the tips leave no wire beyond them: the log of zero.
                    FaultCase{"CoilsAtTheTips", worked(7, 30, std::nullopt), Stage::Inductance,
                              FaultKind::InvalidArgument},
                    FaultCase{"NoFormer", worked(7, 20, WindingInputs{0, 2, "20"}), Stage::Winding,
                              FaultKind::DivisionByZero},
                    FaultCase{"OddCoilGauge", worked(7, 20, WindingInputs{2, 2, "21"}),
                              Stage::Winding, FaultKind::CoilGaugeNotInTable},
                    FaultCase{"CoilGaugeNoNumber", worked(7, 20, WindingInputs{2, 2, "x"}),
                              Stage::Winding, FaultKind::TypeMismatch}),
    [](const testing::TestParamInfo<FaultCase>& info) { return info.param.name; });

} // namespace
} // namespace tarvix
