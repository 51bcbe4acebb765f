// Pasted text reaches the change handlers unfiltered: they must cope with any
// text, storing what the lenient parse reads or reporting a fault.
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

struct PasteRow {
    const char* name;
    Box box;
    std::string pasted;
    double DesignRecord::*field;
    double stored; // the field keeps 7 when the parse faults
    Messages messages;
};

class PastedText : public ::testing::TestWithParam<PasteRow> {};

TEST_P(PastedText, StoredAsReadOrReportedAsAFault) {
    const PasteRow& row = GetParam();
    EntryFixture entry;
    entry.form.setText(Box::txtF, "14");
    entry.form.setText(Box::L, "5.5");
    entry.record.*row.field = 7;
    entry.form.clearLog();
    entry.form.setText(row.box, row.pasted);
    EXPECT_EQ(entry.record.*row.field, row.stored);
    EXPECT_EQ(entry.form.messages(), row.messages);
}

const std::string megabyte(1 << 20, '0');

INSTANTIATE_TEST_SUITE_P(
    Entry, PastedText,
    ::testing::Values(
        PasteRow{"MegabyteOfDigitsOverflows",
                 Box::txtF,
                 "1" + megabyte,
                 &DesignRecord::freqMHz,
                 7,
                 {"Overflow"}},
        PasteRow{
            "MegabyteOfLeadingZeros", Box::txtF, megabyte + "21", &DesignRecord::freqMHz, 21, {}},
        PasteRow{"ExponentBeyondDouble",
                 Box::txtA,
                 "1E400",
                 &DesignRecord::totalLengthFt,
                 7,
                 {"Overflow"}},
        // Within the double range but not the single one that A is checked in.
        PasteRow{"BeyondSinglePrecision",
                 Box::txtA,
                 "1E300",
                 &DesignRecord::totalLengthFt,
                 1e300,
                 {"Overflow"}},
        PasteRow{
            "ExponentWithinTheLimit", Box::txtA, "2.5E1", &DesignRecord::totalLengthFt, 25, {}},
        PasteRow{"ExponentD", Box::txtD1, "1.5D1", &DesignRecord::coilFormerDiaIn, 15, {}},
        PasteRow{"CommaIsNotAPoint", Box::txtA, "25,5", &DesignRecord::totalLengthFt, 25, {}},
        PasteRow{"BlanksInside", Box::txtA, "2 5", &DesignRecord::totalLengthFt, 25, {}},
        PasteRow{"TabsAndLineFeeds", Box::txtB1, "\t1\n.5", &DesignRecord::coilLengthIn, 1.5, {}},
        PasteRow{"NegativeB", Box::txtB, "-3", &DesignRecord::centreToCoilFt, -3, {}},
        PasteRow{"UnitAfterTheNumber", Box::txtF, "7 MHz", &DesignRecord::freqMHz, 7, {}},
        PasteRow{"FullwidthDigits",
                 Box::txtF,
                 "\xEF\xBC\x97",
                 &DesignRecord::freqMHz,
                 0,
                 {"Input HF range only (1.5 to 30MHz)"}},
        PasteRow{
            "NonAsciiAfterTheNumber", Box::txtB1, "2\xC2\xBD", &DesignRecord::coilLengthIn, 2, {}},
        PasteRow{"NonAsciiFirst",
                 Box::txtD1,
                 "\xE2\x82\xAC"
                 "5",
                 &DesignRecord::coilFormerDiaIn,
                 0,
                 {}},
        PasteRow{"InvalidUtf8",
                 Box::txtD1,
                 "\xFF\xFE"
                 "3",
                 &DesignRecord::coilFormerDiaIn,
                 0,
                 {}}),
    fakes::RowName());

} // namespace
} // namespace tarvix
