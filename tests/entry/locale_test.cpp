// Entry parsing and message numbers do not follow the user's locale: under a
// German locale, whose decimal separator is ",", "7.5" is still 7.5 and
// messages still show "27.3".
#include "fake_form.h"
#include "named_rows.h"

#include <clocale>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tarvix {
namespace {

using fakes::EntryFixture;
using fakes::PrintTo;
using Messages = std::vector<std::string>;

// Switches the C and C++ locale for one test and puts the old one back.
class LocaleScope {
public:
    explicit LocaleScope(const char* name) : m_previous(std::setlocale(LC_ALL, nullptr)) {
        m_active = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~LocaleScope() { std::setlocale(LC_ALL, m_previous.c_str()); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;
    bool active() const { return m_active; }

private:
    std::string m_previous;
    bool m_active = false;
};

struct LocaleRow {
    const char* name;
    const char* locale;
};

class EntryUnderLocale : public ::testing::TestWithParam<LocaleRow> {};

TEST_P(EntryUnderLocale, NumbersUseAPointWhateverTheLocale) {
    LocaleScope locale(GetParam().locale);
    if (!locale.active()) {
        GTEST_SKIP() << "locale " << GetParam().locale
                     << " is not available (the tests generate it with localedef from the "
                        "Debian package locales)";
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
                         ::testing::Values(LocaleRow{"C", "C"}, LocaleRow{"German", "de_DE.UTF-8"}),
                         fakes::RowName());

} // namespace
} // namespace tarvix
