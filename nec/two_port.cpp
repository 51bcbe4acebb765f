// The two-port solved by nec2c, its algebra, and the rational model between
// its frequencies; the matrices on Eigen.
#include "nec/two_port.h"

#include <Eigen/Dense>
#include <cmath>
#include <limits>
#include <numbers>
#include <sstream>

namespace tarvix {

namespace {

// The current of the source on a port's wire (one segment; NEC lists the
// segment by its number in the whole structure) in one solution.
std::complex<double> currentAt(const FeedPoint& solution, const NecSegmentRef& segment) {
    for (const NecSource& source : solution.sources) {
        if (source.tag == segment.tag) {
            return source.current;
        }
    }
    throw TwoPortShortfall("nec2c listed no source on wire " + std::to_string(segment.tag));
}

std::complex<double> voltageAt(const FeedPoint& solution, const NecSegmentRef& segment) {
    for (const NecSource& source : solution.sources) {
        if (source.tag == segment.tag) {
            return source.voltage;
        }
    }
    throw TwoPortShortfall("nec2c listed no source on wire " + std::to_string(segment.tag));
}

} // namespace

std::vector<TwoPortPoint> solveTwoPort(const AntennaModel& model,
                                       const std::vector<double>& freqsMHz, NecEngine& engine) {
    const NecGeometry geometry = buildGeometry(model);
    std::ostringstream deck;
    writeTwoPortDeck(deck, model, freqsMHz);
    const std::vector<FeedPoint> solved = engine.solve(deck.str());
    if (solved.size() != 2 * freqsMHz.size()) {
        throw TwoPortShortfall("nec2c solved " + std::to_string(solved.size()) + " of the " +
                               std::to_string(2 * freqsMHz.size()) + " two-port solutions");
    }
    std::vector<TwoPortPoint> points;
    for (std::size_t i = 0; i < freqsMHz.size(); ++i) {
        // Currents = Y voltages for both solutions side by side: Y = I V^-1,
        // which counts the picovolt of the port that was not driven.
        Eigen::Matrix2cd v;
        Eigen::Matrix2cd current;
        for (int k = 0; k < 2; ++k) {
            const FeedPoint& solution = solved[2 * i + static_cast<std::size_t>(k)];
            v(0, k) = voltageAt(solution, geometry.feed);
            current(0, k) = currentAt(solution, geometry.feed);
            v(1, k) =
                (voltageAt(solution, geometry.coils[0]) + voltageAt(solution, geometry.coils[1])) /
                2.0;
            current(1, k) =
                (currentAt(solution, geometry.coils[0]) + currentAt(solution, geometry.coils[1])) /
                2.0;
        }
        if (!(std::abs(v.determinant()) > 0)) {
            throw TwoPortShortfall("nec2c listed the same voltages for both solutions");
        }
        const Eigen::Matrix2cd y = current * v.inverse();
        TwoPortPoint point;
        point.freqMHz = freqsMHz[i];
        point.y11 = y(0, 0);
        point.y12 = y(0, 1);
        point.y21 = y(1, 0);
        point.y22 = y(1, 1);
        points.push_back(point);
    }
    return points;
}

std::complex<double> loadedImpedance(const TwoPortPoint& port, std::complex<double> coilOhm) {
    return (1.0 + port.y22 * coilOhm) /
           (port.y11 + (port.y11 * port.y22 - port.y12 * port.y21) * coilOhm);
}

std::complex<double> coilImpedance(double coilUH, double lossOhm, double freqMHz) {
    return {lossOhm, 2 * std::numbers::pi * freqMHz * coilUH}; // MHz times uH is ohms
}

std::vector<double> chebyshevFrequencies(double centre, double half, int count) {
    std::vector<double> points;
    for (int k = count; k >= 1; --k) {
        const double x = std::cos((2 * k - 1) * std::numbers::pi / (2 * count));
        points.push_back(2 * k - 1 == count ? centre : centre + half * x);
    }
    return points;
}

std::optional<RationalModel> RationalModel::through(const std::vector<double>& freqsMHz,
                                                    const std::vector<std::complex<double>>& values,
                                                    double lowMHz, double highMHz) {
    const std::size_t n = freqsMHz.size();
    if (n % 2 == 0 || values.size() != n) {
        return std::nullopt;
    }
    const std::size_t degree = (n - 1) / 2;
    RationalModel model;
    model.m_centreMHz = (lowMHz + highMHz) / 2;
    model.m_halfSpanMHz = (highMHz - lowMHz) / 2;
    // P(x) - Z Q1(x) = Z, Q1 = Q - 1: one row per point, solved by LU with
    // partial pivoting. A system singular to working precision (a point given
    // twice, say) determines no model: Eigen's elimination need not leave an
    // exact zero pivot there, so its condition estimate tells.
    const auto size = static_cast<Eigen::Index>(n);
    Eigen::MatrixXcd a = Eigen::MatrixXcd::Zero(size, size);
    const Eigen::VectorXcd b = Eigen::Map<const Eigen::VectorXcd>(values.data(), size);
    for (Eigen::Index row = 0; row < size; ++row) {
        const double x = (freqsMHz[std::size_t(row)] - model.m_centreMHz) / model.m_halfSpanMHz;
        double power = 1;
        for (Eigen::Index k = 0; k <= Eigen::Index(degree); ++k) {
            a(row, k) = power;
            if (k > 0) {
                a(row, Eigen::Index(degree) + k) = -b(row) * power;
            }
            power *= x;
        }
    }
    const Eigen::PartialPivLU<Eigen::MatrixXcd> lu(a);
    if (!(lu.rcond() > std::numeric_limits<double>::epsilon())) {
        return std::nullopt;
    }
    const Eigen::VectorXcd solution = lu.solve(b);
    if (!solution.allFinite()) {
        return std::nullopt;
    }
    model.m_numerator.assign(solution.begin(), solution.begin() + Eigen::Index(degree + 1));
    model.m_denominator.assign(solution.begin() + Eigen::Index(degree + 1), solution.end());
    return model;
}

std::complex<double> RationalModel::operator()(double freqMHz) const {
    const double x = (freqMHz - m_centreMHz) / m_halfSpanMHz;
    std::complex<double> p = 0;
    for (std::size_t k = m_numerator.size(); k-- > 0;) {
        p = p * x + m_numerator[k];
    }
    std::complex<double> q = 0;
    for (std::size_t k = m_denominator.size(); k-- > 0;) {
        q = (q + m_denominator[k]) * x;
    }
    return p / (1.0 + q);
}

} // namespace tarvix
