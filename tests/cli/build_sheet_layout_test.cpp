// The build sheet's antenna drawing is to scale: one scale for the whole wire,
// the feed point in the middle, the coils where the cut list puts them.
#include "plot/build_sheet_drawings.h"

#include <gtest/gtest.h>

namespace tarvix::test {
namespace {

struct LayoutCase {
    const char* name;
    double aFt, bFt, coilIn;
    double coilCentreFt; // from the feed point, as built
    double coilWidthPt;  // on a strip of 500 pt
};

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.name;
}

class AntennaDrawingScale : public testing::TestWithParam<LayoutCase> {};

TEST_P(AntennaDrawingScale, KeepsEveryLengthInProportion) {
    const LayoutCase& c = GetParam();
    constexpr double kLeft = 40;
    constexpr double kWidth = 500;
    const AntennaDrawing d = antennaDrawing(c.aFt, c.bFt, c.coilIn, kLeft, kWidth);
    EXPECT_DOUBLE_EQ(d.tipX[0], kLeft);
    EXPECT_DOUBLE_EQ(d.tipX[1], kLeft + kWidth);
    EXPECT_DOUBLE_EQ(d.feedX, kLeft + kWidth / 2);
    EXPECT_DOUBLE_EQ(d.pointsPerFoot * c.aFt, kWidth);
    // Both coils at the same distance from the feed point, in A's proportion.
    EXPECT_NEAR(d.coilX[1] - d.feedX, c.coilCentreFt / c.aFt * kWidth, 1e-9);
    EXPECT_NEAR(d.feedX - d.coilX[0], c.coilCentreFt / c.aFt * kWidth, 1e-9);
    EXPECT_NEAR(d.coilWidthPt, c.coilWidthPt, 1e-9);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(BuildSheet, AntennaDrawingScale, testing::Values(
    // A half-inch coil is far below a point: it is drawn at the least width.
    LayoutCase{"WorkedExample", 60, 20, 0.5, 20, kLeastCoilWidthPt},
    // A long coil on a short antenna keeps its own length on the scale.
    LayoutCase{"LongCoilShortAntenna", 10, 2, 12, 2, 50},
    // Coils closer in than half their length start at the feed point.
    LayoutCase{"CoilAtTheFeedPoint", 10, 0.1, 12, 0.5, 50},
    LayoutCase{"NegativeDistanceIsTheSame", 60, -20, 0.5, 20, kLeastCoilWidthPt}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });
// clang-format on

} // namespace
} // namespace tarvix::test
