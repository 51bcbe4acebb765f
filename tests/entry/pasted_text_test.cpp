// Pasted text reaches the change handlers unfiltered: they must cope with any
// text, storing what the lenient parse reads or reporting a fault. A text
// that cannot be stored keeps its step's OK button disabled, so that no
// design runs on a value the box does not show.
#include "fake_form.h"
#include "named_rows.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace tarvix {
namespace {

using fakes::EntryFixture;
using fakes::PrintTo;
using Messages = std::vector<std::string>;

// Every input box filled with a value that raises no message, and L holding
// an inductance: both OK buttons are enabled.
void fillEveryBox(EntryFixture& entry) {
    for (const auto& [box, text] : {std::pair{Box::txtF, "14"},
                                    {Box::txtA, "30"},
                                    {Box::txtB, "5"},
                                    {Box::txtD1, "2"},
                                    {Box::txtB1, "2"},
                                    {Box::L, "5.5"}}) {
        entry.form.setText(box, text);
    }
}

Button okButtonOf(Box box) {
    return box == Box::txtF || box == Box::txtA || box == Box::txtB ? Button::Command1
                                                                    : Button::Command2;
}

struct PasteRow {
    const char* name;
    Box box;
    std::string pasted;
    double DesignRecord::*field;
    double stored; // the field keeps 7 when the parse faults
    Messages messages;
    bool okEnabled; // the step's OK button afterwards
};

class PastedText : public ::testing::TestWithParam<PasteRow> {};

TEST_P(PastedText, StoredAsReadOrReportedAsAFault) {
    const PasteRow& row = GetParam();
    EntryFixture entry;
    fillEveryBox(entry);
    ASSERT_TRUE(entry.form.enabled(Button::Command1) && entry.form.enabled(Button::Command2));
    entry.record.*row.field = 7;
    entry.form.clearLog();
    entry.form.setText(row.box, row.pasted);
    EXPECT_EQ(entry.record.*row.field, row.stored);
    EXPECT_EQ(entry.form.messages(), row.messages);
    EXPECT_EQ(entry.form.enabled(okButtonOf(row.box)), row.okEnabled);
}

const std::string megabyte(1 << 20, '0');

// The single-precision edge: the largest double that rounds to the largest
// single, and the next double up, which would round to an infinity.
const std::string largestToSingle = "3.4028235677973362E38";
const std::string beyondSingle = "3.4028235677973366E38";
const std::string M4 = " A should be smaller than  30 ft";

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Entry, PastedText,
    ::testing::Values(
        // A number beyond the double range is not stored: its OK button goes off.
        PasteRow{"MegabyteOfDigitsOverflows", Box::txtF, "1" + megabyte, &DesignRecord::freqMHz, 7, {"Overflow"}, false},
        PasteRow{"MegabyteOfLeadingZeros", Box::txtF, megabyte + "21", &DesignRecord::freqMHz, 21, {}, true},
        PasteRow{"ExponentBeyondDouble", Box::txtA, "1E400", &DesignRecord::totalLengthFt, 7, {"Overflow"}, false},
        PasteRow{"StepTwoExponentBeyondDouble", Box::txtB1, "1E400", &DesignRecord::coilLengthIn, 7, {"Overflow"}, false},
        // Within the double range but not the single one that A is checked in:
        // stored, and the check faults.
        PasteRow{"BeyondSinglePrecision", Box::txtA, "1E300", &DesignRecord::totalLengthFt, 1e300, {"Overflow"}, true},
        PasteRow{"LargestThatRoundsToSingle", Box::txtA, largestToSingle, &DesignRecord::totalLengthFt, 0x1.fffffefffffffp127, {M4}, true},
        PasteRow{"NextDoubleUpOverflowsSingle", Box::txtA, beyondSingle, &DesignRecord::totalLengthFt, 0x1.ffffffp127, {"Overflow"}, true},
        PasteRow{"ExponentWithinTheLimit", Box::txtA, "2.5E1", &DesignRecord::totalLengthFt, 25, {}, true},
        PasteRow{"ExponentD", Box::txtD1, "1.5D1", &DesignRecord::coilFormerDiaIn, 15, {}, true},
        PasteRow{"CommaIsNotAPoint", Box::txtA, "25,5", &DesignRecord::totalLengthFt, 25, {}, true},
        PasteRow{"BlanksInside", Box::txtA, "2 5", &DesignRecord::totalLengthFt, 25, {}, true},
        PasteRow{"TabsAndLineFeeds", Box::txtB1, "\t1\n.5", &DesignRecord::coilLengthIn, 1.5, {}, true},
        PasteRow{"NegativeB", Box::txtB, "-3", &DesignRecord::centreToCoilFt, -3, {}, true},
        PasteRow{"UnitAfterTheNumber", Box::txtF, "7 MHz", &DesignRecord::freqMHz, 7, {}, true},
        PasteRow{"FullwidthDigits", Box::txtF, "\xEF\xBC\x97", &DesignRecord::freqMHz, 0, {"Input HF range only (1.5 to 30MHz)"}, true},
        PasteRow{"NonAsciiAfterTheNumber", Box::txtB1, "2\xC2\xBD", &DesignRecord::coilLengthIn, 2, {}, true},
        PasteRow{"NonAsciiFirst", Box::txtD1, "\xE2\x82\xAC" "5", &DesignRecord::coilFormerDiaIn, 0, {}, true},
        PasteRow{"InvalidUtf8", Box::txtD1, "\xFF\xFE" "3", &DesignRecord::coilFormerDiaIn, 0, {}, true}),
    fakes::RowName());
// clang-format on

// Once a box holds a number again, its OK button follows the usual rules;
// until then a change of another box of the step does not enable it.
struct UnstorableRow {
    const char* name;
    Box box;
    Box otherBox; // of the same step
    std::string text = "1E400";
};

class UnstorableText : public ::testing::TestWithParam<UnstorableRow> {};

TEST_P(UnstorableText, KeepsTheOkButtonDisabledUntilTheBoxHoldsANumber) {
    const UnstorableRow& row = GetParam();
    const Button ok = okButtonOf(row.box);
    EntryFixture entry;
    fillEveryBox(entry);
    entry.form.setText(row.box, row.text);
    EXPECT_FALSE(entry.form.enabled(ok));
    entry.form.setText(row.otherBox, "3");
    EXPECT_FALSE(entry.form.enabled(ok));
    entry.form.setText(row.box, "4");
    EXPECT_TRUE(entry.form.enabled(ok));
}

INSTANTIATE_TEST_SUITE_P(Entry, UnstorableText,
                         ::testing::Values(UnstorableRow{"Frequency", Box::txtF, Box::txtB},
                                           UnstorableRow{"TotalLength", Box::txtA, Box::txtB},
                                           UnstorableRow{"CentreToCoil", Box::txtB, Box::txtA},
                                           UnstorableRow{"FormerDiameter", Box::txtD1, Box::txtB1},
                                           UnstorableRow{"CoilLength", Box::txtB1, Box::txtD1},
                                           // 309 digits and no exponent: 2E308.
                                           UnstorableRow{"ThreeHundredNineDigits", Box::txtB,
                                                         Box::txtF, "2" + std::string(308, '0')}),
                         fakes::RowName());

} // namespace
} // namespace tarvix
