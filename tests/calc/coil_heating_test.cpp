// The coil's heating against the measurements its correlation is fitted to:
// Morgan's (1975) review of natural convection from horizontal cylinders in
// air gives the mean Nusselt number as C Ra^n by ranges of Ra (Incropera and
// DeWitt, table 9.1): Churchill and Chu's single formula must stay within 10 %
// of it where coils lie, Ra 1e4 to 1e7 (a 1 to 4 in coil some degrees to
// some tens of degrees above the air).
#include "calc/coil_heating.h"

#include <cmath>
#include <gtest/gtest.h>

namespace tarvix::test {
namespace {

struct MorganRange {
    double lowRa, highRa, c, n;
};

TEST(CoilHeating, ChurchillAndChuFollowMorgansMeasuredRangesWhereCoilsLie) {
    constexpr double kAirPrandtl = 0.707;
    for (const MorganRange& range :
         {MorganRange{1e4, 1e7, 0.480, 0.250}, MorganRange{1e7, 1e9, 0.125, 0.333}}) {
        for (double ra = range.lowRa; ra <= range.highRa * 1.0001; ra *= std::sqrt(10.0)) {
            const double morgan = range.c * std::pow(ra, range.n);
            EXPECT_NEAR(horizontalCylinderNusselt(ra, kAirPrandtl), morgan, 0.10 * morgan)
                << "Ra " << ra;
        }
    }
}

// A coil that sheds twice the power runs hotter, but by less than twice:
// convection and radiation both grow faster than the rise. A coil of twice
// the surface runs cooler at the same power. And no power, no rise.
TEST(CoilHeating, TheRiseGrowsSlowerThanThePowerAndFallsWithTheSurface) {
    CoilWinding coil;
    coil.turns = 20;
    coil.pitchIn = 0.1;
    coil.formerDiaIn = 2;
    coil.wireDiaIn = 0.036;
    const double one = windingTemperatureRiseC(coil, 5);
    const double two = windingTemperatureRiseC(coil, 10);
    EXPECT_GT(one, 5);
    EXPECT_GT(two, one);
    EXPECT_LT(two, 2 * one);
    CoilWinding longer = coil;
    longer.pitchIn = 0.2;
    EXPECT_LT(windingTemperatureRiseC(longer, 5), one);
    EXPECT_EQ(windingTemperatureRiseC(coil, 0), 0);
}

} // namespace
} // namespace tarvix::test
