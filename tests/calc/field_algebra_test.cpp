// GMRES of the coil's field solution must tell when it stops short: on a
// system it solves, the flag is set and the answer meets the tolerance; on the
// cyclic shift, where restarted GMRES makes no progress at all (Nachtigal,
// Reddy and Trefethen 1992: the residual's minimum over fewer than n steps is
// the starting one), it runs out of cycles and says so.
#include "calc/coil_field_algebra.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace tarvix::field {
namespace {

constexpr std::size_t kUnknowns = 50;
constexpr double kTolerance = 1e-8;

// (S x)[i] = x[i - 1], cyclically.
std::vector<double> shifted(const std::vector<double>& x) {
    std::vector<double> out(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        out[i] = x[(i + x.size() - 1) % x.size()];
    }
    return out;
}

struct GmresCase {
    const char* name;
    LinearMap apply; // the system is x + apply(x) = rhs
    bool converges;
};

void PrintTo(const GmresCase& c, std::ostream* os) {
    *os << c.name;
}

class GmresConvergence : public ::testing::TestWithParam<GmresCase> {};

TEST_P(GmresConvergence, SaysWhetherItReachedTheTolerance) {
    std::vector<double> rhs(kUnknowns, 0.0);
    rhs[0] = 1;
    std::vector<double> x(kUnknowns, 0.0);
    EXPECT_EQ(gmres(GetParam().apply, rhs, x, kTolerance), GetParam().converges);
    const std::vector<double> mapped = GetParam().apply(x);
    double residual = 0;
    for (std::size_t i = 0; i < kUnknowns; ++i) {
        residual += std::pow(rhs[i] - x[i] - mapped[i], 2);
    }
    if (GetParam().converges) {
        EXPECT_LE(std::sqrt(residual), kTolerance);
    } else {
        EXPECT_GT(std::sqrt(residual), kTolerance);
    }
}

INSTANTIATE_TEST_SUITE_P(Systems, GmresConvergence,
                         ::testing::Values(
                             // I + S / 2: its inverse's series converges, so does GMRES, quickly.
                             GmresCase{"halfShiftConverges",
                                       [](const std::vector<double>& x) {
                                           std::vector<double> out = shifted(x);
                                           for (double& v : out) {
                                               v /= 2;
                                           }
                                           return out;
                                       },
                                       true},
                             // I + (S - I) = S: 50 unknowns, 20 steps a cycle.
                             GmresCase{"cyclicShiftStagnates",
                                       [](const std::vector<double>& x) {
                                           std::vector<double> out = shifted(x);
                                           for (std::size_t i = 0; i < x.size(); ++i) {
                                               out[i] -= x[i];
                                           }
                                           return out;
                                       },
                                       false}),
                         [](const auto& info) { return info.param.name; });

} // namespace
} // namespace tarvix::field
