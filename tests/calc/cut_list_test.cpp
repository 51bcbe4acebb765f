// The cut list: what the builder cuts must add up to the antenna designed,
// with the coils in the places B gives.
#include "calc/cut_list.h"

#include <gtest/gtest.h>
#include <optional>
#include <ostream>

namespace tarvix::test {
namespace {

struct CutRow {
    const char* name;
    double aFt, bFt, turns, pitchIn;
    bool feedPiece;
};

void PrintTo(const CutRow& row, std::ostream* os) {
    *os << row.name;
}

class CutLists : public testing::TestWithParam<CutRow> {};

CoilWinding winding(double turns, double pitchIn) {
    CoilWinding coil;
    coil.turns = turns;
    coil.pitchIn = pitchIn;
    coil.formerDiaIn = 2;
    coil.wireDiaIn = 0.036;
    return coil;
}

// Laid out tip to tip, the pieces less their allowances and the two coils
// make A, and the feed-point piece ends half a coil short of B.
TEST_P(CutLists, PiecesAndCoilsMakeTheAntennaWithTheCoilsCentredOnB) {
    const CutRow& row = GetParam();
    const std::optional<CutList> cut = cutList(row.aFt, row.bFt, winding(row.turns, row.pitchIn));
    ASSERT_TRUE(cut);
    const double allowanceFt = cut->allowanceIn / 12;
    const double coilFt = row.turns * row.pitchIn / 12;
    EXPECT_DOUBLE_EQ(cut->coilLengthIn, row.turns * row.pitchIn);
    ASSERT_EQ(cut->feedToCoilFt.has_value(), row.feedPiece);
    const double feedFt = row.feedPiece ? *cut->feedToCoilFt - allowanceFt : 0;
    const double tipFt = cut->coilToTipFt - allowanceFt;
    if (row.feedPiece) {
        EXPECT_NEAR(feedFt + coilFt / 2, row.bFt, 1e-12);
        EXPECT_NEAR(2 * (feedFt + coilFt + tipFt), row.aFt, 1e-12);
    } else {
        // Both coils at the feed point: each starts there.
        EXPECT_NEAR(2 * (coilFt + tipFt), row.aFt, 1e-12);
    }
    EXPECT_GT(cut->coilWireIn, 3.14159 * 2 * row.turns);
}

INSTANTIATE_TEST_SUITE_P(Rows, CutLists,
                         testing::Values(CutRow{"WorkedExample", 60, 20, 10, 0.0496, true},
                                         CutRow{"LongCoilNearTheTip", 34, 15, 120, 0.05, true},
                                         CutRow{"CoilsAtTheFeedPoint", 40, 0, 30, 0.04, false}),
                         [](const testing::TestParamInfo<CutRow>& info) {
                             return info.param.name;
                         });

TEST(CutLists, NoneWhereTheCoilReachesPastTheTip) {
    EXPECT_FALSE(cutList(20, 9.9, winding(100, 0.05)));
    EXPECT_TRUE(cutList(20, 9.5, winding(100, 0.05)));
}

} // namespace
} // namespace tarvix::test
