// The pieces of tarvix-design with edges worth pinning down one by one: the
// sweep's rows and how standard error is written.
#include "calc/conversions.h"
#include "cli/coil_sweep.h"
#include "cli/tarvix_design.h"
#include "cli/usage_error.h"

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
