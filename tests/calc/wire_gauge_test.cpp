// Gauge lookups: only the even gauges 10 to 30, compared exactly.
#include "calc/wire_gauge.h"

#include <gtest/gtest.h>

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

} // namespace
} // namespace tarvix
