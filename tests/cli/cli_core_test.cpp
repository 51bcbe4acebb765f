// The pieces of tarvix-design with edges worth pinning down one by one: the
// sweep's rows, the NEC segmentation and how standard error is written.
#include "calc/conversions.h"
#include "calc/design_run.h"
#include "cli/coil_sweep.h"
#include "cli/tarvix_design.h"
#include "cli/usage_error.h"
#include "nec/nec_deck.h"

#include <gtest/gtest.h>
#include <sstream>
#include <streambuf>

namespace tarvix {
namespace {

TEST(SweepRange, RowsRunFromFromToTo) {
    const std::vector<std::pair<const char*, std::vector<double>>> rows{
        {"0:30:10", {0, 10, 20, 30}},
        {"0:25:10", {0, 10, 20}},
        {"5:5:1", {5}},
        {"-2:2:2", {-2, 0, 2}},
        {"0:0.3:0.1", {0, 0.1, 0.2, 0.3}}};
    for (const auto& [text, distances] : rows) {
        std::vector<double> values;
        for (const SweepDistance& distance : sweepDistances(parseSweepRange(text))) {
            EXPECT_EQ(distance.text, numberText(distance.value)) << text;
            values.push_back(distance.value);
        }
        EXPECT_EQ(values, distances) << text;
    }
    EXPECT_EQ(sweepDistances(parseSweepRange("0:9999:1")).size(), kMaxSweepRows);
}

TEST(SweepRange, BadRangesAreUsageErrors) {
    for (const char* text : {"", "1", "1:2", "1:2:3:4", "a:2:1", "0:1:0", "0:1:-0.5", "2:1:1",
                             "0:10000:1", "0:1e300:1e-300"}) {
        EXPECT_THROW(parseSweepRange(text), UsageError) << text;
    }
}

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
    Cli, NecSegmentationRules,
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

// Keeps each piece a stream hands to its buffer: on standard error, which is
// unbuffered, each piece is one write.
class PieceRecorder : public std::streambuf {
public:
    std::vector<std::string> pieces;

protected:
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        pieces.emplace_back(text, static_cast<std::size_t>(count));
        return count;
    }
    int_type overflow(int_type c) override {
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            pieces.emplace_back(1, traits_type::to_char_type(c));
        }
        return c;
    }
};

TEST(StandardError, EachMessageLineIsWrittenInOnePiece) {
    const std::vector<std::vector<const char*>> commandLines{
        {"tarvix-design", "--freq", "31", "--length", "14", "--coil-distance", "5.5"},
        {"tarvix-design", "--freq", "0", "--length", "60", "--coil-distance", "20"},
        {"tarvix-design", "--fr", "7"}};
    for (const auto& argv : commandLines) {
        PieceRecorder recorder;
        std::ostream err(&recorder);
        std::ostringstream out;
        runTarvixDesign(static_cast<int>(argv.size()), argv.data(), out, err);
        ASSERT_FALSE(recorder.pieces.empty()) << argv[1];
        for (const std::string& piece : recorder.pieces) {
            EXPECT_EQ(piece.find('\n'), piece.size() - 1) << piece;
        }
    }
}

} // namespace
} // namespace tarvix
