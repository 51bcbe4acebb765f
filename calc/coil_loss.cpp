// Medhurst's proximity factor by interpolation in his table, and the round
// wire's internal impedance.
#include "calc/coil_loss.h"

#include "calc/physical_constants.h"
#include "calc/units.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace tarvix {

namespace {

constexpr double kPi = std::numbers::pi;

// Medhurst (1947), Phi by l/D (rows; the last, infinitely long) and d/p (columns
// 1, 0.9, ..., 0.1, 0, i.e. p/d = 1, 1.111, 1.25, 1.429, 1.667, 2, 2.5, 3.333, 5,
// 10 and infinite), as shared/reference/coil-loss-and-capacitance.md gives it.
constexpr std::array<double, 11> kPhiRowLengthToDiameter{0, 0.2, 0.4, 0.6, 0.8, 1, 2, 4, 6, 8, 10};
constexpr int kPhiColumns = 11;
constexpr std::array<std::array<double, kPhiColumns>, 12> kPhi{{
    {5.31, 3.73, 2.74, 2.12, 1.74, 1.44, 1.20, 1.16, 1.07, 1.02, 1.00},
    {5.45, 3.84, 2.83, 2.20, 1.77, 1.48, 1.29, 1.19, 1.08, 1.02, 1.00},
    {5.65, 3.99, 2.97, 2.28, 1.83, 1.54, 1.33, 1.21, 1.08, 1.03, 1.00},
    {5.80, 4.11, 3.10, 2.38, 1.89, 1.60, 1.38, 1.22, 1.10, 1.03, 1.00},
    {5.80, 4.17, 3.20, 2.44, 1.92, 1.64, 1.42, 1.23, 1.10, 1.03, 1.00},
    {5.55, 4.10, 3.17, 2.47, 1.94, 1.67, 1.45, 1.24, 1.10, 1.03, 1.00},
    {4.10, 3.36, 2.74, 2.32, 1.98, 1.74, 1.50, 1.28, 1.13, 1.04, 1.00},
    {3.54, 3.05, 2.60, 2.27, 2.01, 1.78, 1.54, 1.32, 1.15, 1.04, 1.00},
    {3.31, 2.92, 2.60, 2.29, 2.03, 1.80, 1.56, 1.34, 1.16, 1.04, 1.00},
    {3.20, 2.90, 2.62, 2.34, 2.08, 1.81, 1.57, 1.34, 1.165, 1.04, 1.00},
    {3.23, 2.93, 2.65, 2.27, 2.10, 1.83, 1.58, 1.35, 1.17, 1.04, 1.00},
    {3.41, 3.11, 2.815, 2.51, 2.22, 1.93, 1.65, 1.395, 1.19, 1.05, 1.00},
}};

// Phi along one row, linear in d/p between the evenly spaced columns.
double phiInRow(int row, double wireDiaToPitch) {
    const double position = (1 - wireDiaToPitch) * (kPhiColumns - 1);
    const int left = std::min(int(position), kPhiColumns - 2);
    const double fraction = position - left;
    return kPhi[row][left] + fraction * (kPhi[row][left + 1] - kPhi[row][left]);
}

// J1(z) / J0(z) by backward recurrence of r_n = J_n / J_(n-1) = 1 / (2n / z - r_(n+1))
// (the continued fraction of the Bessel ratio; J_n is the recurrence's minimal
// solution, so it converges for every z). Started at zero well past |z|, where the
// neglected r is about z / (2n) and shrinks with each step down faster than
// (e |z| / 2n)^2: from 1.5 |z| + 30 it is gone to the last digit.
std::complex<double> besselRatioJ1J0(std::complex<double> z) {
    const int start = int(1.5 * std::abs(z)) + 30;
    std::complex<double> ratio = 0;
    for (int n = start; n >= 1; --n) {
        ratio = 1.0 / (2.0 * n / z - ratio);
    }
    return ratio;
}

} // namespace

double medhurstProximityFactor(double lengthToDiameter, double pitchToWireDia) {
    const double wireDiaToPitch = std::clamp(1 / pitchToWireDia, 0.0, 1.0);
    const double x = std::max(lengthToDiameter, 0.0);
    const auto& rows = kPhiRowLengthToDiameter;
    const int lastFinite = int(rows.size()) - 1;
    if (x >= rows[lastFinite]) {
        // Toward the infinitely long coil, linear in D/l from the row of l/D = 10.
        const double fraction = 1 - rows[lastFinite] / x;
        const double atLast = phiInRow(lastFinite, wireDiaToPitch);
        return atLast + fraction * (phiInRow(lastFinite + 1, wireDiaToPitch) - atLast);
    }
    const int below = int(std::upper_bound(rows.begin(), rows.end(), x) - rows.begin()) - 1;
    const double fraction = (x - rows[below]) / (rows[below + 1] - rows[below]);
    const double atBelow = phiInRow(below, wireDiaToPitch);
    return atBelow + fraction * (phiInRow(below + 1, wireDiaToPitch) - atBelow);
}

std::complex<double> roundWireImpedanceOhm(double wireDiaIn, double lengthIn, double freqMHz) {
    const double radiusM = 0.5 * wireDiaIn * kMetresPerInch;
    const double omega = 2 * kPi * freqMHz * 1e6;
    const double skinDepthM = std::sqrt(2 / (omega * kMu0HPerM * kCopperSPerM));
    // k^2 = -j omega mu0 sigma, for fields varying as e^(j omega t).
    const std::complex<double> k = std::complex<double>(1, -1) / skinDepthM;
    const std::complex<double> perMetre =
        k / (2 * kPi * radiusM * kCopperSPerM) / besselRatioJ1J0(k * radiusM);
    return perMetre * (lengthIn * kMetresPerInch);
}

std::complex<double> coilWireImpedanceOhm(const CoilWinding& coil, double freqMHz) {
    const double meanDiaIn = coil.formerDiaIn + coil.wireDiaIn;
    const double phi = medhurstProximityFactor(coil.turns * coil.pitchIn / meanDiaIn,
                                               coil.pitchIn / coil.wireDiaIn);
    return phi * roundWireImpedanceOhm(coil.wireDiaIn, windingWireLengthIn(coil), freqMHz);
}

} // namespace tarvix
