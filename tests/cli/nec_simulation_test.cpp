// The designs checked in a real antenna simulator: tarvix-design writes the
// deck, nec2c solves it, and the feed-point reactance must change sign within
// 10 % of the design frequency, that is the antenna must be resonant there.
#include "program_run.h"

#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>

namespace tarvix::test {
namespace {

struct FeedPoint {
    double freqMHz;
    double resistance;
    double reactance;
};

// nec2c prints, for each frequency, "FREQUENCY : f MHz" and later an
// "ANTENNA INPUT PARAMETERS" table whose row after two header lines holds
// tag, segment, voltage, current, impedance (real, imaginary), ...
std::vector<FeedPoint> feedPointsOf(const std::string& output) {
    std::vector<FeedPoint> points;
    std::istringstream stream(output);
    double freq = NAN;
    for (std::string line; std::getline(stream, line);) {
        if (const auto at = line.find("FREQUENCY :"); at != std::string::npos) {
            freq = std::stod(line.substr(at + 11));
        } else if (line.find("ANTENNA INPUT PARAMETERS") != std::string::npos) {
            std::string header;
            std::getline(stream, header);
            std::getline(stream, header);
            std::getline(stream, line);
            std::istringstream row(line);
            int tag = 0;
            int segment = 0;
            double vr = 0, vi = 0, ir = 0, ii = 0, zr = 0, zi = 0;
            if (row >> tag >> segment >> vr >> vi >> ir >> ii >> zr >> zi) {
                points.push_back({freq, zr, zi});
            }
        }
    }
    return points;
}

// The first frequency where the reactance changes sign, interpolated between
// the two sweep points either side of it.
std::optional<double> resonanceOf(const std::vector<FeedPoint>& points) {
    for (std::size_t i = 1; i < points.size(); ++i) {
        const FeedPoint& a = points[i - 1];
        const FeedPoint& b = points[i];
        if ((a.reactance < 0) != (b.reactance < 0)) {
            return a.freqMHz + (b.freqMHz - a.freqMHz) * a.reactance / (a.reactance - b.reactance);
        }
    }
    return std::nullopt;
}

struct SimulatedDesign {
    const char* name;
    std::vector<std::string> args;
    double freqMHz;
};

void PrintTo(const SimulatedDesign& d, std::ostream* os) {
    *os << d.name;
}

class NecSimulation : public testing::TestWithParam<SimulatedDesign> {};

TEST_P(NecSimulation, ReactanceChangesSignNearTheDesignFrequency) {
    const std::string nec2c = NEC2C_PATH;
    if (nec2c.empty()) {
        GTEST_SKIP() << "nec2c was not found when the build was configured";
    }
    const SimulatedDesign& design = GetParam();
    const ScratchDir scratch;
    const auto deck = scratch.path("design.nec");
    const auto output = scratch.path("design.out");

    std::vector<std::string> args = design.args;
    args.insert(args.end(), {"--nec", deck.string()});
    const ProgramRun made = runProgram(TARVIX_DESIGN_PATH, args);
    ASSERT_EQ(made.status, 0) << made.err;

    const ProgramRun solved = runProgram(nec2c, {"-i", deck.string(), "-o", output.string()});
    ASSERT_EQ(solved.status, 0) << solved.out << solved.err;

    const std::vector<FeedPoint> points = feedPointsOf(readFile(output));
    ASSERT_GE(points.size(), 3u);
    // The sweep reaches beyond 10 % either side, so a resonance outside the
    // band would be seen and fail.
    EXPECT_LT(points.front().freqMHz, 0.9 * design.freqMHz);
    EXPECT_GT(points.back().freqMHz, 1.1 * design.freqMHz);

    const auto resonance = resonanceOf(points);
    ASSERT_TRUE(resonance) << "no sign change of the reactance in the sweep";
    EXPECT_NEAR(*resonance, design.freqMHz, 0.1 * design.freqMHz);
    for (const FeedPoint& point : points) {
        EXPECT_GT(point.resistance, 0) << point.freqMHz << " MHz";
    }
}

INSTANTIATE_TEST_SUITE_P(
    TarvixDesign, NecSimulation,
    testing::Values(
        // The worked example: 40 m band, 60 ft against a 67 ft half wave.
        SimulatedDesign{
            "WorkedExampleInFreeSpace",
            {"--freq", "7", "--length", "60", "--coil-distance", "20", "--antenna-swg", "14"},
            7},
        // Top band on 40 ft of wire: 16 % of the 253 ft half wave, coils a
        // quarter of the way out.
        SimulatedDesign{"TopBandOnFortyFeet",
                        {"--freq", "1.85", "--length", "40", "--coil-distance", "10"},
                        1.85},
        // 80 m band on 40 ft: a third of the half wave.
        SimulatedDesign{
            "EightyMetresOnFortyFeet",
            {"--freq", "3.6", "--length", "40", "--coil-distance", "10", "--antenna-swg", "16"},
            3.6},
        SimulatedDesign{
            "WorkedExampleThirtyFeetOverGround",
            {"--freq", "7", "--length", "60", "--coil-distance", "20", "--height", "30"},
            7}),
    [](const testing::TestParamInfo<SimulatedDesign>& info) { return info.param.name; });

} // namespace
} // namespace tarvix::test
