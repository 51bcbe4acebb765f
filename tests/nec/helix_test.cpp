// The winding the program prints, built as what it is: the loaded dipole with
// its coils as helices of wire in NEC-2 (helix_reference.h), which carries
// each coil's self-capacitance and length as no lumped model does. And the
// helix model itself against coils measured alone.
#include "calc/coil_model.h"
#include "calc/design_run.h"
#include "calc/wire_gauge.h"
#include "designs.h"
#include "helix_reference.h"
#include "nec/nec2c.h"
#include "nec/simulation.h"
#include "needs_nec2c.h"

#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>

namespace tarvix::test {
namespace {

double relative(double value, double reference) {
    return std::fabs(value / reference - 1);
}

// A design with spaced coils of SWG 16 on a former, at a pitch of three wire
// diameters or more: NEC-2's thin-wire model holds there, and the turns are
// few enough for a deck of about a thousand segments.
struct SpacedCoilDesign {
    const char* name;
    double f, a, b;
    double formerIn, pitchIn;
    std::optional<double> heightFt;
    // The antenna wire's gauge; "16" is the coils' own wire, with no step.
    const char* antennaSwg = "14";
};

void PrintTo(const SpacedCoilDesign& d, std::ostream* os) {
    *os << d.name;
}

class HelixCoils : public testing::TestWithParam<SpacedCoilDesign> {};

constexpr double kWithin = 0.01;

// The antenna with the printed winding, its coils wound in air as helices,
// resonates within 1 % of F and of where the program's lumped coil puts it
// (its inductance and loss with the self-capacitance of a floating coil across
// them, spread over the winding's length, and its body), below where the same
// winding without its self-capacitance would. Wound from the antenna's own
// wire, eleven designs land -0.88 to +0.49 % from F, the long coil near a tip
// among them (+0.39 %; 4.6 % low without the coil's body). With SWG 16 coils
// on SWG 14 wire the helices land +0.17 to +0.99 %: where the coil's wire
// meets a thicker or thinner antenna wire NEC-2's answer follows the step in
// radius, by +1 % for this pair against the same designs with no step, +2.3 %
// for SWG 20 and -1.2 % for SWG 12. Tapering the antenna wire to the coil's
// over the inch next to each coil end moves SWG 20 on SWG 14 by +0.8 % as
// helices and -0.6 % as the lumped model, where the copper changed accounts
// for under 0.1 %. NEC-2's helix also has no crowding: its current is even
// around each wire, so its inductance is the thin-skin closed form's, 0.6 to
// 1.3 % above the field solution's, which alone puts the helix 0.2 to 0.45 %
// low.
TEST_P(HelixCoils, ThePrintedWindingAsHelicesResonatesOnFWithTheRealEngine) {
    NEEDS_NEC2C();
    const SpacedCoilDesign& d = GetParam();
    const DesignResult design = designOf(d.f, d.a, d.b, d.antennaSwg);
    ASSERT_TRUE(design.inductanceDone);
    SimulationOptions options;
    options.model.heightFt = d.heightFt;
    options.build =
        CoilBuild{d.formerIn, *coilWireDiameter(16), d.pitchIn, "SWG 16", CoilFormer::air};
    Nec2c engine(NEC2C_PATH);
    const SimulationResult result = simulateDesign(design, std::nullopt, options, engine);
    ASSERT_TRUE(result.build) << result.buildFault.value_or("");
    ASSERT_TRUE(result.corrected.resonanceMHz);
    const CoilWinding& winding = result.build->winding;
    ASSERT_GE(winding.pitchIn, 3 * winding.wireDiaIn);

    HelixAntenna antenna;
    antenna.designFreqMHz = d.f;
    antenna.totalLengthFt = d.a;
    antenna.centreToCoilFt = d.b;
    antenna.wireDiaIn = design.record.antennaWireDiaIn;
    antenna.coil = winding;
    antenna.heightFt = d.heightFt;
    const std::optional<double> helix = helixResonanceMHz(antenna, d.f, engine);
    ASSERT_TRUE(helix);
    const double program = *result.corrected.resonanceMHz;
    // Turns to a tenth at a fixed pitch: near F, not on it.
    EXPECT_LT(relative(program, d.f), 0.005);
    AntennaModel bare = designModel(design.record, result.build->atF.inductanceUH, options.model);
    bare.coilOhm = result.build->atF.resistanceOhm;
    const std::optional<double> bareResonance =
        simulateAntenna(bare, d.f, kDefaultZ0, engine).resonanceMHz;
    ASSERT_TRUE(bareResonance);
    EXPECT_LT(*helix, *bareResonance) << winding.turns << " turns";
    EXPECT_LT(relative(*helix, program), kWithin) << *helix << " MHz";
    EXPECT_LT(relative(*helix, d.f), kWithin) << *helix << " MHz";
}

// 60 to 10 m, formers of 1.5 to 4 in, 10 to 20 turns, two over ground: coils
// used near a third of their self-resonance, where the self-capacitance moves
// the antenna by percents. The 10 m design is the short one at 20 ft.
INSTANTIATE_TEST_SUITE_P(
    Nec, HelixCoils,
    testing::Values(
        SpacedCoilDesign{"SeventeenMetresOnFourteenFeet", 18.1, 14, 3, 2, 0.2, std::nullopt},
        SpacedCoilDesign{"TwentyMetresWiderPitch", 14.2, 18, 4, 2.5, 0.25, std::nullopt},
        SpacedCoilDesign{"ThirtyMetresAtThirtyFeet", 10.1, 25, 6, 3, 0.2, 30},
        SpacedCoilDesign{"FortyMetresOnFortyFiveFeet", 7, 45, 15, 4, 0.2, std::nullopt},
        SpacedCoilDesign{"SixtyMetresOnFiftyFeet", 5.35, 50, 15, 4, 0.2, std::nullopt},
        SpacedCoilDesign{"TenMetresOnElevenFeetAtTwentyFeet", 28.5, 11, 2.5, 1.5, 0.2, 20},
        // 27 turns 10 ft out on a 12 ft leg, where the coil's body matters
        // most.
        SpacedCoilDesign{"TwentyMetresLongCoilNearTheTip", 14.2, 24, 10, 2, 0.2, std::nullopt},
        // Wound from the antenna's own SWG 16, with no step in the wire.
        SpacedCoilDesign{"TwentyMetresWoundFromTheAntennaWire", 14.2, 18, 4, 2.5, 0.25,
                         std::nullopt, "16"},
        SpacedCoilDesign{"TwentyMetresNearTheTipWoundFromTheAntennaWire", 14.2, 24, 10, 2, 0.2,
                         std::nullopt, "16"},
        SpacedCoilDesign{"FortyMetresShortAndWideWoundFromTheAntennaWire", 7, 45, 15, 4, 0.2,
                         std::nullopt, "16"}),
    [](const testing::TestParamInfo<SpacedCoilDesign>& info) { return info.param.name; });

// ---- the helix model against measured coils ------------------------------------------

// A coil of 30 turns of 1.83 mm (AWG 13) copper on a 38 mm diameter,
// stretched to a length, and its self-resonance measured in air with an
// impedance analyser through a coupled loop: A. Pettit's measurements, as
// published by D. W. Knight ("Solenoid self-resonance measurements by Alex
// Pettit, KK4VB", g3ynh.info). The same wire stretched to 62.2 mm (turns 1.13
// diameters apart, 37.0 MHz) is close-wound, where the thin-wire model does
// not hold: NEC-2 puts it 12 % high.
struct MeasuredCoil {
    const char* name;
    double lengthMm;
    double selfResonanceMHz;
};

void PrintTo(const MeasuredCoil& c, std::ostream* os) {
    *os << c.name;
}

class HelixModel : public testing::TestWithParam<MeasuredCoil> {};

// The diameter is taken as the mean of the winding; the wire's 3.56 m over 30
// turns gives 37.8 mm, and the published length-to-diameter ratios 37.1 mm,
// which would put NEC's answers 3 % higher: hence 3 %, not less.
TEST_P(HelixModel, ACoilAloneResonatesWhereMeasuredWithTheRealEngine) {
    NEEDS_NEC2C();
    const MeasuredCoil& c = GetParam();
    constexpr double kMillimetresPerInch = 25.4;
    constexpr double kTurns = 30;
    constexpr double kWireMm = 1.83;
    constexpr double kMeanDiameterMm = 38;
    CoilWinding coil;
    coil.turns = kTurns;
    coil.pitchIn = c.lengthMm / kTurns / kMillimetresPerInch;
    coil.formerDiaIn = (kMeanDiameterMm - kWireMm) / kMillimetresPerInch;
    coil.wireDiaIn = kWireMm / kMillimetresPerInch;
    coil.former = CoilFormer::air;
    Nec2c engine(NEC2C_PATH);
    // The search only starts at the measured value: it steps 3 % at a time to
    // NEC's own crossing, wherever that is.
    const std::optional<double> resonance =
        isolatedCoilResonanceMHz(coil, c.selfResonanceMHz, engine);
    ASSERT_TRUE(resonance);
    EXPECT_LT(relative(*resonance, c.selfResonanceMHz), 0.03) << *resonance << " MHz";
}

INSTANTIATE_TEST_SUITE_P(Nec, HelixModel,
                         testing::Values(MeasuredCoil{"TurnsThreeWireDiametersApart", 158.8, 57.4},
                                         MeasuredCoil{"TurnsSixWireDiametersApart", 323.9, 67.8}),
                         [](const testing::TestParamInfo<MeasuredCoil>& info) {
                             return info.param.name;
                         });

} // namespace
} // namespace tarvix::test
