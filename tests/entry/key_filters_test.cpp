// Keystroke filters: which character codes reach a box and which are refused.
#include "fake_form.h"
#include "named_rows.h"

#include <gtest/gtest.h>
#include <string>

namespace tarvix {
namespace {

using fakes::EntryFixture;
using fakes::FakeForm;
using fakes::PrintTo;

struct KeyRow {
    const char* name;
    KeyAscii key;
};

class NumericFilterPasses : public ::testing::TestWithParam<KeyRow> {};

TEST_P(NumericFilterPasses, KeyUnchangedAndNoMessage) {
    FakeForm form;
    EXPECT_EQ(numericKeyPress(GetParam().key, form), GetParam().key);
    EXPECT_TRUE(form.log().empty());
}

INSTANTIATE_TEST_SUITE_P(Entry, NumericFilterPasses,
                         ::testing::Values(KeyRow{"Digit0", '0'}, KeyRow{"Digit5", '5'},
                                           KeyRow{"Digit9", '9'}, KeyRow{"Point", '.'},
                                           KeyRow{"Backspace", 8}),
                         fakes::RowName());

class NumericFilterRefuses : public ::testing::TestWithParam<KeyRow> {};

TEST_P(NumericFilterRefuses, DiscardedWithOneMessage) {
    FakeForm form;
    EXPECT_EQ(numericKeyPress(GetParam().key, form), 0);
    EXPECT_EQ(form.log(), std::vector<std::string>{"message: Type only numbers"});
}

INSTANTIATE_TEST_SUITE_P(
    Entry, NumericFilterRefuses,
    ::testing::Values(KeyRow{"Enter", 13}, KeyRow{"Escape", 27}, KeyRow{"CtrlC", 3},
                      KeyRow{"CtrlV", 22}, KeyRow{"CtrlX", 24}, KeyRow{"CtrlZ", 26},
                      KeyRow{"Space", ' '}, KeyRow{"Minus", '-'}, KeyRow{"Plus", '+'},
                      KeyRow{"Comma", ','}, KeyRow{"SlashJustBelowDigits", '/'},
                      KeyRow{"ColonJustAboveDigits", ':'}, KeyRow{"ExponentE", 'E'},
                      KeyRow{"ExponentD", 'D'}, KeyRow{"LetterLowerE", 'e'}, KeyRow{"Del127", 127},
                      KeyRow{"LatinSmallEAcute", 0xE9}, KeyRow{"EuroSign", 0x20AC},
                      KeyRow{"FullwidthDigitZero", 0xFF10}, KeyRow{"LastCodeUnit", 0xFFFF},
                      // Would become "0" if cut to 16 bits.
                      KeyRow{"BeyondSixteenBits", 0x10030}, KeyRow{"Negative", -1}),
    fakes::RowName());

// Every 16-bit code: the text comparison must let through exactly the ten
// digits, the point and backspace.
TEST(NumericFilter, EverySixteenBitCodeOutsideDigitsPointAndBackspaceIsRefused) {
    FakeForm form;
    for (KeyAscii key = 0; key <= 0xFFFF; ++key) {
        const bool passes = (key >= '0' && key <= '9') || key == '.' || key == 8;
        ASSERT_EQ(numericKeyPress(key, form), passes ? key : 0) << "code " << key;
    }
    EXPECT_EQ(form.messages().size(), 0x10000u - 12u);
}

TEST(NumericFilter, RefusedCharacterLeavesTextUnchangedAndSeveralPointsCanBeTyped) {
    EntryFixture entry;
    entry.form.type(Box::txtF, "1a.2-.3");
    EXPECT_EQ(entry.form.text(Box::txtF), " 1.2.3");
    EXPECT_EQ(entry.form.messages(),
              (std::vector<std::string>{"Type only numbers", "Type only numbers"}));
    EXPECT_DOUBLE_EQ(entry.record.freqMHz, 1.2);
}

class DiscardFilter : public ::testing::TestWithParam<KeyRow> {};

TEST_P(DiscardFilter, EveryCharacterIsDiscarded) {
    EXPECT_EQ(discardKeyPress(GetParam().key), 0);
}

INSTANTIATE_TEST_SUITE_P(Entry, DiscardFilter,
                         ::testing::Values(KeyRow{"Backspace", 8}, KeyRow{"Digit", '7'},
                                           KeyRow{"Point", '.'}, KeyRow{"Letter", 'a'},
                                           KeyRow{"Enter", 13}, KeyRow{"CtrlV", 22},
                                           KeyRow{"EuroSign", 0x20AC}),
                         fakes::RowName());

} // namespace
} // namespace tarvix
