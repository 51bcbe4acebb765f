// The two-port solved by nec2c, its algebra, and the rational model between
// its frequencies.
#include "nec/two_port.h"

#include <cmath>
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

// Solves a x = b in place by Gaussian elimination with partial pivoting;
// false when the matrix is singular.
bool solveLinear(std::vector<std::vector<std::complex<double>>>& a,
                 std::vector<std::complex<double>>& b) {
    const std::size_t n = b.size();
    for (std::size_t column = 0; column < n; ++column) {
        std::size_t pivot = column;
        for (std::size_t row = column + 1; row < n; ++row) {
            if (std::abs(a[row][column]) > std::abs(a[pivot][column])) {
                pivot = row;
            }
        }
        if (!(std::abs(a[pivot][column]) > 0)) {
            return false;
        }
        std::swap(a[pivot], a[column]);
        std::swap(b[pivot], b[column]);
        for (std::size_t row = column + 1; row < n; ++row) {
            const std::complex<double> factor = a[row][column] / a[column][column];
            for (std::size_t k = column; k < n; ++k) {
                a[row][k] -= factor * a[column][k];
            }
            b[row] -= factor * b[column];
        }
    }
    for (std::size_t row = n; row-- > 0;) {
        for (std::size_t k = row + 1; k < n; ++k) {
            b[row] -= a[row][k] * b[k];
        }
        b[row] /= a[row][row];
    }
    for (const std::complex<double>& value : b) {
        if (!std::isfinite(value.real()) || !std::isfinite(value.imag())) {
            return false;
        }
    }
    return true;
}

} // namespace

std::vector<TwoPortPoint> solveTwoPort(const AntennaModel& model,
                                       const std::vector<double>& freqsMHz, Nec2c& engine) {
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
        std::complex<double> v[2][2];
        std::complex<double> current[2][2];
        for (int k = 0; k < 2; ++k) {
            const FeedPoint& solution = solved[2 * i + static_cast<std::size_t>(k)];
            v[0][k] = voltageAt(solution, geometry.feed);
            current[0][k] = currentAt(solution, geometry.feed);
            v[1][k] =
                (voltageAt(solution, geometry.coils[0]) + voltageAt(solution, geometry.coils[1])) /
                2.0;
            current[1][k] =
                (currentAt(solution, geometry.coils[0]) + currentAt(solution, geometry.coils[1])) /
                2.0;
        }
        const std::complex<double> det = v[0][0] * v[1][1] - v[0][1] * v[1][0];
        if (!(std::abs(det) > 0)) {
            throw TwoPortShortfall("nec2c listed the same voltages for both solutions");
        }
        const std::complex<double> inverse[2][2] = {{v[1][1] / det, -v[0][1] / det},
                                                    {-v[1][0] / det, v[0][0] / det}};
        TwoPortPoint point;
        point.freqMHz = freqsMHz[i];
        point.y11 = current[0][0] * inverse[0][0] + current[0][1] * inverse[1][0];
        point.y12 = current[0][0] * inverse[0][1] + current[0][1] * inverse[1][1];
        point.y21 = current[1][0] * inverse[0][0] + current[1][1] * inverse[1][0];
        point.y22 = current[1][0] * inverse[0][1] + current[1][1] * inverse[1][1];
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
    // P(x) - Z Q1(x) = Z, Q1 = Q - 1: one row per point.
    std::vector<std::vector<std::complex<double>>> a(n, std::vector<std::complex<double>>(n));
    std::vector<std::complex<double>> b(values);
    for (std::size_t row = 0; row < n; ++row) {
        const double x = (freqsMHz[row] - model.m_centreMHz) / model.m_halfSpanMHz;
        double power = 1;
        for (std::size_t k = 0; k <= degree; ++k) {
            a[row][k] = power;
            if (k > 0) {
                a[row][degree + k] = -values[row] * power;
            }
            power *= x;
        }
    }
    if (!solveLinear(a, b)) {
        return std::nullopt;
    }
    model.m_numerator.assign(b.begin(), b.begin() + static_cast<std::ptrdiff_t>(degree + 1));
    model.m_denominator.assign(b.begin() + static_cast<std::ptrdiff_t>(degree + 1), b.end());
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
