// The two calculations of a design: the worked example, and every way the
// inputs can make a step fail, with the fields already written.
#include "calc/conversions.h"
#include "calc/design_steps.h"
#include "calc/fault.h"

#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace tarvix {
namespace {

struct RecordingOutput : StepOutput {
    std::vector<std::string> inductance, turns, revised;
    std::vector<DesignRecord> passes;
    void setInductanceText(const std::string& text) override { inductance.push_back(text); }
    void setTurnsText(const std::string& text) override { turns.push_back(text); }
    void setRevisedLengthText(const std::string& text) override { revised.push_back(text); }
    void passDone(const DesignRecord& record) override { passes.push_back(record); }
};

DesignRecord stepOneInputs(double f, double a, double b) {
    DesignRecord record;
    record.freqMHz = f;
    record.totalLengthFt = a;
    record.centreToCoilFt = b;
    return record;
}

std::optional<FaultKind> faultOf(auto&& run) {
    try {
        run();
    } catch (const Fault& fault) {
        return fault.kind();
    }
    return std::nullopt;
}

TEST(Inductance, WorkedExample) {
    DesignRecord r = stepOneInputs(7, 60, 20);
    RecordingOutput out;
    computeInductance(r, "14", out);
    EXPECT_DOUBLE_EQ(r.innerSpanFt, 13.42857142857143);
    EXPECT_EQ(r.outerSpanFt, 10);
    EXPECT_EQ(r.antennaSwg, 14);
    EXPECT_EQ(r.antennaWireDiaIn, 0.08);
    EXPECT_NEAR(r.inductanceUH, 5.533500417592047, 5e-15);
    EXPECT_EQ(out.inductance, std::vector<std::string>{"5.53350041759205"});
}

// Gauge 10 is the one gauge whose antenna wire (0.12799 in) and coil wire
// (0.127992 in) differ; taking the coil table's diameter would move the
// inductance in its sixth digit, to 5.12479928649969.
TEST(Inductance, AntennaGaugeTenTakesTheAntennaWireDiameter) {
    DesignRecord r = stepOneInputs(7, 60, 20);
    RecordingOutput out;
    computeInductance(r, "10", out);
    EXPECT_EQ(r.antennaSwg, 10);
    EXPECT_NEAR(r.inductanceUH, 5.12481287629604, 5e-14);
}

TEST(Inductance, UsesPiToTenDigits) {
    DesignRecord r = stepOneInputs(7, 60, 20);
    RecordingOutput out;
    computeInductance(r, "14", out);
    EXPECT_EQ(r.scaleFactor, 1000000 / (std::pow(7 * 3.141592654, 2) * 68));
    EXPECT_NE(r.scaleFactor, 1000000 / (std::pow(7 * M_PI, 2) * 68));
}

TEST(Inductance, CoilAtTheCentreLeavesOnlyTheOuterTerm) {
    DesignRecord r = stepOneInputs(7, 60, 0);
    RecordingOutput out;
    computeInductance(r, "14", out);
    EXPECT_EQ(r.innerFreqTerm, 0);
    EXPECT_EQ(r.inductanceUH, -r.outerFreqTerm * r.outerLogTerm * r.scaleFactor);
}

// Which fields a failing step leaves written: the ones before it hold their
// new values, the ones after it still hold the marker they started with.
struct InductanceFault {
    const char* name;
    friend void PrintTo(const InductanceFault& c, std::ostream* os) { *os << c.name; }
    double f, a, b;
    std::string gauge;
    FaultKind kind;
    int fieldsWritten; // in calculation order, see below
};

class InductanceFaults : public ::testing::TestWithParam<InductanceFault> {};

TEST_P(InductanceFaults, StopAtTheFailingStep) {
    const auto& c = GetParam();
    DesignRecord r = stepOneInputs(c.f, c.a, c.b);
    constexpr double kUntouched = -12345;
    double* fields[] = {&r.innerSpanFt,  &r.outerSpanFt,   &r.scaleFactor,
                        &r.antennaSwg,   &r.innerLogTerm,  &r.innerFreqTerm,
                        &r.outerLogTerm, &r.outerFreqTerm, &r.inductanceUH};
    for (double* field : fields) {
        *field = kUntouched;
    }
    RecordingOutput out;
    EXPECT_EQ(faultOf([&] { computeInductance(r, c.gauge, out); }), c.kind);
    for (int i = 0; i < 9; ++i) {
        if (i < c.fieldsWritten) {
            EXPECT_NE(*fields[i], kUntouched) << "field " << i << " should be written";
            EXPECT_TRUE(std::isfinite(*fields[i])) << "field " << i;
        } else {
            EXPECT_EQ(*fields[i], kUntouched) << "field " << i << " should be untouched";
        }
    }
    EXPECT_TRUE(out.inductance.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, InductanceFaults,
    ::testing::Values(
        InductanceFault{"zeroFrequency", 0, 60, 20, "14", FaultKind::DivisionByZero, 0},
        InductanceFault{"frequencySquareOverflows", 1e160, 60, 20, "14", FaultKind::Overflow, 2},
        InductanceFault{"emptyGauge", 7, 60, 20, "", FaultKind::TypeMismatch, 3},
        InductanceFault{"gaugeNotANumber", 7, 60, 20, "abc", FaultKind::TypeMismatch, 3},
        InductanceFault{"gaugeNotInTableFreshWindow", 7, 60, 20, "11", FaultKind::DivisionByZero,
                        4},
        InductanceFault{"coilBeyondQuarterWave", 7, 80, 40, "14", FaultKind::InvalidArgument, 4},
        InductanceFault{"coilAtTheTip", 7, 40, 20, "14", FaultKind::InvalidArgument, 6},
        InductanceFault{"coilBeyondTheTip", 7, 30, 20, "14", FaultKind::InvalidArgument, 6},
        InductanceFault{"outerSpanOverflows", 7, 1.5e308, 20, "14", FaultKind::Overflow, 6}),
    [](const auto& info) { return info.param.name; });

TEST(Inductance, GaugeNotInTableKeepsAnEarlierDiameter) {
    DesignRecord r = stepOneInputs(7, 60, 20);
    r.antennaWireDiaIn = 0.08;
    RecordingOutput out;
    computeInductance(r, "11", out);
    EXPECT_EQ(r.antennaSwg, 11);
    EXPECT_EQ(r.antennaWireDiaIn, 0.08);
    EXPECT_NEAR(r.inductanceUH, 5.533500417592047, 5e-15);
}

DesignRecord stepTwoInputs(double inductance, double diameter, double length) {
    DesignRecord record;
    record.inductanceUH = inductance;
    record.coilFormerDiaIn = diameter;
    record.coilLengthIn = length;
    return record;
}

// Each pass starts from the length the pass before left. Once a pass leaves
// it unchanged the later passes repeat it; a design far from its winding
// still grows at the tenth pass. The expected passes were worked out by hand
// from Wheeler's formula, apart from the program.
struct WindingRun {
    const char* name;
    friend void PrintTo(const WindingRun& c, std::ostream* os) { *os << c.name; }
    double inductance, diameter, length, wire;
    std::vector<double> turns, lengths;
    const char* message;
};

class WindingPasses : public ::testing::TestWithParam<WindingRun> {};

TEST_P(WindingPasses, EachPassFeedsTheNext) {
    const auto& c = GetParam();
    DesignRecord r = stepTwoInputs(c.inductance, c.diameter, c.length);
    RecordingOutput out;
    computeWinding(r, WireDiameter{c.wire}, out);
    ASSERT_EQ(out.passes.size(), 10u);
    for (std::size_t pass = 0; pass < 10; ++pass) {
        const DesignRecord& done = out.passes[pass];
        EXPECT_EQ(done.turnCount, c.turns[pass]) << "pass " << pass + 1;
        EXPECT_EQ(done.revisedLengthIn, c.lengths[pass]) << "pass " << pass + 1;
        EXPECT_EQ(done.coilLengthIn, done.revisedLengthIn) << "pass " << pass + 1;
        EXPECT_EQ(done.passCounter, static_cast<double>(pass + 1));
        EXPECT_EQ(out.turns[pass], numberText(c.turns[pass])) << "pass " << pass + 1;
        EXPECT_EQ(out.revised[pass], kPassBlank);
    }
    EXPECT_EQ(out.revised.back(), c.message);
    EXPECT_EQ(out.revised.size(), 11u);
    EXPECT_EQ(r.passCounter, 11);
    EXPECT_EQ(r.coilRadiusIn, c.diameter / 2);
    EXPECT_EQ(r.coilWireDiaIn, c.wire);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Designs, WindingPasses,
    ::testing::Values(
        WindingRun{"worked_example_settles_at_the_third_pass", 5.533500417592047, 2, 2, 0.036,
                   {12, 8, 7, 7, 7, 7, 7, 7, 7, 7},
                   {0.4, 0.2, 0.2, 0.2, 0.2, 0.2, 0.2, 0.2, 0.2, 0.2}, "Revised length = 0.2 inch"},
        WindingRun{"a_first_guess_that_is_already_the_winding", 5.533500417592047, 2, 0.2, 0.036,
                   {7, 7, 7, 7, 7, 7, 7, 7, 7, 7},
                   {0.2, 0.2, 0.2, 0.2, 0.2, 0.2, 0.2, 0.2, 0.2, 0.2}, "Revised length = 0.2 inch"},
        WindingRun{"settles_at_the_sixth_pass", 30, 1.5, 1, 0.064,
                   {29, 36, 39, 40, 41, 41, 41, 41, 41, 41},
                   {1.8, 2.3, 2.4, 2.5, 2.6, 2.6, 2.6, 2.6, 2.6, 2.6}, "Revised length = 2.6 inch"},
        WindingRun{"still_growing_at_the_tenth_pass", 7, 0.5, 2, 0.128,
                   {49, 84, 110, 126, 135, 139, 141, 142, 143, 144},
                   {6.2, 10.7, 14, 16.1, 17.2, 17.7, 18, 18.1, 18.3, 18.4}, "Revised length = 18.4 inch"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(Winding, WorkedExampleReadsTheCoilGauge) {
    DesignRecord r = stepTwoInputs(5.533500417592047, 2, 2);
    RecordingOutput out;
    computeWinding(r, "20", out);
    EXPECT_EQ(r.coilWireDiaIn, 0.036);
    EXPECT_EQ(out.turns.back(), "7");
    EXPECT_EQ(out.revised.back(), "Revised length = 0.2 inch");
}

TEST(Winding, TurnsAndLengthAreRoundedDown) {
    // 11.99 turns are 11; 11 turns of 0.0427... would give 0.47 in: shown 0.4.
    DesignRecord r = stepTwoInputs(1, 2, 0);
    RecordingOutput out;
    computeWinding(r, "10", out);
    for (const DesignRecord& pass : out.passes) {
        EXPECT_EQ(pass.turnCount, std::floor(pass.turnCount));
        EXPECT_EQ(pass.revisedLengthIn * 10, std::floor(pass.revisedLengthIn * 10 + 1e-9));
    }
    EXPECT_EQ(out.passes.front().turnCount, 3); // sqrt(1 * 9) / 1
    EXPECT_EQ(out.passes.front().revisedLengthIn, 0.3);
}

struct WindingFault {
    const char* name;
    friend void PrintTo(const WindingFault& c, std::ostream* os) { *os << c.name; }
    double inductance, diameter;
    std::string gauge;
    FaultKind kind;
};

class WindingFaults : public ::testing::TestWithParam<WindingFault> {};

TEST_P(WindingFaults, StopBeforeAnyBoxIsWritten) {
    const auto& c = GetParam();
    DesignRecord r = stepTwoInputs(c.inductance, c.diameter, 2);
    RecordingOutput out;
    EXPECT_EQ(faultOf([&] { computeWinding(r, c.gauge, out); }), c.kind);
    EXPECT_TRUE(out.turns.empty());
    EXPECT_TRUE(out.revised.empty());
    EXPECT_EQ(r.turnCount, 0);
    EXPECT_EQ(r.coilLengthIn, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WindingFaults,
    ::testing::Values(WindingFault{"emptyGauge", 5.5, 2, "", FaultKind::TypeMismatch},
                      WindingFault{"gaugeText", 5.5, 2, "twenty", FaultKind::TypeMismatch},
                      WindingFault{"zeroDiameter", 5.5, 0, "20", FaultKind::DivisionByZero},
                      WindingFault{"negativeInductance", -2.4, 2, "20", FaultKind::InvalidArgument},
                      WindingFault{"oddGauge", 5.5, 2, "21", FaultKind::CoilGaugeNotInTable},
                      WindingFault{"gaugeOutOfRange", 5.5, 2, "32",
                                   FaultKind::CoilGaugeNotInTable}),
    [](const auto& info) { return info.param.name; });

TEST(Winding, GaugeNotInTableStopsBeforeTheRadius) {
    DesignRecord r = stepTwoInputs(5.5, 2, 2);
    RecordingOutput out;
    EXPECT_EQ(faultOf([&] { computeWinding(r, "21", out); }), FaultKind::CoilGaugeNotInTable);
    EXPECT_EQ(r.coilSwg, 21);
    EXPECT_EQ(r.coilWireDiaIn, 0);
    EXPECT_EQ(r.coilRadiusIn, 0);
    EXPECT_EQ(r.passCounter, 0);
}

// A wire given by its diameter goes through the very steps a gauge goes
// through, with no gauge read.
TEST(GivenWireDiameter, DesignsExactlyAsTheGaugeOfThatDiameter) {
    DesignRecord byGauge = stepOneInputs(7, 60, 20);
    DesignRecord byDiameter = byGauge;
    RecordingOutput gaugeOut;
    RecordingOutput diameterOut;
    computeInductance(byGauge, "14", gaugeOut);
    computeInductance(byDiameter, WireDiameter{0.08}, diameterOut);
    for (DesignRecord* r : {&byGauge, &byDiameter}) {
        r->coilFormerDiaIn = 2;
        r->coilLengthIn = 2;
    }
    computeWinding(byGauge, "20", gaugeOut);
    computeWinding(byDiameter, WireDiameter{0.036}, diameterOut);

    EXPECT_EQ(byDiameter.antennaSwg, 0);
    EXPECT_EQ(byDiameter.coilSwg, 0);
    EXPECT_EQ(byDiameter.antennaWireDiaIn, 0.08);
    EXPECT_EQ(byDiameter.coilWireDiaIn, 0.036);
    EXPECT_EQ(byDiameter.inductanceUH, byGauge.inductanceUH);
    EXPECT_EQ(byDiameter.turnCount, byGauge.turnCount);
    EXPECT_EQ(byDiameter.revisedLengthIn, byGauge.revisedLengthIn);
    EXPECT_EQ(diameterOut.inductance, gaugeOut.inductance);
    EXPECT_EQ(diameterOut.turns, gaugeOut.turns);
    EXPECT_EQ(diameterOut.revised, gaugeOut.revised);

    DesignRecord noWire = stepOneInputs(7, 60, 20);
    EXPECT_EQ(faultOf([&] { computeInductance(noWire, WireDiameter{0}, diameterOut); }),
              FaultKind::DivisionByZero);
}

TEST(Winding, ZeroDiameterFailsOnTheFirstPass) {
    DesignRecord r = stepTwoInputs(5.5, 0, 2);
    RecordingOutput out;
    EXPECT_EQ(faultOf([&] { computeWinding(r, "20", out); }), FaultKind::DivisionByZero);
    EXPECT_EQ(r.coilSwg, 20);
    EXPECT_EQ(r.coilWireDiaIn, 0.036);
    EXPECT_EQ(r.passCounter, 1);
}

} // namespace
} // namespace tarvix
