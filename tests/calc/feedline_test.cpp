// The feed line: its table against the published points it cites, and the
// lossy line's transformation against closed forms it was not written from.
#include "calc/feedline.h"

#include <cmath>
#include <complex>
#include <gtest/gtest.h>
#include <numbers>
#include <ostream>
#include <string>

namespace tarvix {
namespace {

using Ohm = std::complex<double>;

TEST(FeedLineTable, EachTypeFitsTheFiguresItCitesWithinFivePercent) {
    for (const FeedLineType& type : feedLineTypes()) {
        const FeedLine line = feedLineOfType(type, 100);
        ASSERT_FALSE(type.points.empty()) << type.name;
        for (const LossPoint& point : type.points) {
            EXPECT_NEAR(line.matchedDbPer100Ft(point.freqMHz) / point.dbPer100Ft, 1, 0.05)
                << type.name << " at " << point.freqMHz << " MHz";
        }
        // The loss rises with frequency over the HF bands.
        EXPECT_LT(line.matchedDbPer100Ft(1.8), line.matchedDbPer100Ft(29.7)) << type.name;
    }
}

TEST(FeedLineTable, NamesAreFoundAsUsersTypeThem) {
    ASSERT_TRUE(feedLineTypeNamed("rg-213"));
    EXPECT_EQ(feedLineTypeNamed("rg-213")->name, "RG-213");
    EXPECT_FALSE(feedLineTypeNamed("RG-59"));
    EXPECT_FALSE(feedLineTypeNamed(""));
}

// A line with no loss, this many wavelengths long at freqMHz.
FeedLine losslessLine(double z0Ohm, double wavelengths, double freqMHz) {
    const double wavelengthFt = 299.792458 / freqMHz / 0.3048 * 0.66;
    return FeedLine{"", z0Ohm, 0.66, {0, 0}, wavelengths * wavelengthFt};
}

struct ClosedFormCase {
    const char* name;
    friend void PrintTo(const ClosedFormCase& c, std::ostream* os) { *os << c.name; }
    FeedLine line;
    Ohm load;
    Ohm expectedInput;
};

class LineClosedForms : public ::testing::TestWithParam<ClosedFormCase> {};

TEST_P(LineClosedForms, InputImpedanceAndBack) {
    const ClosedFormCase& c = GetParam();
    const Ohm input = lineInputOhm(c.line, c.load, 7.1);
    EXPECT_NEAR(input.real(), c.expectedInput.real(), 1e-6 * std::abs(c.expectedInput));
    EXPECT_NEAR(input.imag(), c.expectedInput.imag(), 1e-6 * std::abs(c.expectedInput));
    // The rig's reading taken back through the line is the antenna again.
    const Ohm back = lineLoadOhm(c.line, input, 7.1);
    EXPECT_NEAR(std::abs(back - c.load), 0, 1e-6 * std::abs(c.load));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LineClosedForms,
    ::testing::Values(
        ClosedFormCase{"matchedLossyLineShowsZ0", feedLineOfType(*feedLineTypeNamed("RG-58"), 130),
                       Ohm(50, 0), Ohm(50, 0)},
        ClosedFormCase{"halfWaveRepeatsTheLoad", losslessLine(50, 0.5, 7.1), Ohm(23, -41),
                       Ohm(23, -41)},
        ClosedFormCase{"quarterWaveInverts", losslessLine(50, 0.25, 7.1), Ohm(100, 0), Ohm(25, 0)},
        ClosedFormCase{"quarterWaveInvertsAComplexLoad", losslessLine(75, 0.25, 7.1), Ohm(30, 40),
                       Ohm(75.0 * 75.0, 0) / Ohm(30, 40)}),
    [](const auto& info) { return info.param.name; });

// The total loss with an SWR on the line as the ARRL Antenna Book gives it:
// 10 log10((a^2 - |rho|^2) / (a (1 - |rho|^2))), a the matched loss as a ratio
// and rho the load's reflection.
double arrlTotalLossDb(double matchedDb, double rho) {
    const double a = std::pow(10.0, matchedDb / 10);
    return 10 * std::log10((a * a - rho * rho) / (a * (1 - rho * rho)));
}

TEST(LineLoss, MatchedAndWithAnSwrAgreeWithTheArrlFormula) {
    const FeedLine line = feedLineOfType(*feedLineTypeNamed("RG-8X"), 120);
    for (const double freqMHz : {3.6, 7.1, 14.2, 28.5}) {
        const double matched = line.matchedLossDb(freqMHz);
        EXPECT_NEAR(lineLossDb(line, Ohm(50, 0), freqMHz), matched, 1e-9);
        for (const Ohm load : {Ohm(12, 0), Ohm(50, 60), Ohm(300, -200), Ohm(35, -5)}) {
            const double rho = reflectionMagnitude(load, 50);
            EXPECT_NEAR(lineLossDb(line, load, freqMHz), arrlTotalLossDb(matched, rho), 1e-9)
                << freqMHz << " MHz, " << load;
            // The reflection at the rig is the antenna's, twice through the loss.
            EXPECT_NEAR(reflectionMagnitude(lineInputOhm(line, load, freqMHz), 50),
                        rho * std::pow(10.0, -matched / 10), 1e-9);
        }
    }
}

TEST(LineFigures, TheLossGivenAtFScalesAsTheRootOfFrequency) {
    const FeedLine line = feedLineOfFigures(75, 0.8, 1.2, 7, 200);
    EXPECT_NEAR(line.matchedLossDb(7), 2.4, 1e-12);
    EXPECT_NEAR(line.matchedLossDb(28), 4.8, 1e-12);
}

struct CrossingCase {
    const char* name;
    friend void PrintTo(const CrossingCase& c, std::ostream* os) { *os << c.name; }
    std::vector<SwrCurvePoint> curve;
    std::optional<double> low;
    std::optional<double> high;
    bool none;
};

class SwrBandCrossings : public ::testing::TestWithParam<CrossingCase> {};

TEST_P(SwrBandCrossings, FoundOnEachSideOfTheLowestPoint) {
    const CrossingCase& c = GetParam();
    const auto band = swrCrossings(c.curve, 2);
    ASSERT_EQ(!band, c.none);
    if (band) {
        EXPECT_EQ(band->lowMHz.has_value(), c.low.has_value());
        EXPECT_EQ(band->highMHz.has_value(), c.high.has_value());
        if (c.low && band->lowMHz) {
            EXPECT_NEAR(*band->lowMHz, *c.low, 1e-12);
        }
        if (c.high && band->highMHz) {
            EXPECT_NEAR(*band->highMHz, *c.high, 1e-12);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Curves, SwrBandCrossings,
    ::testing::Values(
        CrossingCase{"bothSides", {{7.0, 2.8}, {7.1, 1.2}, {7.2, 2.8}}, 7.05, 7.15, false},
        CrossingCase{"neverDownToTwo", {{7.0, 3}, {7.1, 2.2}, {7.2, 3}}, {}, {}, true},
        CrossingCase{"aboveTheSweep", {{7.0, 2.5}, {7.1, 1.5}, {7.2, 1.8}}, 7.05, {}, false}),
    [](const auto& info) { return info.param.name; });

} // namespace
} // namespace tarvix
