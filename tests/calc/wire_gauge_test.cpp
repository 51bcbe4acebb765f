// Gauge lookups: only the even SWG gauges 10 to 30, compared exactly; AWG by
// its formula.
#include "calc/wire_gauge.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace tarvix {
namespace {

TEST(WireGauge, TablesDifferOnlyAtGaugeTen) {
    EXPECT_EQ(antennaWireDiameter(10), 0.12799);
    EXPECT_EQ(coilWireDiameter(10), 0.127992);
    for (int swg = 12; swg <= 30; swg += 2) {
        ASSERT_TRUE(antennaWireDiameter(swg).has_value()) << swg;
        EXPECT_EQ(antennaWireDiameter(swg), coilWireDiameter(swg)) << swg;
    }
}

TEST(WireGauge, DiametersShrinkAsTheGaugeRises) {
    for (int swg = 12; swg <= 30; swg += 2) {
        EXPECT_LT(*antennaWireDiameter(swg), *antennaWireDiameter(swg - 2)) << swg;
    }
}

TEST(WireGauge, KnownDiameters) {
    EXPECT_EQ(antennaWireDiameter(14), 0.08);
    EXPECT_EQ(coilWireDiameter(20), 0.036);
    EXPECT_EQ(coilWireDiameter(30), 0.0124015);
}

TEST(WireGauge, NoMatchOutsideTheEvenGauges) {
    for (double swg : {11.0, 32.0, 14.5, 8.0, 0.0, -14.0, 13.999999999}) {
        EXPECT_FALSE(antennaWireDiameter(swg).has_value()) << swg;
        EXPECT_FALSE(coilWireDiameter(swg).has_value()) << swg;
    }
}

TEST(WireGauge, AwgDiametersMatchThePublishedTable) {
    // Published diameters in millimetres, to three decimals.
    const std::vector<std::pair<int, double>> rows{
        {0, 8.251}, {10, 2.588}, {14, 1.628}, {20, 0.812}, {30, 0.255}, {36, 0.127}, {40, 0.080}};
    for (const auto& [awg, millimetres] : rows) {
        const auto inches = awgWireDiameter(awg);
        ASSERT_TRUE(inches.has_value()) << awg;
        EXPECT_EQ(std::round(*inches * 25.4 * 1000) / 1000, millimetres) << awg;
    }
    for (double awg : {-1.0, 41.0, 14.5, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_FALSE(awgWireDiameter(awg).has_value()) << awg;
    }
}

} // namespace
} // namespace tarvix
