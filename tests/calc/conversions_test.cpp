// Text <-> number conversions: the examples the program relies on, the
// failure cases, and number text against an independent formatter.
#include "calc/char_conv.h"
#include "calc/conversions.h"
#include "calc/fault.h"
#include "locale_scope.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace tarvix {
namespace {

struct ParseCase {
    const char* name;
    friend void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }
    std::string text;
    double expected;
};

class LenientParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(LenientParse, ReadsTheLeadingNumber) {
    EXPECT_EQ(lenientParse(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, LenientParse,
    ::testing::Values(ParseCase{"plain", "7.1", 7.1}, ParseCase{"whole", "30", 30},
                      ParseCase{"blankInside", "3 0", 30},
                      ParseCase{"tabAndLineFeed", "\t1\n2", 12},
                      ParseCase{"secondPointEnds", "12..5", 12},
                      ParseCase{"thirdPartIgnored", "1.2.3", 1.2},
                      ParseCase{"twoPoints", "0.5.1", 0.5}, ParseCase{"lonePoint", ".", 0},
                      ParseCase{"empty", "", 0}, ParseCase{"singleBlank", " ", 0},
                      ParseCase{"leadingPoint", ".5", 0.5}, ParseCase{"negative", "-2.5", -2.5},
                      ParseCase{"plusSign", "+4", 4}, ParseCase{"signThenBlank", "- 5", -5},
                      ParseCase{"exponentE", "1E3", 1000}, ParseCase{"exponentD", "2d-2", 0.02},
                      ParseCase{"exponentWithoutDigits", "1E", 1},
                      ParseCase{"trailingText", "14abc", 14}, ParseCase{"letterFirst", "a14", 0},
                      ParseCase{"commaEnds", "1,5", 1}, ParseCase{"underflowIsZero", "1E-400", 0},
                      ParseCase{"zeroWithHugeExponent", "0E999999999999", 0},
                      ParseCase{"nonAsciiDigitsAreNotDigits", "\xd9\xa3", 0}),
    [](const auto& info) { return info.param.name; });

TEST(LenientParseFaults, NumberBeyondTheDoubleRangeIsAnOverflow) {
    for (const std::string text : {"1E400", "-1E309", "1E99999999999999999999"}) {
        try {
            lenientParse(text);
            ADD_FAILURE() << text << " gave a value";
        } catch (const Fault& fault) {
            EXPECT_EQ(fault.kind(), FaultKind::Overflow) << text;
        }
    }
    EXPECT_THROW(lenientParse("1" + std::string(400, '0')), Fault);
}

TEST(LenientParseFaults, MagnitudeCountsLeadingZerosAndTheExponentTogether) {
    const std::string zeros(1'500'000, '0');
    EXPECT_EQ(lenientParse("0." + zeros + "1E1500001"), 1);
    EXPECT_EQ(lenientParse("25" + zeros + "E-1500001"), 2.5);
    EXPECT_EQ(lenientParse(zeros + "25E-1"), 2.5);
    EXPECT_EQ(lenientParse("1E-99999999999999999999"), 0);
}

TEST(LenientParseFaults, MegabyteOfDigitsAfterThePointIsRead) {
    EXPECT_DOUBLE_EQ(lenientParse("0." + std::string(1 << 20, '3')), 1.0 / 3);
}

class StrictParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(StrictParse, ReadsAWholeNumber) {
    EXPECT_EQ(strictParse(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Examples, StrictParse,
                         ::testing::Values(ParseCase{"gauge", "14", 14},
                                           ParseCase{"surroundingBlanks", "  20 ", 20},
                                           ParseCase{"fraction", "5.5", 5.5},
                                           ParseCase{"negative", "-2.4", -2.4},
                                           ParseCase{"scientific", "1E-05", 0.00001},
                                           ParseCase{"scientificPlus", "1.5E+15", 1.5e15}),
                         [](const auto& info) { return info.param.name; });

class StrictParseMismatch : public ::testing::TestWithParam<const char*> {};

TEST_P(StrictParseMismatch, IsATypeMismatch) {
    try {
        strictParse(GetParam());
        FAIL() << "gave a value";
    } catch (const Fault& fault) {
        EXPECT_EQ(fault.kind(), FaultKind::TypeMismatch);
        EXPECT_STREQ(fault.what(), "Type mismatch");
    }
}

INSTANTIATE_TEST_SUITE_P(NotNumbers, StrictParseMismatch,
                         ::testing::Values("", " ", ".", "-", "14a", "1 4", "1.2.3", "1E", "abc",
                                           "1,5", "\t14"));

TEST(StrictParseFaults, BeyondTheDoubleRangeIsAnOverflow) {
    try {
        strictParse("1E400");
        FAIL();
    } catch (const Fault& fault) {
        EXPECT_EQ(fault.kind(), FaultKind::Overflow);
    }
}

struct TextCase {
    const char* name;
    friend void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }
    double value;
    const char* expected;
};

class NumberTextOfDouble : public ::testing::TestWithParam<TextCase> {};

TEST_P(NumberTextOfDouble, UsesGeneralFormat) {
    EXPECT_EQ(numberText(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, NumberTextOfDouble,
    ::testing::Values(
        TextCase{"half", 0.5, "0.5"}, TextCase{"whole", 12, "12"}, TextCase{"two", 2.0, "2"},
        TextCase{"quarter", 0.25, "0.25"}, TextCase{"decimals", 123.456, "123.456"},
        TextCase{"oneThird", 1.0 / 3, "0.333333333333333"}, TextCase{"small", 0.00001, "1E-05"},
        TextCase{"smallFixed", 0.0001, "0.0001"}, TextCase{"negative", -0.25, "-0.25"},
        TextCase{"zero", 0.0, "0"}, TextCase{"negativeZero", -0.0, "0"},
        TextCase{"large", 1e15, "1E+15"},
        TextCase{"largestFixed", 999999999999999, "999999999999999"},
        TextCase{"roundsUpToScientific", 999999999999999.9, "1E+15"},
        TextCase{"inductance", 5.533500417592047, "5.53350041759205"},
        TextCase{"hugeExponent", 1.5e300, "1.5E+300"},
        TextCase{"negativeScientific", -2.5e-7, "-2.5E-07"},
        TextCase{"tieRoundsToEven", 123456789012344.5, "123456789012344"},
        TextCase{"tieRoundsUpToEven", 123456789012345.5, "123456789012346"},
        TextCase{"roundedProductOnAHalf", 0x1.10112fcbb8ad2p+26, "71320767.1831467"},
        TextCase{"subnormal", 0x0.08f9d0f57c993p-1022, "7.80153024330049E-310"},
        // Where rounding carries into the next power of ten, the
        // layout follows the rounded exponent.
        TextCase{"roundsUpToTenThousandth", 0x1.a36e2eb1c432cp-14, "0.0001"},
        TextCase{"justBelowTenThousandth", 0x1.a36e2eb1c404bp-14, "9.999999999999E-05"},
        TextCase{"roundsUpToFifteenWholeDigits", 0x1.6bcc41e8ffffdp+46, "100000000000000"},
        TextCase{"beyondFifteenWholeDigits", 0x1.b69b4ba630f35p+56, "1.23456789012346E+17"},
        TextCase{"largestDouble", 0x1.fffffffffffffp+1023, "1.79769313486232E+308"},
        TextCase{"smallestNormal", 0x1p-1022, "2.2250738585072E-308"},
        TextCase{"smallestSubnormal", 0x0.0000000000001p-1022, "4.94065645841247E-324"},
        TextCase{"negativeThreeDigitExponent", -1e-300, "-1E-300"}),
    [](const auto& info) { return info.param.name; });

struct FixedCase {
    const char* name;
    friend void PrintTo(const FixedCase& c, std::ostream* os) { *os << c.name; }
    double value;
    int decimals;
    const char* expected;
};

class FixedDecimals : public ::testing::TestWithParam<FixedCase> {};

TEST_P(FixedDecimals, RoundsToTheDecimalsWithoutANegativeZero) {
    EXPECT_EQ(fixedText(GetParam().value, GetParam().decimals), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Examples, FixedDecimals,
                         ::testing::Values(FixedCase{"inductance", 7.2378, 3, "7.238"},
                                           FixedCase{"padsWithZeros", 0.048, 4, "0.0480"},
                                           FixedCase{"noDecimals", 97.2, 0, "97"},
                                           FixedCase{"exactTieToEven", 0.125, 2, "0.12"},
                                           FixedCase{"exactTieUpToEven", 0.375, 2, "0.38"},
                                           FixedCase{"wholeTieToEven", 2.5, 0, "2"},
                                           FixedCase{"negative", -1.25, 1, "-1.2"},
                                           FixedCase{"negativeRoundingToZero", -0.001, 2, "0.00"},
                                           FixedCase{"negativeZero", -0.0, 1, "0.0"},
                                           FixedCase{"large", 1e20, 1, "100000000000000000000.0"}),
                         [](const auto& info) { return info.param.name; });

TEST(NumberTextOfSingle, UsesSevenDigits) {
    EXPECT_EQ(numberText(168.0f), "168");
    EXPECT_EQ(numberText(30.0f), "30");
    EXPECT_EQ(numberText(0.1f), "0.1");
    EXPECT_EQ(numberText(1234567.0f), "1234567");
    EXPECT_EQ(numberText(1e7f), "1E+07");
}

struct SingleTextCase {
    const char* name;
    friend void PrintTo(const SingleTextCase& c, std::ostream* os) { *os << c.name; }
    float value;
    const char* expected;
};

class NumberTextOfSingleRounding : public ::testing::TestWithParam<SingleTextCase> {};

// Seven digits of the single's exact value, not of the decimal it was typed as.
TEST_P(NumberTextOfSingleRounding, RoundsTheExactValueToSevenDigits) {
    EXPECT_EQ(numberText(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, NumberTextOfSingleRounding,
    ::testing::Values(SingleTextCase{"exactTieToEven", 123456.75f, "123456.8"},
                      SingleTextCase{"wholeTieToEven", 16777215.0f, "1.677722E+07"},
                      SingleTextCase{"largestWholeBelowScientific", 9999999.0f, "9999999"},
                      SingleTextCase{"nextAboveOne", 0x1.000002p+0f, "1"},
                      SingleTextCase{"inexactFraction", 0.00012345675f, "0.0001234567"},
                      SingleTextCase{"belowTenThousandth", 8.5e-5f, "8.5E-05"},
                      SingleTextCase{"largestSingle", 0x1.fffffep+127f, "3.402823E+38"},
                      SingleTextCase{"smallestNormal", 0x1p-126f, "1.175494E-38"},
                      SingleTextCase{"smallestSubnormal", 0x1p-149f, "1.401298E-45"},
                      SingleTextCase{"negativeZero", -0.0f, "0"}),
    [](const auto& info) { return info.param.name; });

// An independent formatter: printf's %g switches to scientific form below
// 1E-4 and from 10^precision on, which is the rule the program uses too.
std::string printfGeneral(double value, int digits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*g", digits, value);
    std::string text = buffer;
    for (char& c : text) {
        if (c == 'e') {
            c = 'E';
        }
    }
    return text;
}

TEST(NumberTextOracle, AgreesWithPrintfOverRandomValues) {
    std::setlocale(LC_NUMERIC, "C");
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-30, 30);
    std::bernoulli_distribution negative(0.3);
    for (int i = 0; i < 20000; ++i) {
        double value = mantissa(random) * std::pow(10.0, exponent(random));
        value = negative(random) ? -value : value;
        ASSERT_EQ(numberText(value), printfGeneral(value, 15)) << std::hexfloat << value;
        const auto single = static_cast<float>(value);
        ASSERT_EQ(numberText(single), printfGeneral(single, 7)) << std::hexfloat << single;
        const int decimals = i % 5;
        char fixed[400];
        std::snprintf(fixed, sizeof fixed, "%.*f", decimals, value);
        if (std::string(fixed).find_first_not_of("-0.") != std::string::npos) {
            ASSERT_EQ(fixedText(value, decimals), fixed) << std::hexfloat << value;
        }
    }
}

TEST(NumberTextOracle, AgreesWithPrintfOnShortDecimals) {
    // Values typed as short decimals (7.1, 0.036, 123456.789) take a faster
    // path than values with a full 17-digit expansion.
    std::setlocale(LC_NUMERIC, "C");
    std::mt19937_64 random(42);
    std::uniform_int_distribution<long long> digits(1, 999999999999999);
    std::uniform_int_distribution<int> places(0, 24);
    std::uniform_int_distribution<int> width(1, 15);
    for (int i = 0; i < 20000; ++i) {
        long long whole = digits(random);
        for (int cut = 15 - width(random); cut > 0; --cut) {
            whole /= 10;
        }
        whole = std::max(whole, 1LL);
        const double value = static_cast<double>(whole) / std::pow(10.0, places(random));
        ASSERT_EQ(numberText(value), printfGeneral(value, 15)) << std::hexfloat << value;
        ASSERT_EQ(numberText(-value), printfGeneral(-value, 15)) << std::hexfloat << value;
    }
}

TEST(NumberTextRoundTrip, ParsesBackToTheSameFifteenDigits) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(-1000.0, 1000.0);
    for (int i = 0; i < 5000; ++i) {
        const double value = mantissa(random);
        const std::string text = numberText(value);
        EXPECT_EQ(numberText(strictParse(text)), text);
        EXPECT_EQ(numberText(lenientParse(text)), text);
    }
}

TEST(IntPart, RoundsTowardsMinusInfinity) {
    EXPECT_EQ(Int(2.7), 2);
    EXPECT_EQ(Int(-0.5), -1);
    EXPECT_EQ(Int(59.9), 59);
    EXPECT_EQ(Int(60), 60);
    EXPECT_EQ(Int(-2.0), -2);
}

TEST(SingleRound, RoundsToTheNearestSingle) {
    EXPECT_EQ(singleRound(0.1), 0.1f);
    EXPECT_EQ(singleRound(30.0), 30.0f);
    EXPECT_THROW(singleRound(-1e300), Fault);
    // Half-way between the largest single and the next power of two, a double
    // rounds (to even) up to an infinity; the double just below it still
    // rounds to the largest single.
    const double largest = std::numeric_limits<float>::max();
    const double halfWay = largest + std::ldexp(1.0, 127 - 24);
    for (const double sign : {1.0, -1.0}) {
        EXPECT_EQ(singleRound(sign * std::nextafter(halfWay, 0.0)), sign * largest);
        EXPECT_THROW(singleRound(sign * halfWay), Fault);
    }
}

TEST(Trim, RemovesOnlySpaces) {
    EXPECT_EQ(trim(" "), "");
    EXPECT_EQ(trim("  7 "), "7");
    EXPECT_EQ(trim("\t7"), "\t7");
    EXPECT_EQ(trim(""), "");
}

// Under German the C library writes 0,5.
TEST(Locale, ConversionsIgnoreTheUserLocale) {
    const test::LocaleScope german(test::kGermanLocale);
    if (!german.active()) {
        GTEST_SKIP() << test::kGermanLocaleMissing;
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.1f", 0.5);
    ASSERT_STREQ(buffer, "0,5") << "the locale did not take effect";
    EXPECT_EQ(numberText(0.5), "0.5");
    EXPECT_EQ(numberText(0.5f), "0.5");
    EXPECT_EQ(lenientParse("7.1"), 7.1);
    EXPECT_EQ(lenientParse("7,1"), 7);
    EXPECT_EQ(strictParse("5.5"), 5.5);
    EXPECT_THROW(strictParse("5,5"), Fault);
    EXPECT_EQ(fixedText(0.5, 2), "0.50");
}

// The browser's build writes and reads numbers through the C library: every
// text it makes must be the standard conversion's, or the page's reports and
// JSON would differ from the terminal's.
TEST(CLibraryConversions, WriteAndReadAsTheStandardConversionsDo) {
    std::mt19937_64 random(20261209);
    std::vector<double> values{0.1,
                               1.0 / 3,
                               2.5,
                               -2.5,
                               1e21,
                               1e22,
                               123456.0,
                               1e-7,
                               5e-324,
                               1.7976931348623157e308,
                               14.200000000026561,
                               0.0001,
                               100000.0,
                               1e15,
                               1e16,
                               -0.0,
                               6.103815620744446,
                               0.3,
                               299792458,
                               9.5e-5,
                               0.000123,
                               1e-4,
                               12345678901234567.0};
    std::uniform_real_distribution<double> mantissa(1, 10);
    std::uniform_int_distribution<int> exponent(-30, 30);
    for (int draw = 0; draw < 2000; ++draw) {
        values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
    }
    const auto text = [](auto convert) {
        std::array<char, 400> buffer{};
        const auto result = convert(buffer.data(), buffer.data() + buffer.size());
        EXPECT_EQ(result.ec, std::errc());
        return std::string(buffer.data(), result.ptr);
    };
    for (const double value : values) {
        SCOPED_TRACE(value);
        EXPECT_EQ(text([&](char* a, char* b) { return c_library::toChars(a, b, value); }),
                  text([&](char* a, char* b) { return std::to_chars(a, b, value); }));
        for (const int digits : {3, 7, 15}) {
            EXPECT_EQ(text([&](char* a, char* b) {
                          return c_library::toChars(a, b, value, std::chars_format::general,
                                                    digits);
                      }),
                      text([&](char* a, char* b) {
                          return std::to_chars(a, b, value, std::chars_format::general, digits);
                      }));
        }
        EXPECT_EQ(text([&](char* a, char* b) {
                      return c_library::toChars(a, b, value, std::chars_format::fixed, 4);
                  }),
                  text([&](char* a, char* b) {
                      return std::to_chars(a, b, value, std::chars_format::fixed, 4);
                  }));
    }
    // Reading: the value, where the number ends, and what is refused.
    for (const std::string typed :
         {"14.2", "1e-7", "-2.5e+3", "5e-324", "0.1x", "1e400", "+1", " 1", "", ".", "0x10"}) {
        SCOPED_TRACE(typed);
        double ours = -1;
        double standard = -1;
        const auto a = c_library::fromChars(typed.data(), typed.data() + typed.size(), ours);
        const auto b = std::from_chars(typed.data(), typed.data() + typed.size(), standard,
                                       std::chars_format::general);
        EXPECT_EQ(a.ec, b.ec);
        if (b.ec == std::errc()) {
            EXPECT_EQ(a.ptr, b.ptr);
            EXPECT_EQ(ours, standard);
        }
    }
}

} // namespace
} // namespace tarvix
