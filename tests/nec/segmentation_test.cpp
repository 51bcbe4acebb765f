// The NEC model's segmentation: each coil a segment centred on B (or a run of
// them spanning its winding) and the feed on the middle one, each flanked by
// segments of its own length, neighbours
// within 1.3 of each other, segments short enough for the wavelength and long
// enough for the wire; every design in the program's range modelled, the
// uniform reference model as the tests need it, and designs that cannot be
// modelled refused.
#include "calc/units.h"
#include "nec/nec_deck.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace tarvix {
namespace {

struct SegmentationCase {
    const char* name;
    double f, a, b, wireDiaIn;
    double coilLengthIn = 0; // the winding's, to spread each coil over
};

void PrintTo(const SegmentationCase& c, std::ostream* os) {
    *os << c.name;
}

AntennaModel modelOf(const SegmentationCase& c) {
    AntennaModel model;
    model.designFreqMHz = c.f;
    model.totalLengthFt = c.a;
    model.centreToCoilFt = c.b;
    model.wireDiaIn = c.wireDiaIn;
    model.coilLengthIn = c.coilLengthIn;
    return model;
}

// Every segment's length from tip to tip, and the indices of the feed and
// coil segments in it.
struct Cut {
    std::vector<double> lengths;
    std::size_t feed = 0;
    std::vector<std::size_t> coils;
};

Cut cutOf(const NecGeometry& geometry) {
    Cut cut;
    for (const NecWire& piece : geometry.wires) {
        for (int k = 1; k <= piece.segments; ++k) {
            if (piece.tag == geometry.feed.tag && k == geometry.feed.segment) {
                cut.feed = cut.lengths.size();
            }
            for (const NecSegmentRef& coil : geometry.coils) {
                if (piece.tag == coil.tag && k == coil.segment) {
                    cut.coils.push_back(cut.lengths.size());
                }
            }
            cut.lengths.push_back((piece.toM - piece.fromM) / piece.segments);
        }
    }
    return cut;
}

// The centre of a segment, in metres from the middle of the wire.
double centreOf(const Cut& cut, std::size_t index, double halfM) {
    double from = -halfM;
    for (std::size_t i = 0; i < index; ++i) {
        from += cut.lengths[i];
    }
    return from + cut.lengths[index] / 2;
}

// The rules every graded model keeps; where names the design.
void expectGradedRules(const AntennaModel& model, const std::string& where) {
    SCOPED_TRACE(where);
    const NecGeometry geometry = buildGeometry(model);
    const double halfM = model.totalLengthFt * kMetresPerFoot / 2;
    const double radiusM = model.wireDiaIn / 2 * kMetresPerInch;

    // One wire from tip to tip, the pieces joined end to end.
    EXPECT_DOUBLE_EQ(geometry.wires.front().fromM, -halfM);
    EXPECT_DOUBLE_EQ(geometry.wires.back().toM, halfM);
    int total = 0;
    for (std::size_t i = 0; i < geometry.wires.size(); ++i) {
        if (i > 0) {
            EXPECT_DOUBLE_EQ(geometry.wires[i].fromM, geometry.wires[i - 1].toM);
        }
        total += geometry.wires[i].segments;
    }
    EXPECT_EQ(total, geometry.totalSegments);
    // Few enough for --simulate to stay quick, up to a half wave (468 / F ft).
    if (model.totalLengthFt <= 468 / model.designFreqMHz) {
        EXPECT_LE(geometry.totalSegments, 130);
    }

    const Cut cut = cutOf(geometry);
    const double wavelengthM = 299.792458 / model.designFreqMHz;
    for (std::size_t i = 0; i < cut.lengths.size(); ++i) {
        EXPECT_LE(cut.lengths[i], wavelengthM / 1.2 / 20) << "segment " << i + 1;
        EXPECT_GE(cut.lengths[i], 4 * radiusM * (1 - 1e-9)) << "segment " << i + 1;
        if (i > 0) {
            EXPECT_LE(
                std::max(cut.lengths[i] / cut.lengths[i - 1], cut.lengths[i - 1] / cut.lengths[i]),
                1.3 * (1 + 1e-9))
                << "segments " << i << " and " << i + 1;
        }
    }
    // The feed and each coil (its run): two segments of their own length on
    // each side.
    const int run = geometry.coilRun;
    for (const std::size_t centre : cut.coils) {
        for (int offset = -run - 2; offset <= run + 2; ++offset) {
            const std::size_t other = centre + static_cast<std::size_t>(offset);
            ASSERT_LT(other, cut.lengths.size()) << "segment " << centre + 1;
            EXPECT_NEAR(cut.lengths[other], cut.lengths[centre], 1e-9 * cut.lengths[centre])
                << "segment " << other + 1 << " beside " << centre + 1;
        }
    }
    for (const std::size_t centre : {cut.feed}) {
        for (const int offset : {-2, -1, 1, 2}) {
            const std::size_t other = centre + static_cast<std::size_t>(offset);
            ASSERT_LT(other, cut.lengths.size()) << "segment " << centre + 1;
            EXPECT_NEAR(cut.lengths[other], cut.lengths[centre], 1e-9 * cut.lengths[centre])
                << "segment " << other + 1 << " beside " << centre + 1;
        }
    }

    EXPECT_NEAR(centreOf(cut, cut.feed, halfM), 0, 1e-12);
    const double coilM = model.centreToCoilFt * kMetresPerFoot;
    if (model.centreToCoilFt == 0) {
        ASSERT_EQ(geometry.coils.size(), 1u);
        EXPECT_EQ(geometry.coils[0].tag, geometry.feed.tag);
        EXPECT_EQ(geometry.coils[0].segment, geometry.feed.segment);
    } else {
        ASSERT_EQ(cut.coils.size(), 2u);
        EXPECT_NEAR(centreOf(cut, cut.coils[0], halfM), -coilM, 1e-12);
        EXPECT_NEAR(centreOf(cut, cut.coils[1], halfM), coilM, 1e-12);
        // Each coil its own piece, its centre segment in the middle of its
        // tag, as the loads name it.
        for (const NecSegmentRef& coil : geometry.coils) {
            EXPECT_EQ(coil.segment, run + 1);
            EXPECT_EQ(geometry.wires.at(coil.tag - 1).segments, 2 * run + 1);
        }
        // A winding of two coil segments or more spread over a run that spans
        // it to within one of its segments.
        const double windingM = model.coilLengthIn * kMetresPerInch;
        const double segment = cut.lengths[cut.coils[1]];
        if (windingM >= 2 * segment) {
            EXPECT_GT(run, 0);
            EXPECT_NEAR((2 * run + 1) * segment, windingM, segment);
        } else {
            EXPECT_EQ(run, 0);
        }
    }
}

class NecSegmentationRules : public testing::TestWithParam<SegmentationCase> {};

TEST_P(NecSegmentationRules, CoilsAndFeedFlankedAndCentredNeighboursWithinOnePointThree) {
    expectGradedRules(modelOf(GetParam()), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Nec, NecSegmentationRules,
    testing::Values(SegmentationCase{"WorkedExample", 7, 60, 20, 0.08},
                    SegmentationCase{"QuarterOfTheLength", 7, 40, 10, 0.0640157},
                    SegmentationCase{"ThreeEighths", 3.6, 40, 15, 0.08},
                    SegmentationCase{"LongWireAtTenMetres", 28, 60, 20, 0.12799},
                    SegmentationCase{"TenMetresDesign", 28.5, 11, 2.5, 0.08},
                    SegmentationCase{"CoilsAtTheFeed", 14, 20, 0, 0.08},
                    SegmentationCase{"CoilsNearTheFeed", 7, 60, 0.3, 0.08},
                    SegmentationCase{"FeedAndCoilsOnOneGrid", 7, 60, 3, 0.08},
                    SegmentationCase{"CentreLoaded", 1.85, 63, 0.05, 0.08},
                    SegmentationCase{"CentreLoadedThickWire", 1.85, 63, 0.05, 0.128},
                    SegmentationCase{"CoilsAThirdOfAFootOut", 7, 51.2, 0.28, 0.077},
                    SegmentationCase{"CoilsAtNinetyFivePercent", 7, 60, 28.5, 0.08},
                    SegmentationCase{"CoilsNearTheTipsOfAShortWire", 20.8, 7.73, 3.716, 0.087},
                    SegmentationCase{"CoilsNearTheTips", 7, 60, 29.8, 0.08},
                    SegmentationCase{"WorkedExampleWoundCoil", 7, 60, 20, 0.08, 6},
                    SegmentationCase{"TenMetresWoundCoil", 28.5, 11, 2.5, 0.08, 2.5},
                    SegmentationCase{"ShortWoundCoil", 7, 60, 20, 0.08, 2},
                    SegmentationCase{"WoundCoilOnTheFeedsGrid", 7, 60, 1, 0.08, 4}),
    [](const testing::TestParamInfo<SegmentationCase>& info) { return info.param.name; });

// The corners of the program's range: 1.8 and 30 MHz, A a quarter and 0.95 of
// a half wave (468 / F ft), B 0.05 ft and 95 % of a leg, SWG 10 and 30.
TEST(NecSegmentation, EveryCornerOfTheDesignRangeIsModelledByTheRules) {
    for (const double f : {1.8, 30.0}) {
        for (const double share : {0.25, 0.95}) {
            for (const bool nearTip : {false, true}) {
                for (const double wireDiaIn : {0.128, 0.0124}) {
                    const double a = share * 468 / f;
                    const double b = nearTip ? 0.95 * a / 2 : 0.05;
                    std::ostringstream name;
                    name << f << " MHz, A " << a << " ft, B " << b << " ft, " << wireDiaIn << " in";
                    expectGradedRules(modelOf({"", f, a, b, wireDiaIn}), name.str());
                }
            }
        }
    }
}

// The reference the convergence tests hold the graded model against: equal
// segments, at least as many as asked for, with the coils centred on +-B
// and the feed on 0; only the tip segments differ, by up to half a segment.
TEST(NecSegmentation, UniformModelHasEqualSegmentsWithCoilsCentredOnB) {
    struct Uniform {
        SegmentationCase design;
        int segments;
    };
    for (const Uniform& u : {Uniform{{"WorkedExample", 7, 60, 20, 0.08}, 400},
                             Uniform{{"TenMetresCentreLoaded", 28.5, 11, 0.05, 0.064}, 400},
                             Uniform{{"TwentyMetres", 14.2, 20, 5, 0.064}, 400},
                             Uniform{{"CoilsAtTheFeed", 14, 20, 0, 0.08}, 400},
                             Uniform{{"WorkedExampleWoundCoil", 7, 60, 20, 0.08, 6}, 400}}) {
        SCOPED_TRACE(u.design.name);
        AntennaModel model = modelOf(u.design);
        model.uniformSegments = u.segments;
        const NecGeometry geometry = buildGeometry(model);
        const Cut cut = cutOf(geometry);
        const double halfM = u.design.a * kMetresPerFoot / 2;
        EXPECT_GE(geometry.totalSegments, u.segments);
        // s = B / ceil(B (n + 1) / A) leaves at most A / B + 2 more than n.
        const double more = u.design.b > 0 ? u.design.a / u.design.b : 0;
        EXPECT_LE(geometry.totalSegments, u.segments + more + 2);
        const double segment = cut.lengths[cut.feed];
        for (std::size_t i = 1; i + 1 < cut.lengths.size(); ++i) {
            EXPECT_NEAR(cut.lengths[i], segment, 1e-9 * segment) << "segment " << i + 1;
        }
        for (const double tip : {cut.lengths.front(), cut.lengths.back()}) {
            EXPECT_GE(tip, segment / 2 * (1 - 1e-9));
            EXPECT_LE(tip, segment * 1.5 * (1 + 1e-9));
        }
        EXPECT_NEAR(centreOf(cut, cut.feed, halfM), 0, 1e-12);
        if (u.design.b > 0) {
            ASSERT_EQ(cut.coils.size(), 2u);
            EXPECT_NEAR(centreOf(cut, cut.coils[1], halfM), u.design.b * kMetresPerFoot, 1e-12);
            EXPECT_NEAR(centreOf(cut, cut.coils[0], halfM), -u.design.b * kMetresPerFoot, 1e-12);
            // The winding spread over the segments that span it.
            const double windingM = u.design.coilLengthIn * kMetresPerInch;
            EXPECT_NEAR((2 * geometry.coilRun + 1) * segment, std::max(windingM, segment), segment);
        }
    }
}

TEST(NecSegmentation, DesignsThatCannotBeModelledAreRefused) {
    auto geometry = [](double f, double a, double b, double wireDiaIn) {
        return buildGeometry(modelOf({"", f, a, b, wireDiaIn}));
    };
    EXPECT_THROW(geometry(7, 60, 31, 0.08), NecDeckError);     // coils off the wire
    EXPECT_THROW(geometry(7, 60, 30, 0.08), NecDeckError);     // coils on the tips
    EXPECT_THROW(geometry(7, -60, -40, 0.08), NecDeckError);   // no wire
    EXPECT_THROW(geometry(7, 0.1, 0, 0.12799), NecDeckError);  // thick against length
    EXPECT_THROW(geometry(7, 60, 0.01, 0.08), NecDeckError);   // coils against the feed
    EXPECT_THROW(geometry(7, 60, 29.995, 0.08), NecDeckError); // coils against the tips
    EXPECT_THROW(geometry(30, 1e5, 20, 0.08), NecDeckError);   // far too many wavelengths
}

} // namespace
} // namespace tarvix
