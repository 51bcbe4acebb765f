// Step-1 entry checks: the frequency range, the limits for A and B with their
// messages, the blank-frequency path and the enabling of Command1.
#include "fake_form.h"
#include "named_rows.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tarvix {
namespace {

using fakes::EntryFixture;
using fakes::PrintTo;
using Messages = std::vector<std::string>;

const std::string M1 = "Input HF range only (1.5 to 30MHz)";
const std::string M2 = "Input a value for frequency";

// --- Frequency ---------------------------------------------------------------

struct FrequencyRow {
    const char* name;
    const char* text;
    double freqMHz;
    bool showsM1;
};

class FrequencyCheck : public ::testing::TestWithParam<FrequencyRow> {};

TEST_P(FrequencyCheck, StoresTheValueAndReportsOutOfRange) {
    EntryFixture entry;
    entry.form.setText(Box::txtF, GetParam().text);
    EXPECT_DOUBLE_EQ(entry.record.freqMHz, GetParam().freqMHz);
    EXPECT_EQ(entry.form.messages(), GetParam().showsM1 ? Messages{M1} : Messages{});
}

INSTANTIATE_TEST_SUITE_P(
    Entry, FrequencyCheck,
    ::testing::Values(FrequencyRow{"LowerBoundOne", "1", 1, false},
                      FrequencyRow{"BelowTheNamedOnePointFive", "1.2", 1.2, false},
                      FrequencyRow{"UpperBoundThirty", "30", 30, false},
                      FrequencyRow{"JustBelowOne", "0.9", 0.9, true},
                      FrequencyRow{"JustAboveThirty", "30.01", 30.01, true},
                      FrequencyRow{"Deleted", "", 0, true},
                      FrequencyRow{"TwoPointsReadsFirstNumber", "1.2.3", 1.2, false}),
    fakes::RowName());

TEST(FrequencyCheck, TypingFourteenChecksEachKeystroke) {
    EntryFixture entry;
    entry.form.type(Box::txtF, "14");
    EXPECT_EQ(entry.form.changeRuns(Box::txtF), 2);
    EXPECT_EQ(entry.form.messages(), Messages{});
    EXPECT_DOUBLE_EQ(entry.record.freqMHz, 14);
}

TEST(FrequencyCheck, DeletingTheFrequencyDisablesCommand1) {
    EntryFixture entry;
    entry.form.setText(Box::txtA, "60");
    entry.form.setText(Box::txtB, "20");
    entry.form.setText(Box::txtF, "7");
    ASSERT_TRUE(entry.form.enabled(Button::Command1));
    entry.form.clearLog();
    entry.form.setText(Box::txtF, "");
    EXPECT_EQ(entry.form.log(), (Messages{"message: " + M1, "Command1 disabled"}));
}

// --- Length A ------------------------------------------------------------------

// F and B are entered first, then the log is cleared and A is entered.
struct LengthRow {
    const char* name;
    const char* frequency;
    const char* centreToCoil;
    const char* totalLength;
    Messages messages;
    float maxTotalLengthFt;
};

class LengthCheck : public ::testing::TestWithParam<LengthRow> {};

TEST_P(LengthCheck, ReportsAgainstTwoPointSixBAndTheLimit) {
    const LengthRow& row = GetParam();
    EntryFixture entry;
    entry.form.setText(Box::txtF, row.frequency);
    entry.form.setText(Box::txtB, row.centreToCoil);
    entry.form.clearLog();
    entry.form.setText(Box::txtA, row.totalLength);
    EXPECT_EQ(entry.form.messages(), row.messages);
    EXPECT_EQ(entry.record.maxTotalLengthFt, row.maxTotalLengthFt);
    // Validate runs after the messages.
    EXPECT_EQ(entry.form.log().back().rfind("Command1", 0), 0u);
}

const std::string M4at30 = " A should be smaller than  30 ft";

INSTANTIATE_TEST_SUITE_P(
    Entry, LengthCheck,
    ::testing::Values(
        LengthRow{"AtTheLimit", "14", " ", "30", {}, 30},
        LengthRow{"AboveTheLimit", "14", " ", "30.5", {M4at30}, 30},
        // 30.0000001 is above 30 as a double but equals it in single precision.
        LengthRow{"AboveTheLimitOnlyInDouble", "14", " ", "30.0000001", {}, 30},
        LengthRow{"AboveTheLimitInSingle", "14", " ", "30.000003", {M4at30}, 30},
        // 421.2 / 6.5 = 64.8: the limit is cut down, not rounded.
        LengthRow{"LimitIsCutDown", "6.5", " ", "64.5", {" A should be smaller than  64 ft"}, 64},
        LengthRow{"EqualToTwoPointSixB", "7", "10", "26", {}, 60},
        LengthRow{"BelowTwoPointSixB", "7", "10", "25", {"A ahould be larger than 26 ft"}, 60},
        LengthRow{
            "TwoPointSixBAsDouble", "7", "10.5", "27", {"A ahould be larger than 27.3 ft"}, 60},
        LengthRow{"BothM3ThenM4", "14", "20", "31", {"A ahould be larger than 52 ft", M4at30}, 30},
        LengthRow{"EmptyBNeverShowsM3", "7", "", "-5", {}, 60},
        // The initial single space counts as filled: B is 0, so only a
        // negative A is below 2.6 x B.
        LengthRow{"BlankBWithNegativeA", "7", " ", "-5", {"A ahould be larger than 0 ft"}, 60},
        LengthRow{"BlankBWithPositiveA", "7", " ", "5", {}, 60}),
    fakes::RowName());

TEST(LengthCheck, BlankFrequencyShowsM2PerKeystrokeAndSkipsValidate) {
    EntryFixture entry;
    entry.form.setText(Box::txtF, "14");
    entry.form.setText(Box::txtA, "20");
    ASSERT_EQ(entry.record.maxTotalLengthFt, 30);
    entry.form.setText(Box::txtF, "   ");
    entry.form.clearLog();

    entry.form.type(Box::txtA, "\b\b60");

    // No "Command1 ..." entry: Validate was not run.
    EXPECT_EQ(entry.form.log(), (Messages(4, "message: " + M2)));
    EXPECT_DOUBLE_EQ(entry.record.totalLengthFt, 60);
    EXPECT_EQ(entry.record.maxTotalLengthFt, 30);
}

struct ZeroFrequencyRow {
    const char* name;
    const char* text;
};

class ZeroFrequency : public ::testing::TestWithParam<ZeroFrequencyRow> {};

TEST_P(ZeroFrequency, DivisionByZeroStopsTxtAChangeAfterStoringA) {
    EntryFixture entry;
    entry.form.setText(Box::txtF, "14");
    entry.form.setText(Box::txtA, "20");
    entry.form.setText(Box::txtF, GetParam().text);
    entry.form.clearLog();

    entry.form.setText(Box::txtA, "25");

    EXPECT_EQ(entry.form.log(), Messages{"message: Division by zero"});
    EXPECT_DOUBLE_EQ(entry.record.totalLengthFt, 25);
    EXPECT_EQ(entry.record.maxTotalLengthFt, 30);
    EXPECT_FALSE(entry.form.enabled(Button::Command1));
}

INSTANTIATE_TEST_SUITE_P(Entry, ZeroFrequency,
                         ::testing::Values(ZeroFrequencyRow{"Zero", "0"},
                                           ZeroFrequencyRow{"LonePoint", "."}),
                         fakes::RowName());

// --- Distance B ------------------------------------------------------------------

struct CentreToCoilRow {
    const char* name;
    const char* totalLength;
    const char* centreToCoil;
    Messages messages;
    float maxCentreToCoilFt;
};

class CentreToCoilCheck : public ::testing::TestWithParam<CentreToCoilRow> {};

TEST_P(CentreToCoilCheck, ReportsAgainstEightyPercentOfALeg) {
    const CentreToCoilRow& row = GetParam();
    EntryFixture entry;
    entry.form.setText(Box::txtF, "7");
    entry.form.setText(Box::txtA, row.totalLength);
    entry.form.clearLog();
    entry.form.setText(Box::txtB, row.centreToCoil);
    EXPECT_EQ(entry.form.messages(), row.messages);
    EXPECT_EQ(entry.record.maxCentreToCoilFt, row.maxCentreToCoilFt);
}

INSTANTIATE_TEST_SUITE_P(
    Entry, CentreToCoilCheck,
    ::testing::Values(
        CentreToCoilRow{"AtTheLimit", "30", "12", {}, 12},
        CentreToCoilRow{"AboveTheLimit", "30", "12.5", {"B should be lower than 12 ft"}, 12},
        CentreToCoilRow{"AboveTheLimitOnlyInDouble", "30", "12.0000001", {}, 12},
        // 34 x 0.8 / 2 = 13.6, cut down to 13.
        CentreToCoilRow{"LimitIsCutDown", "34", "13.5", {"B should be lower than 13 ft"}, 13},
        // Before A is typed the limit is 0, and the 2.6 x B rule is not applied.
        CentreToCoilRow{"TypedBeforeA", " ", "5", {"B should be lower than 0 ft"}, 0},
        CentreToCoilRow{"NegativeB", "30", "-20", {}, 12}),
    fakes::RowName());

// --- Limits belong to their own box ------------------------------------------------

TEST(Limits, ChangingTheFrequencyLeavesTheLimitForA) {
    EntryFixture entry;
    entry.form.setText(Box::txtF, "14");
    entry.form.setText(Box::txtA, "20");
    entry.form.setText(Box::txtF, "7");
    EXPECT_EQ(entry.record.maxTotalLengthFt, 30);
}

TEST(Limits, ChangingALeavesTheLimitForB) {
    EntryFixture entry;
    entry.form.setText(Box::txtF, "7");
    entry.form.setText(Box::txtA, "30");
    entry.form.setText(Box::txtB, "5");
    entry.form.setText(Box::txtA, "60");
    EXPECT_EQ(entry.record.maxCentreToCoilFt, 12);
}

// --- Validate ------------------------------------------------------------------------

struct ValidateRow {
    const char* name;
    const char* frequency;
    const char* totalLength;
    const char* centreToCoil;
    bool enabled;
};

class ValidateCheck : public ::testing::TestWithParam<ValidateRow> {};

TEST_P(ValidateCheck, Command1NeedsTextInAllThreeBoxes) {
    const ValidateRow& row = GetParam();
    EntryFixture entry;
    // The frequency last, so that its handler has the final word.
    entry.form.setText(Box::txtA, row.totalLength);
    entry.form.setText(Box::txtB, row.centreToCoil);
    entry.form.setText(Box::txtF, row.frequency);
    EXPECT_EQ(entry.form.log().back(), row.enabled ? "Command1 enabled" : "Command1 disabled");
}

INSTANTIATE_TEST_SUITE_P(
    Entry, ValidateCheck,
    ::testing::Values(ValidateRow{"AllFilled", "7", "60", "20", true},
                      ValidateRow{"FrequencyBlank", "  ", "60", "20", false},
                      ValidateRow{"LengthEmpty", "7", "", "20", false},
                      ValidateRow{"CentreToCoilOnlySpaces", "7", "60", "   ", false},
                      ValidateRow{"ValuesAreNotLookedAt", ".", "0", ".", true}),
    fakes::RowName());

TEST(ValidateCheck, SetOnEveryChangeEvenWhenUnchanged) {
    EntryFixture entry;
    entry.form.type(Box::txtF, "7");
    entry.form.type(Box::txtA, "60");
    entry.form.type(Box::txtB, "20");
    EXPECT_EQ(entry.form.log(),
              (Messages{"Command1 disabled", "Command1 disabled", "Command1 disabled",
                        "Command1 enabled", "Command1 enabled"}));
}

} // namespace
} // namespace tarvix
