// The rational model of the feed impedance between the two-port's frequencies:
// fitted on Chebyshev points to impedances of known form, it must follow them
// between the points and out to the band's ends, where the simulation reads its
// resonance and its SWR band. No engine is needed.
#include "nec/simulation.h"
#include "nec/two_port.h"

#include <cmath>
#include <complex>
#include <functional>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

namespace tarvix::test {
namespace {

using Impedance = std::function<std::complex<double>(double freqMHz)>;
constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr std::complex<double> kJ(0, 1);

struct FitCase {
    const char* name;
    Impedance z;
    double centreMHz;
    double halfSpanMHz;
    double relativeError; // the largest |model - z| / |z| allowed between the nodes
};

void PrintTo(const FitCase& c, std::ostream* os) {
    *os << c.name;
}

// A series RLC of 12 ohm, 20 uH and the capacitance that resonates it at 7 MHz:
// R + j (omega L - 1 / (omega C)), degree 2 over 1 in f.
std::complex<double> seriesRlc(double freqMHz) {
    const double omega = kTwoPi * freqMHz * 1e6;
    const double inductanceH = 20e-6;
    const double capacitanceF = 1 / (std::pow(kTwoPi * 7e6, 2) * inductanceH);
    return 12.0 + kJ * (omega * inductanceH - 1 / (omega * capacitanceF));
}

// A parallel RLC of 2 kohm resonating at 7.05 MHz: degree 1 over 2 in f.
std::complex<double> parallelRlc(double freqMHz) {
    const double omega = kTwoPi * freqMHz * 1e6;
    const double inductanceH = 5e-6;
    const double capacitanceF = 1 / (std::pow(kTwoPi * 7.05e6, 2) * inductanceH);
    return 1.0 / (1.0 / 2000 + 1.0 / (kJ * omega * inductanceH) + kJ * omega * capacitanceF);
}

// A resonance just above the band (a pole at 7.45 + 0.02 j MHz over 6.8 to
// 7.4 MHz) on a series resistance and reactance: degree 2 over 1.
std::complex<double> poleAboveTheBand(double freqMHz) {
    const std::complex<double> poleMHz(7.45, 0.02);
    return 40.0 + kJ * 30.0 * freqMHz + 15.0 / (freqMHz - poleMHz);
}

// A shorted lossy line a quarter wave long at 9 MHz: j Z0 tan(beta l) with
// poles at 9, 27, 45 ... MHz, which no degree-2 model holds exactly.
std::complex<double> shortedLine(double freqMHz) {
    const std::complex<double> betaL((std::numbers::pi / 2) * freqMHz / 9, -0.01);
    return 50.0 * kJ * std::tan(betaL);
}

class RationalFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(RationalFit, FollowsTheImpedanceBetweenTheNodes) {
    const FitCase& c = GetParam();
    const std::vector<double> nodes =
        chebyshevFrequencies(c.centreMHz, c.halfSpanMHz, kTwoPortFrequencies);
    std::vector<std::complex<double>> values;
    for (const double f : nodes) {
        values.push_back(c.z(f));
    }
    const double low = c.centreMHz - c.halfSpanMHz;
    const double high = c.centreMHz + c.halfSpanMHz;
    const auto model = RationalModel::through(nodes, values, low, high);
    ASSERT_TRUE(model.has_value());
    // Half-way between neighbouring nodes, and from each outer node to the band's end.
    std::vector<double> between{low, high};
    for (std::size_t i = 0; i + 1 < nodes.size(); ++i) {
        between.push_back((nodes[i] + nodes[i + 1]) / 2);
    }
    for (const double f : between) {
        const std::complex<double> expected = c.z(f);
        EXPECT_LE(std::abs((*model)(f)-expected), c.relativeError * std::abs(expected))
            << "at " << f << " MHz";
    }
}

INSTANTIATE_TEST_SUITE_P(KnownImpedances, RationalFit,
                         ::testing::Values(
                             // Of the model's own form: only rounding separates the fit from it.
                             FitCase{"seriesRlc", seriesRlc, 7.0, 0.35, 1e-9},
                             FitCase{"parallelRlc", parallelRlc, 7.0, 0.35, 1e-9},
                             FitCase{"poleJustAboveTheBand", poleAboveTheBand, 7.1, 0.3, 1e-9},
                             // Not of its form, yet smooth over the band: degree 2 over 2 on five
                             // Chebyshev points holds it within a millionth.
                             FitCase{"shortedLine", shortedLine, 7.0, 0.35, 1e-6}),
                         [](const auto& info) { return info.param.name; });

TEST(RationalFitRefusal, PointsThatDetermineNoModelGiveNone) {
    // An even count has no degree m over m through it.
    EXPECT_FALSE(RationalModel::through({6.9, 7.0, 7.1, 7.2}, {1.0, 2.0, 3.0, 4.0}, 6.9, 7.2));
    // One point twice leaves four conditions for five coefficients.
    EXPECT_FALSE(
        RationalModel::through({6.8, 6.9, 6.9, 7.1, 7.2}, {1.0, 2.0, 2.0, 4.0, 5.0}, 6.8, 7.2));
}

} // namespace
} // namespace tarvix::test
