// The trim, with the real nec2c: an antenna built from the build sheet but
// hung where the model did not expect it (longer wire, or over ground) is
// "measured" in a model of its own; each remedy the trim gives, applied to
// that antenna, brings it back to F.
#include "calc/design_run.h"
#include "designs.h"
#include "nec/nec2c.h"
#include "nec/trim.h"
#include "needs_nec2c.h"

#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace tarvix::test {
namespace {

// The worked example with its build sheet's winding: 10 turns of SWG 20 on a
// 2 in former.
struct WorkedExample {
    DesignResult design;
    SimulationOptions options;
    WorkedExample() {
        design = designOf(7, 60, 20);
        options.build = CoilBuild{2, 0.036, std::nullopt, "SWG 20"};
    }
};

struct BuiltElsewhere {
    const char* name;
    double lengthScale;                 // the real wire against the design's
    std::optional<double> realHeightFt; // where it really hangs; designed in free space
};

void PrintTo(const BuiltElsewhere& c, std::ostream* os) {
    *os << c.name;
}

class Trim : public testing::TestWithParam<BuiltElsewhere> {};

TEST_P(Trim, EachRemedyAppliedToTheRealAntennaBringsItBackToF) {
    NEEDS_NEC2C();
    const BuiltElsewhere& c = GetParam();
    const WorkedExample worked;
    const DesignResult& design = worked.design;
    const SimulationOptions& options = worked.options;
    Nec2c engine(NEC2C_PATH);
    const SimulationResult simulation = simulateDesign(design, std::nullopt, options, engine);
    ASSERT_TRUE(simulation.build);
    const CoilWinding built = simulation.build->winding;

    // The real antenna with a given winding and tip change.
    auto real = [&](const CoilWinding& winding, double tipChangeFt) {
        AntennaModel model = windingModel(design.record, CoilCircuit(winding), options.model);
        model.totalLengthFt = (60 + 2 * tipChangeFt) * c.lengthScale;
        model.centreToCoilFt = 20 * c.lengthScale;
        model.heightFt = c.realHeightFt;
        return model;
    };
    auto resonance = [&](const AntennaModel& model) {
        return simulateAntenna(model, 7, 50, engine).resonanceMHz.value();
    };
    const double measured = resonance(real(built, 0));
    ASSERT_GT(std::fabs(measured / 7 - 1), 0.005) << "the real antenna should be off F";

    const TrimResult trim = trimToMeasurement(design, options, simulation, measured, engine);
    EXPECT_EQ(trim.lengthScale > 1, measured < 7);

    ASSERT_TRUE(trim.tipChangeFt) << trim.tipReason;
    EXPECT_NEAR(resonance(real(built, *trim.tipChangeFt)), 7, 7e-3);
    if (trim.windingLengthIn) {
        CoilWinding spread = built;
        spread.pitchIn = *trim.windingLengthIn / built.turns;
        EXPECT_NEAR(resonance(real(spread, 0)), 7, 7e-3);
    } else {
        EXPECT_FALSE(trim.spreadReason.empty());
    }
    // Turns go by quarters: within half a quarter turn's move, by the rule
    // of thumb the trim gives.
    ASSERT_TRUE(trim.turnsChange) << trim.turnsReason;
    EXPECT_EQ(std::fmod(*trim.turnsChange * 4, 1.0), 0.0);
    CoilWinding turned = built;
    turned.turns += *trim.turnsChange;
    EXPECT_NEAR(resonance(real(turned, 0)), 7, std::fabs(trim.khzPerQuarterTurn) / 1000 / 2 + 7e-3);
    // Shorter resonance means more turns and longer tips, and the rules of
    // thumb point the same way.
    EXPECT_EQ(*trim.turnsChange > 0, measured > 7);
    EXPECT_EQ(*trim.tipChangeFt > 0, measured > 7);
    EXPECT_LT(trim.khzPerQuarterTurn, 0);
    EXPECT_LT(trim.khzPerInchOfTip, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Nec, Trim,
    testing::Values(BuiltElsewhere{"WireTwoPercentLonger", 1.02, std::nullopt},
                    BuiltElsewhere{"WireOnePercentShorter", 0.99, std::nullopt},
                    BuiltElsewhere{"HungThirtyFeetUp", 1, 30}),
    [](const testing::TestParamInfo<BuiltElsewhere>& info) { return info.param.name; });

TEST(Trim, AMeasurementNoAntennaLikeThisCanHaveIsAMessage) {
    NEEDS_NEC2C();
    const WorkedExample worked;
    const DesignResult& design = worked.design;
    const SimulationOptions& options = worked.options;
    Nec2c engine(NEC2C_PATH);
    const SimulationResult simulation = simulateDesign(design, std::nullopt, options, engine);
    for (const double measured : {3.5, 14.0, 0.0, -7.0}) {
        try {
            trimToMeasurement(design, options, simulation, measured, engine);
            ADD_FAILURE() << measured << " MHz gave a trim";
        } catch (const SimulationSearchError& error) {
            EXPECT_NE(std::string(error.what()).find("is not this antenna's"), std::string::npos)
                << error.what();
        }
    }
}

} // namespace
} // namespace tarvix::test
