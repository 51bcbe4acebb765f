// The simulation's input rules, which the terminal and the check window both
// apply: each row changes one input of a request that can be simulated, and
// the rule that refuses it must name that input, and only it.
#include "nec/simulation_request.h"

#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>

namespace tarvix::test {
namespace {

SimulationRequest workedExample() {
    SimulationRequest request;
    request.design.freqMHz = 7;
    request.design.totalLengthFt = 60;
    request.design.centreToCoilFt = 20;
    request.options.build = CoilBuild{2, 0.036, std::nullopt, "SWG 20", CoilFormer::pvcPipe};
    return request;
}

struct RuleRow {
    const char* name;
    std::function<void(SimulationRequest&)> change;
    std::optional<SimulationInput> refused; // none: the request stands
    const char* why = "";
};

void PrintTo(const RuleRow& row, std::ostream* os) {
    *os << row.name;
}

class SimulationRules : public testing::TestWithParam<RuleRow> {};

TEST_P(SimulationRules, RefuseTheInputThatCannotBeSimulatedAndNoOther) {
    const RuleRow& row = GetParam();
    SimulationRequest request = workedExample();
    row.change(request);
    const std::vector<InputProblem> problems = simulationInputProblems(request);
    if (!row.refused) {
        EXPECT_TRUE(problems.empty()) << problems.front().why;
        return;
    }
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems.front().input, *row.refused);
    EXPECT_EQ(problems.front().why.rfind(row.why, 0), 0u) << problems.front().why;
}

using In = SimulationInput;

INSTANTIATE_TEST_SUITE_P(
    Rows, SimulationRules,
    testing::Values(
        RuleRow{"WorkedExample", [](SimulationRequest&) {}, std::nullopt},
        RuleRow{"FBelowTheHfBands", [](SimulationRequest& r) { r.design.freqMHz = 0.1; }, In::Freq,
                "must be between 1 and 30 MHz"},
        RuleRow{"FNegative", [](SimulationRequest& r) { r.design.freqMHz = -7; }, In::Freq,
                "must be between 1 and 30 MHz"},
        RuleRow{"ANegative", [](SimulationRequest& r) { r.design.totalLengthFt = -60; },
                In::TotalLength, "is not above 0"},
        RuleRow{"BBeyondTheTip", [](SimulationRequest& r) { r.design.centreToCoilFt = 30; },
                In::CoilDistance, "must be less than half of A (30 ft)"},
        RuleRow{"BBeyondTheTipInMetres",
                [](SimulationRequest& r) {
                    r.design.centreToCoilFt = 40;
                    r.design.units = Units::Metric;
                },
                In::CoilDistance, "must be less than half of A (9.144 m)"},
        // 70 ft at 7 MHz is longer than the half wave the formula loads.
        RuleRow{"ALongerThanNeeded", [](SimulationRequest& r) { r.design.totalLengthFt = 70; },
                In::TotalLength, "is already a half wave at 7 MHz or longer"},
        RuleRow{"NegativeB", [](SimulationRequest& r) { r.design.centreToCoilFt = -1; },
                In::CoilDistance, "is below 0"},
        RuleRow{"AntennaGaugeNotInTheTable",
                [](SimulationRequest& r) { r.design.antennaSwgText = "99"; }, In::AntennaWire,
                "is thinner than"},
        RuleRow{"HeightZero", [](SimulationRequest& r) { r.options.model.heightFt = 0; },
                In::Height, "is not above the ground"},
        RuleRow{"HeightInsideTheWire",
                [](SimulationRequest& r) { r.options.model.heightFt = 0.001; }, In::Height,
                "puts the wire in the ground"},
        RuleRow{"InvertedVAt30And10Feet",
                [](SimulationRequest& r) {
                    r.options.model.heightFt = 30;
                    r.options.model.endHeightFt = 10;
                },
                std::nullopt},
        RuleRow{"TipsWithoutAFeedPointHeight",
                [](SimulationRequest& r) { r.options.model.endHeightFt = 10; }, In::EndHeight,
                "needs the feed point's height"},
        RuleRow{"TipsOnTheGround",
                [](SimulationRequest& r) {
                    r.options.model.heightFt = 30;
                    r.options.model.endHeightFt = 0;
                },
                In::EndHeight, "is not above the ground"},
        RuleRow{"TipsAboveTheFeedPoint",
                [](SimulationRequest& r) {
                    r.options.model.heightFt = 30;
                    r.options.model.endHeightFt = 35;
                },
                In::EndHeight, "is above the feed point"},
        RuleRow{"TipsFurtherDownThanALeg",
                [](SimulationRequest& r) {
                    r.options.model.heightFt = 40;
                    r.options.model.endHeightFt = 5;
                },
                In::EndHeight, "is further below the feed point than a leg is long (30 ft)"},
        RuleRow{"GroundOfNoConductivity",
                [](SimulationRequest& r) {
                    r.options.model.heightFt = 30;
                    r.options.model.ground = Ground{"", 0, 13};
                },
                In::GroundConductivity, "is not above 0"},
        RuleRow{"GroundBelowVacuumPermittivity",
                [](SimulationRequest& r) {
                    r.options.model.heightFt = 30;
                    r.options.model.ground = Ground{"", 0.005, 0.5};
                },
                In::GroundPermittivity, "is below 1"},
        RuleRow{"NoPower", [](SimulationRequest& r) { r.options.power.powerW = 0; }, In::Power,
                "is not above 0 W"},
        RuleRow{"ADutyOverAWholeTime",
                [](SimulationRequest& r) { r.options.power.dutyPercent = 150; }, In::Duty,
                "is not above 0 and at most 100 %"},
        RuleRow{"InsulationOfNoThickness",
                [](SimulationRequest& r) {
                    r.options.model.insulation = Insulation{0, 3.5};
                },
                In::Insulation, "is not above 0"},
        RuleRow{"PermittivityBelowVacuum",
                [](SimulationRequest& r) {
                    r.options.model.insulation = Insulation{0.02, 0.5};
                },
                In::Permittivity, "is below 1"},
        RuleRow{"FormerOfNoSize", [](SimulationRequest& r) { r.options.build->formerDiaIn = 0; },
                In::FormerDia, "is not above 0"},
        // The calculator's own winding faults at its step instead.
        RuleRow{"FormerOfNoSizeWithTheCalculatorsWinding",
                [](SimulationRequest& r) {
                    r.options.build->formerDiaIn = 0;
                    r.design.winding = WindingInputs{0, 2, "20"};
                },
                std::nullopt},
        RuleRow{"PitchCloserThanTheEnamel",
                [](SimulationRequest& r) { r.options.build->pitchIn = 0.03; }, In::Pitch,
                "is less than the wire's diameter"},
        RuleRow{"PitchZero", [](SimulationRequest& r) { r.options.build->pitchIn = 0; }, In::Pitch,
                "is not above 0"},
        RuleRow{"TooManyTurns", [](SimulationRequest& r) { r.options.givenTurns = 20000; },
                In::GivenTurns, "is more than 10000 turns"},
        RuleRow{"QZeroGiven",
                [](SimulationRequest& r) {
                    r.options.model.coilQ = 0;
                    r.options.model.coilQGiven = true;
                },
                In::CoilQ, "is not above 0"},
        RuleRow{"LineOfHalfAnOhm", [](SimulationRequest& r) { r.options.z0Ohm = 0.5; }, In::Z0,
                "is not from 1 to 10000 ohm"},
        RuleRow{"FortyFeetOfRg58ReadAtTheRig",
                [](SimulationRequest& r) {
                    r.feedLine = FeedLineInput{"RG-58", std::nullopt, 40};
                    r.measuredMHz = 6.9;
                    r.readings = {1.5, 45.0};
                },
                std::nullopt},
        RuleRow{"LineTypeUnknown",
                [](SimulationRequest& r) {
                    r.feedLine = FeedLineInput{"RG-6", std::nullopt, 40};
                },
                In::FeedLine, "is not a type of line (RG-58, RG-8X"},
        RuleRow{"LineOfNoLength",
                [](SimulationRequest& r) {
                    r.feedLine = FeedLineInput{"RG-58", std::nullopt, 0};
                },
                In::FeedLineLength, "is not above 0"},
        RuleRow{"LineFiguresOfFiveOhm",
                [](SimulationRequest& r) {
                    r.feedLine = FeedLineInput{"", FeedLineFigures{5, 0.66, 1}, 40};
                },
                In::FeedLineData, "has an impedance of 5 ohm, not from 10 to 1000 ohm"},
        RuleRow{"LineFasterThanLight",
                [](SimulationRequest& r) {
                    r.feedLine = FeedLineInput{"", FeedLineFigures{50, 1.2, 1}, 40};
                },
                In::FeedLineData, "has a velocity factor of 1.2"},
        RuleRow{"LineOfNegativeLoss",
                [](SimulationRequest& r) {
                    r.feedLine = FeedLineInput{"", FeedLineFigures{50, 0.66, -1}, 40};
                },
                In::FeedLineData, "has a loss of -1 dB per 100 ft"},
        // 1000 ft of RG-58 lose about 12 dB at 7 MHz.
        RuleRow{"ResonanceReadThroughTooMuchLoss",
                [](SimulationRequest& r) {
                    r.feedLine = FeedLineInput{"RG-58", std::nullopt, 1000};
                    r.measuredMHz = 6.9;
                },
                In::Measured, "was read at the rig through 12"},
        // 400 ft lose about 4.8 dB: the rig's SWR stays below about 1.9.
        RuleRow{"SwrAtTheRigBeyondWhatTheLineLetsBack",
                [](SimulationRequest& r) {
                    r.feedLine = FeedLineInput{"RG-58", std::nullopt, 400};
                    r.measuredMHz = 6.9;
                    r.readings.swr = 2.5;
                },
                In::MeasuredSwr, "is more than the line lets back"},
        RuleRow{"SwrReadOnFiftyOhmThroughTwinLead",
                [](SimulationRequest& r) {
                    r.feedLine = FeedLineInput{"twinlead-300", std::nullopt, 60};
                    r.measuredMHz = 6.9;
                    r.readings.swr = 1.5;
                },
                In::MeasuredSwr, "was read on 50 ohm through a 300-ohm line"},
        RuleRow{"ResonanceMeasuredNegative", [](SimulationRequest& r) { r.measuredMHz = -7; },
                In::Measured, "is not above 0"},
        RuleRow{"SwrBelowOne",
                [](SimulationRequest& r) {
                    r.measuredMHz = 6.9;
                    r.readings.swr = 0.9;
                },
                In::MeasuredSwr, "is below 1"},
        RuleRow{"ResistanceZero",
                [](SimulationRequest& r) {
                    r.measuredMHz = 6.9;
                    r.readings.resistanceOhm = 0;
                },
                In::MeasuredR, "is not above 0"}),
    [](const testing::TestParamInfo<RuleRow>& info) { return info.param.name; });

// Readings at the rig carried back to the antenna: the reflection grows by
// the line's loss both ways (3.01 dB doubles it), and a resistance read at
// the rig comes back through the line's transformation (a lossless quarter
// wave inverts it about Z0).
TEST(ReadingsAtTheRig, CarriedBackThroughTheLine) {
    const double doublingDb = 10 * std::log10(2.0);
    const FeedLine lossy{"", 50, 0.66, {doublingDb / std::sqrt(7.0), 0}, 100};
    const AntennaReadings swr = readingsAtAntenna(lossy, {1.5, std::nullopt}, 7);
    ASSERT_TRUE(swr.swr);
    EXPECT_NEAR(*swr.swr, (1 + 0.4) / (1 - 0.4), 1e-9);
    EXPECT_FALSE(readingsAtAntenna(lossy, {3.5, std::nullopt}, 7).swr);

    const double quarterWaveFt = 299.792458 / 7 / 0.3048 * 0.66 / 4;
    const FeedLine quarter{"", 50, 0.66, {0, 0}, quarterWaveFt};
    const AntennaReadings r = readingsAtAntenna(quarter, {std::nullopt, 25.0}, 7);
    ASSERT_TRUE(r.impedanceOhm);
    EXPECT_NEAR(r.impedanceOhm->real(), 100, 1e-6);
    EXPECT_NEAR(r.impedanceOhm->imag(), 0, 1e-6);
}

} // namespace
} // namespace tarvix::test
