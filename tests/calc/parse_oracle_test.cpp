// Both parses against the oracle (an independent reading of the notation, with
// strtod for the digits) over seeded random texts, each family aimed at one way
// through the parse: the exact scaling of short decimals and its bounds, the
// full conversion of long digit strings, the magnitudes at the edges of the
// double range, the blanks that send a lenient parse to its second reading,
// and any mix of the notation's characters.
#include "calc/conversions.h"
#include "calc/fault.h"
#include "reference_number.h"

#include <clocale>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>

namespace tarvix {
namespace {

using oracle::ReferenceNumber;
using Random = std::mt19937_64;

int below(Random& random, int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(random);
}

std::string digits(Random& random, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += static_cast<char>('0' + below(random, 10));
    }
    return text;
}

// [sign] digits with a point among them [mark [sign] exponent].
std::string decimal(Random& random, int mantissaDigits, int exponentFrom, int exponentTo) {
    std::string text = below(random, 4) == 0 ? "-" : below(random, 8) == 0 ? "+" : "";
    std::string mantissa = digits(random, mantissaDigits);
    if (below(random, 3) != 0) {
        mantissa.insert(static_cast<std::size_t>(below(random, mantissaDigits + 1)), ".");
    }
    text += mantissa;
    if (below(random, 3) != 0) {
        text += "EeDd"[below(random, 4)];
        const int exponent = std::uniform_int_distribution<int>(exponentFrom, exponentTo)(random);
        text += exponent < 0 ? "-" : below(random, 2) == 0 ? "+" : "";
        text += std::to_string(std::abs(exponent));
    }
    return text;
}

struct Family {
    const char* name;
    std::function<std::string(Random&)> text;
};

void PrintTo(const Family& family, std::ostream* os) {
    *os << family.name;
}

// Below the normal range a parse may flush to zero; above it the parse must
// give the oracle's double exactly.
void expectSameNumber(double value, double expected, const std::string& text) {
    if (std::fabs(expected) >= 0x1p-1022) {
        EXPECT_EQ(value, expected) << '"' << text << '"';
    } else {
        EXPECT_LT(std::fabs(value), 0x1p-1022) << '"' << text << '"';
    }
}

void expectLenientAsTheOracle(const std::string& text) {
    const ReferenceNumber expected = oracle::referenceLenient(text);
    try {
        expectSameNumber(lenientParse(text), expected.value, text);
        EXPECT_FALSE(expected.overflow) << '"' << text << "\" is beyond the double range";
    } catch (const Fault& fault) {
        EXPECT_EQ(fault.kind(), FaultKind::Overflow) << '"' << text << '"';
        EXPECT_TRUE(expected.overflow) << '"' << text << "\" is within the double range";
    }
}

void expectStrictAsTheOracle(const std::string& text) {
    const std::optional<ReferenceNumber> expected = oracle::referenceStrict(text);
    try {
        const double value = strictParse(text);
        ASSERT_TRUE(expected.has_value()) << '"' << text << "\" is not a number";
        EXPECT_FALSE(expected->overflow) << '"' << text << "\" is beyond the double range";
        expectSameNumber(value, expected->value, text);
    } catch (const Fault& fault) {
        if (fault.kind() == FaultKind::TypeMismatch) {
            EXPECT_FALSE(expected.has_value()) << '"' << text << "\" is a number";
        } else {
            EXPECT_EQ(fault.kind(), FaultKind::Overflow) << '"' << text << '"';
            EXPECT_TRUE(expected && expected->overflow) << '"' << text << '"';
        }
    }
}

class ParseOracle : public testing::TestWithParam<Family> {};

TEST_P(ParseOracle, BothParsesReadWhatTheOracleReads) {
    std::setlocale(LC_NUMERIC, "C");
    Random random(20261209);
    for (int i = 0; i < 20000; ++i) {
        const std::string text = GetParam().text(random);
        expectLenientAsTheOracle(text);
        expectStrictAsTheOracle(text);
        if (HasFailure()) {
            return;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseOracle,
    testing::Values(
        // Up to 15 digits within 22 places of the point: one exact
        // multiplication or division, on both sides of its bounds.
        Family{"ShortDecimals", [](Random& r) { return decimal(r, 1 + below(r, 15), -30, 30); }},
        Family{"SixteenToFortyDigits",
               [](Random& r) { return decimal(r, 16 + below(r, 25), -40, 40); }},
        Family{"EdgesOfTheDoubleRange",
               [](Random& r) {
                   return std::string(static_cast<std::size_t>(below(r, 40)), '0') +
                          decimal(r, 1 + below(r, 20), -345, 330);
               }},
        // Blanks anywhere, inside the digits and the exponent too.
        Family{"BlanksBetween",
               [](Random& r) {
                   std::string text = decimal(r, 1 + below(r, 18), -30, 30);
                   for (int blanks = 1 + below(r, 3); blanks > 0; --blanks) {
                       text.insert(static_cast<std::size_t>(below(r, int(text.size()) + 1)), 1,
                                   " \t\n"[below(r, 3)]);
                   }
                   return text;
               }},
        Family{"AnyMixOfTheNotationsCharacters",
               [](Random& r) {
                   static constexpr std::string_view kAlphabet = "0123456789.+-eEdD \t\nx,";
                   std::string text;
                   for (int n = below(r, 14); n > 0; --n) {
                       text += kAlphabet[static_cast<std::size_t>(below(r, int(kAlphabet.size())))];
                   }
                   return text;
               }}),
    [](const testing::TestParamInfo<Family>& info) { return info.param.name; });

} // namespace
} // namespace tarvix
