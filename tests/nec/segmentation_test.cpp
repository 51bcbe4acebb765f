// The NEC model's segmentation: each coil a segment centred on B, the feed
// on the middle one, segments short enough for the wavelength and long
// enough for the wire, and designs that cannot be modelled refused.
#include "nec/nec_deck.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace tarvix {
namespace {

struct SegmentationCase {
    const char* name;
    double f, a, b, wireDiaIn;
};

void PrintTo(const SegmentationCase& c, std::ostream* os) {
    *os << c.name;
}

class NecSegmentationRules : public testing::TestWithParam<SegmentationCase> {};

// The centre of segment n of a wire, in metres along it.
double segmentCentre(const NecWire& wire, int segment) {
    return wire.fromM + (wire.toM - wire.fromM) * (segment - 0.5) / wire.segments;
}

TEST_P(NecSegmentationRules, CoilsCentredOnBFeedOnTheMiddleSegmentsShortAndLongEnough) {
    const SegmentationCase& c = GetParam();
    AntennaModel model;
    model.designFreqMHz = c.f;
    model.totalLengthFt = c.a;
    model.centreToCoilFt = c.b;
    model.wireDiaIn = c.wireDiaIn;
    const NecGeometry geometry = buildGeometry(model);
    auto wire = [&](int tag) { return geometry.wires.at(tag - 1); };

    // One wire from tip to tip, the pieces joined end to end.
    EXPECT_DOUBLE_EQ(geometry.wires.front().fromM, -c.a * 0.3048 / 2);
    EXPECT_DOUBLE_EQ(geometry.wires.back().toM, c.a * 0.3048 / 2);
    int total = 0;
    for (std::size_t i = 0; i < geometry.wires.size(); ++i) {
        if (i > 0) {
            EXPECT_DOUBLE_EQ(geometry.wires[i].fromM, geometry.wires[i - 1].toM);
        }
        const NecWire& piece = geometry.wires[i];
        const double segmentM = (piece.toM - piece.fromM) / piece.segments;
        EXPECT_LE(segmentM, 299.792458 / (c.f * 1.2) / 20) << "wire " << piece.tag;
        EXPECT_GE(segmentM, 8 * c.wireDiaIn / 2 * 0.0254) << "wire " << piece.tag;
        total += piece.segments;
    }
    EXPECT_EQ(total, geometry.totalSegments);
    // Neighbouring segments within 1.5 of each other, and a coil's
    // neighbours no shorter than the coil.
    std::vector<double> lengths;
    std::vector<bool> loaded;
    for (const NecWire& piece : geometry.wires) {
        for (int k = 1; k <= piece.segments; ++k) {
            lengths.push_back((piece.toM - piece.fromM) / piece.segments);
            bool coil = false;
            for (const NecSegmentRef& ref : geometry.coils) {
                coil = coil || (c.b != 0 && ref.tag == piece.tag && ref.segment == k);
            }
            loaded.push_back(coil);
        }
    }
    for (std::size_t i = 1; i < lengths.size(); ++i) {
        EXPECT_LE(std::max(lengths[i] / lengths[i - 1], lengths[i - 1] / lengths[i]), 1.5)
            << "segments " << i << " and " << i + 1;
        if (loaded[i] || loaded[i - 1]) {
            const std::size_t coil = loaded[i] ? i : i - 1;
            const std::size_t other = loaded[i] ? i - 1 : i;
            EXPECT_GE(lengths[other], 0.9 * lengths[coil]) << "coil segment " << coil + 1;
        }
    }
    EXPECT_NEAR(segmentCentre(wire(geometry.feed.tag), geometry.feed.segment), 0, 1e-12);
    if (c.b == 0) {
        ASSERT_EQ(geometry.coils.size(), 1u);
        EXPECT_EQ(geometry.coils[0].tag, geometry.feed.tag);
        EXPECT_EQ(geometry.coils[0].segment, geometry.feed.segment);
    } else {
        ASSERT_EQ(geometry.coils.size(), 2u);
        EXPECT_NEAR(segmentCentre(wire(geometry.coils[0].tag), geometry.coils[0].segment),
                    -c.b * 0.3048, 1e-12);
        EXPECT_NEAR(segmentCentre(wire(geometry.coils[1].tag), geometry.coils[1].segment),
                    c.b * 0.3048, 1e-12);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Nec, NecSegmentationRules,
    testing::Values(SegmentationCase{"WorkedExample", 7, 60, 20, 0.08},
                    SegmentationCase{"QuarterOfTheLength", 7, 40, 10, 0.0640157},
                    SegmentationCase{"ThreeEighths", 3.6, 40, 15, 0.08},
                    SegmentationCase{"LongWireAtTenMetres", 28, 60, 20, 0.12799},
                    SegmentationCase{"CoilsAtTheFeed", 14, 20, 0, 0.08},
                    SegmentationCase{"CoilsNearTheFeed", 7, 60, 0.3, 0.08},
                    SegmentationCase{"CentreLoaded", 1.85, 63, 0.05, 0.08},
                    SegmentationCase{"CoilsAThirdOfAFootOut", 7, 51.2, 0.28, 0.077},
                    SegmentationCase{"CoilsAtNinetyFivePercent", 7, 60, 28.5, 0.08},
                    SegmentationCase{"CoilsNearTheTipsOfAShortWire", 20.8, 7.73, 3.716, 0.087},
                    SegmentationCase{"CoilsNearTheTips", 7, 60, 29.8, 0.08}),
    [](const testing::TestParamInfo<SegmentationCase>& info) { return info.param.name; });

TEST(NecSegmentation, DesignsThatCannotBeModelledAreRefused) {
    auto geometry = [](double f, double a, double b, double wireDiaIn) {
        AntennaModel model;
        model.designFreqMHz = f;
        model.totalLengthFt = a;
        model.centreToCoilFt = b;
        model.wireDiaIn = wireDiaIn;
        return buildGeometry(model);
    };
    EXPECT_THROW(geometry(7, 60, 31, 0.08), NecDeckError);    // coils off the wire
    EXPECT_THROW(geometry(7, 60, 30, 0.08), NecDeckError);    // coils on the tips
    EXPECT_THROW(geometry(7, -60, -40, 0.08), NecDeckError);  // no wire
    EXPECT_THROW(geometry(7, 0.1, 0, 0.12799), NecDeckError); // thick against length
    EXPECT_THROW(geometry(7, 60, 0.01, 0.08), NecDeckError);  // coils against the feed
    EXPECT_THROW(geometry(30, 1e5, 20, 0.08), NecDeckError);  // far too many wavelengths
}

} // namespace
} // namespace tarvix
