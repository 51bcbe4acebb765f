// Step-2 entry checks: the rounding of the shown inductance, its nested
// change, and the enabling of Command2 with its strict parse of L.
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

struct InductanceRow {
    const char* name;
    const char* written; // what the step-1 OK handler writes into L
    const char* shown;
    bool command2; // with both step-2 boxes filled
};

class InductanceDisplay : public ::testing::TestWithParam<InductanceRow> {};

TEST_P(InductanceDisplay, RoundedDownToOneDecimal) {
    const InductanceRow& row = GetParam();
    EntryFixture entry;
    entry.form.setText(Box::txtD1, "2");
    entry.form.setText(Box::txtB1, "2");
    entry.form.clearLog(); // the type mismatches of L's initial blank
    entry.record.inductanceUH = 5.533500417592047;
    entry.form.setText(Box::L, row.written);
    EXPECT_EQ(entry.form.text(Box::L), row.shown);
    EXPECT_EQ(entry.form.enabled(Button::Command2), row.command2);
    EXPECT_EQ(entry.form.messages(), Messages{});
    // Only the box is rounded; the winding uses the full value.
    EXPECT_EQ(entry.record.inductanceUH, 5.533500417592047);
}

INSTANTIATE_TEST_SUITE_P(
    Entry, InductanceDisplay,
    ::testing::Values(InductanceRow{"TypicalRoad", "5.533500417592047", "5.5", true},
                      InductanceRow{"FourDecimals", "12.3456", "12.3", true},
                      InductanceRow{"DownNotToNearest", "12.99", "12.9", true},
                      InductanceRow{"WholeNumber", "5", "5", true},
                      InductanceRow{"AlreadyOneDecimal", "0.1", "0.1", true},
                      InductanceRow{"BelowATenthShowsZero", "0.05", "0", false},
                      InductanceRow{"NegativeAwayFromZero", "-2.34", "-2.4", true},
                      InductanceRow{"NegativeAlreadyOneDecimal", "-2.4", "-2.4", true}),
    fakes::RowName());

TEST(InductanceDisplay, WriteBackNestsOnceAndValidate1RunsForBoth) {
    EntryFixture entry;
    entry.form.setText(Box::L, "12.3456");
    EXPECT_EQ(entry.form.changeRuns(Box::L), 2);
    EXPECT_EQ(entry.form.log(), (Messages{"Command2 disabled", "Command2 disabled"}));
}

TEST(InductanceDisplay, TextAlreadyRoundedDoesNotNest) {
    EntryFixture entry;
    entry.form.setText(Box::L, "12.3");
    EXPECT_EQ(entry.form.changeRuns(Box::L), 1);
    EXPECT_EQ(entry.form.log(), Messages{"Command2 disabled"});
}

TEST(InductanceDisplay, BelowATenthKeepsCommand2DisabledWhateverIsTyped) {
    EntryFixture entry;
    entry.form.setText(Box::L, "0.09");
    entry.form.type(Box::txtD1, "2.5");
    entry.form.type(Box::txtB1, "1");
    EXPECT_FALSE(entry.form.enabled(Button::Command2));
    EXPECT_DOUBLE_EQ(entry.record.coilFormerDiaIn, 2.5);
    EXPECT_DOUBLE_EQ(entry.record.coilLengthIn, 1);
}

struct Validate1Row {
    const char* name;
    const char* formerDiameter;
    const char* coilLength;
    bool enabled;
};

class Validate1Check : public ::testing::TestWithParam<Validate1Row> {};

TEST_P(Validate1Check, Command2NeedsBothBoxesAndANonZeroInductance) {
    const Validate1Row& row = GetParam();
    EntryFixture entry;
    entry.form.setText(Box::L, "5.5");
    entry.form.setText(Box::txtD1, row.formerDiameter);
    entry.form.setText(Box::txtB1, row.coilLength);
    EXPECT_EQ(entry.form.enabled(Button::Command2), row.enabled);
}

INSTANTIATE_TEST_SUITE_P(Entry, Validate1Check,
                         ::testing::Values(Validate1Row{"BothFilled", "2", "2", true},
                                           Validate1Row{"DiameterInitialSpace", " ", "2", false},
                                           Validate1Row{"LengthEmptied", "2", "", false},
                                           Validate1Row{"ZeroAndLonePointCountAsFilled", "0", ".",
                                                        true}),
                         fakes::RowName());

TEST(Validate1Check, TypedValuesAreStored) {
    EntryFixture entry;
    entry.form.setText(Box::L, "5.5");
    entry.form.type(Box::txtD1, "2");
    entry.form.type(Box::txtB1, "1.2.3");
    EXPECT_DOUBLE_EQ(entry.record.coilFormerDiaIn, 2);
    EXPECT_DOUBLE_EQ(entry.record.coilLengthIn, 1.2);
    EXPECT_TRUE(entry.form.enabled(Button::Command2));
}

// --- L holding text that is not a number -----------------------------------------

TEST(InductanceNotANumber, LChangeStopsBeforeTheWriteBack) {
    EntryFixture entry;
    entry.form.setText(Box::L, "5.5 uH");
    EXPECT_EQ(entry.form.text(Box::L), "5.5 uH");
    EXPECT_EQ(entry.form.log(), Messages{"message: Type mismatch"});
}

// The strict parse of L runs even when a blank box already decides the
// answer, so the fault is reported and Command2 is left as it was.
struct NotANumberRow {
    const char* name;
    const char* text;
};

class Validate1StrictParse : public ::testing::TestWithParam<NotANumberRow> {};

TEST_P(Validate1StrictParse, FaultsBeforeCommand2IsSet) {
    EntryFixture entry;
    entry.form.setText(Box::L, GetParam().text);
    entry.form.clearLog();
    entry.form.setText(Box::txtD1, "");
    EXPECT_EQ(entry.form.log(), Messages{"message: Type mismatch"});
}

INSTANTIATE_TEST_SUITE_P(Entry, Validate1StrictParse,
                         ::testing::Values(NotANumberRow{"Letters", "abc"},
                                           NotANumberRow{"Empty", ""},
                                           NotANumberRow{"TwoPoints", "1.2.3"}),
                         fakes::RowName());

TEST(InductanceNotANumber, InitialSpaceInLIsATypeMismatchWhenStep2IsTyped) {
    EntryFixture entry;
    entry.form.type(Box::txtB1, "3");
    EXPECT_EQ(entry.form.log(), Messages{"message: Type mismatch"});
    EXPECT_DOUBLE_EQ(entry.record.coilLengthIn, 3);
}

} // namespace
} // namespace tarvix
