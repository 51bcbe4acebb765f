// Entry parsing and message numbers do not follow the user's locale: under a
// German locale, whose decimal separator is ",", "7.5" is still 7.5 and
// messages still show "27.3".
#include "fake_form.h"
#include "locale_scope.h"
#include "named_rows.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tarvix {
namespace {

using fakes::EntryFixture;
using fakes::PrintTo;
using test::LocaleScope;
using Messages = std::vector<std::string>;

struct LocaleRow {
    const char* name;
    const char* locale;
};

class EntryUnderLocale : public ::testing::TestWithParam<LocaleRow> {};

TEST_P(EntryUnderLocale, NumbersUseAPointWhateverTheLocale) {
    LocaleScope locale(GetParam().locale);
    if (!locale.active()) {
        GTEST_SKIP() << test::kGermanLocaleMissing;
    }
    EntryFixture entry;
    entry.form.setText(Box::txtF, "7.5");
    entry.form.setText(Box::txtB, "10.5");
    entry.form.clearLog();
    entry.form.setText(Box::txtA, "27");
    entry.form.setText(Box::L, "5.533500417592047");
    entry.form.setText(Box::txtD1, "1.25");

    EXPECT_DOUBLE_EQ(entry.record.freqMHz, 7.5);
    EXPECT_DOUBLE_EQ(entry.record.coilFormerDiaIn, 1.25);
    EXPECT_EQ(entry.form.messages(), Messages{"A ahould be larger than 27.3 ft"});
    EXPECT_EQ(entry.form.text(Box::L), "5.5");
}

INSTANTIATE_TEST_SUITE_P(Entry, EntryUnderLocale,
                         ::testing::Values(LocaleRow{"C", "C"},
                                           LocaleRow{"German", test::kGermanLocale}),
                         fakes::RowName());

} // namespace
} // namespace tarvix
