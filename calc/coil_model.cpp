// The coil models: closed forms at low frequency, the band field solution at the
// working frequency, and the search for a winding of a wanted inductance.
#include "calc/coil_model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace tarvix {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kMu0HPerM = 4e-7 * kPi;
constexpr double kCopperSPerM = 5.8e7;
constexpr double kMPerIn = 0.0254;
constexpr double kMaxTurns = 10000;

// ln(g / s) of two coplanar strips of equal width s at centre distance m s, g
// their geometric mean distance (Maxwell 1873): exact below 8, its series beyond,
// where the exact form loses its digits to cancellation.
double stripLogRatio(int m) {
    if (m < 8) {
        const auto xLnX = [](double x) { return x > 0 ? x * x * std::log(x) : 0.0; };
        return 0.5 * (xLnX(m + 1.0) + xLnX(m - 1.0) - 2 * xLnX(m)) - 1.5 - std::log(m);
    }
    double sum = 0;
    const double inverseSquare = 1.0 / (double(m) * m);
    double power = inverseSquare;
    for (int k = 2; k <= 7; ++k, power *= inverseSquare) {
        sum -= power / (k * (2.0 * k - 1) * (2.0 * k - 2));
    }
    return sum;
}

double rosaMutualTermWhole(int turns) {
    double sum = 0;
    for (int m = 1; m < turns; ++m) {
        sum += (turns - m) * stripLogRatio(m);
    }
    return -2.0 / turns * sum;
}

// Maxwell (1873), the mutual inductance of two coaxial circular filaments of radii
// rho1, rho2 at axial distance dz; exact. The complete elliptic integrals come
// from the arithmetic-geometric mean, arranged so that neither nearly touching nor
// distant rings lose digits: M = mu0 sqrt(rho1 rho2) (2 K / k) sum_{n>=1} 2^(n-1) c_n^2.
double ringMutualH(double rho1, double rho2, double dz) {
    const double outer = (rho1 + rho2) * (rho1 + rho2) + dz * dz;
    const double k2 = 4 * rho1 * rho2 / outer;
    const double kp = std::sqrt(((rho1 - rho2) * (rho1 - rho2) + dz * dz) / outer);
    double a = 1;
    double b = kp;
    double c = k2 / (2 * (1 + kp));
    double tail = 0;
    double weight = 1;
    for (int n = 0; n < 40; ++n) {
        const double term = weight * c * c;
        tail += term;
        const double nextA = 0.5 * (a + b);
        b = std::sqrt(a * b);
        a = nextA;
        // c_{n+1} = (a_n - b_n) / 2 = c_n^2 / (4 a_{n+1}), free of cancellation.
        c = c * c / (2 * (a + b));
        weight *= 2;
        if (term < 1e-17 * tail) {
            break;
        }
    }
    const double ellipticK = kPi / (2 * a);
    return kMu0HPerM * std::sqrt(rho1 * rho2) * 2 * ellipticK / std::sqrt(k2) * tail;
}

constexpr std::array<double, 8> kGaussNodes{
    -0.9602898564975363, -0.7966664774136267, -0.5255324099163290, -0.1834346424956498,
    0.1834346424956498,  0.5255324099163290,  0.7966664774136267,  0.9602898564975363};
constexpr std::array<double, 8> kGaussWeights{
    0.1012285362903763, 0.2223810344533745, 0.3137066458778873, 0.3626837833783620,
    0.3626837833783620, 0.3137066458778873, 0.2223810344533745, 0.1012285362903763};

// The bands of one ring's surface: band b is centred at the angle 2 pi (b + 1/2) / M
// from the outward radial direction, so that z -> -z maps band b onto M - 1 - b.
struct Bands {
    int count;
    double wireRadiusM;
    double widthM;
    std::vector<double> angle, rhoM, zM;
};

Bands makeBands(double ringRadiusM, double wireRadiusM, int count) {
    Bands bands{count, wireRadiusM, 2 * kPi * wireRadiusM / count, {}, {}, {}};
    for (int b = 0; b < count; ++b) {
        const double angle = 2 * kPi * (b + 0.5) / count;
        bands.angle.push_back(angle);
        bands.rhoM.push_back(ringRadiusM + wireRadiusM * std::cos(angle));
        bands.zM.push_back(wireRadiusM * std::sin(angle));
    }
    return bands;
}

// The mean of ln(distance) between two arcs of the wire's cross-section (the
// second on a ring dzRingM further along), by Gauss quadrature over both.
double meanLogDistance(const Bands& bands, int i, int j, double dzRingM) {
    const double halfAngle = kPi / bands.count;
    double sum = 0;
    for (std::size_t u = 0; u < kGaussNodes.size(); ++u) {
        const double angleI = bands.angle[i] + halfAngle * kGaussNodes[u];
        const double xI = bands.wireRadiusM * std::cos(angleI);
        const double zI = bands.wireRadiusM * std::sin(angleI);
        for (std::size_t v = 0; v < kGaussNodes.size(); ++v) {
            const double angleJ = bands.angle[j] + halfAngle * kGaussNodes[v];
            const double dx = bands.wireRadiusM * std::cos(angleJ) - xI;
            const double dz = dzRingM + bands.wireRadiusM * std::sin(angleJ) - zI;
            sum += kGaussWeights[u] * kGaussWeights[v] * 0.5 * std::log(dx * dx + dz * dz);
        }
    }
    return sum / 4;
}

// The mutual inductance of band i of a ring and band j of the ring `offset`
// pitches further along. Bands are thin rings; where two are close enough for
// their width to matter, the filament's ln(distance) is replaced by the bands'
// mean (a Galerkin term), and a band's own term is a thin ring with the geometric
// mean radius of a flat strip, e^(-3/2) w = 0.2231 w (Maxwell).
double bandMutualH(const Bands& bands, int i, int j, int offset, double pitchM) {
    const double rhoI = bands.rhoM[i];
    const double rhoJ = bands.rhoM[j];
    if (offset == 0 && i == j) {
        const double gmrM = std::exp(-1.5) * bands.widthM;
        return kMu0HPerM * rhoI * (std::log(8 * rhoI / gmrM) - 2);
    }
    const double dzRingM = offset * pitchM;
    const double dz = dzRingM + bands.zM[j] - bands.zM[i];
    const double dRho = rhoJ - rhoI;
    const double distanceM = std::sqrt(dz * dz + dRho * dRho);
    double mutualH = ringMutualH(rhoI, rhoJ, dz);
    if (distanceM < 3 * bands.widthM) {
        mutualH += kMu0HPerM * std::sqrt(rhoI * rhoJ) *
                   (std::log(distanceM) - meanLogDistance(bands, i, j, dzRingM));
    }
    return mutualH;
}

// A square block of the band system, row-major.
struct Block {
    int size = 0;
    std::vector<double> value;
    explicit Block(int n = 0) : size(n), value(std::size_t(n) * n, 0.0) {}
    double& at(int row, int col) { return value[std::size_t(row) * size + col]; }
    double at(int row, int col) const { return value[std::size_t(row) * size + col]; }
};

// target -= left * right
void subtractProduct(Block& target, const Block& left, const Block& right) {
    const int n = target.size;
    for (int r = 0; r < n; ++r) {
        double* out = &target.value[std::size_t(r) * n];
        for (int k = 0; k < n; ++k) {
            const double factor = left.value[std::size_t(r) * n + k];
            if (factor == 0) {
                continue;
            }
            const double* in = &right.value[std::size_t(k) * n];
            for (int c = 0; c < n; ++c) {
                out[c] -= factor * in[c];
            }
        }
    }
}

Block product(const Block& left, const Block& right) {
    Block negated(left.size);
    subtractProduct(negated, left, right);
    for (double& v : negated.value) {
        v = -v;
    }
    return negated;
}

// Gauss-Jordan with partial pivoting. The diagonal blocks of the band system are
// regular: a band's self term dominates its row.
Block inverse(Block block) {
    const int n = block.size;
    Block result(n);
    for (int i = 0; i < n; ++i) {
        result.at(i, i) = 1;
    }
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int r = col + 1; r < n; ++r) {
            if (std::abs(block.at(r, col)) > std::abs(block.at(pivot, col))) {
                pivot = r;
            }
        }
        if (pivot != col) {
            for (int c = 0; c < n; ++c) {
                std::swap(block.at(col, c), block.at(pivot, c));
                std::swap(result.at(col, c), result.at(pivot, c));
            }
        }
        const double scale = 1 / block.at(col, col);
        for (int c = 0; c < n; ++c) {
            block.at(col, c) *= scale;
            result.at(col, c) *= scale;
        }
        for (int r = 0; r < n; ++r) {
            const double factor = block.at(r, col);
            if (r == col || factor == 0) {
                continue;
            }
            for (int c = 0; c < n; ++c) {
                block.at(r, c) -= factor * block.at(col, c);
                result.at(r, c) -= factor * result.at(col, c);
            }
        }
    }
    return result;
}

void subtractProduct(std::vector<double>& target, const Block& left,
                     const std::vector<double>& right) {
    for (int r = 0; r < left.size; ++r) {
        double sum = 0;
        for (int c = 0; c < left.size; ++c) {
            sum += left.at(r, c) * right[c];
        }
        target[r] -= sum;
    }
}

double surfaceResistanceOhm(double freqMHz) {
    return std::sqrt(kPi * freqMHz * 1e6 * kMu0HPerM / kCopperSPerM);
}

// The ratios of the field solution that carry over to a fractional number of
// turns: to the low-frequency inductance, and to an isolated wire's loss.
struct FieldRatios {
    double inductance;
    double proximity;
};

double isolatedWireLossOhm(const CoilWinding& coil, double turns, double freqMHz) {
    return surfaceResistanceOhm(freqMHz) * turns * (coil.formerDiaIn + coil.wireDiaIn) /
           coil.wireDiaIn;
}

FieldRatios fieldRatios(const CoilWinding& coil, int turns, double freqMHz) {
    CoilWinding whole = coil;
    whole.turns = turns;
    const CoilAtFrequency atF =
        coilFieldSolution(whole, freqMHz, kCoilBandsPerTurn, kCoilWindowTurns);
    return {atF.inductanceUH / lowFrequencyInductanceUH(whole),
            atF.resistanceOhm / isolatedWireLossOhm(coil, turns, freqMHz)};
}

double inductanceAtUH(const CoilWinding& coil, double freqMHz) {
    return coilAtFrequency(coil, freqMHz).inductanceUH;
}

} // namespace

double enamelledDiameterIn(double bareDiaIn) {
    const double bareMm = bareDiaIn * 25.4;
    return bareDiaIn + 0.045 * std::sqrt(std::max(bareMm, 0.0)) / 25.4;
}

double nagaokaCoefficient(double diameterToLength) {
    const double k2 =
        diameterToLength * diameterToLength / (1 + diameterToLength * diameterToLength);
    const double k = std::sqrt(k2);
    const double kp = 1 / std::sqrt(1 + diameterToLength * diameterToLength);
    const double ellipticK = std::comp_ellint_1(k);
    const double ellipticE = std::comp_ellint_2(k);
    return 4 / (3 * kPi * kp) * (kp * kp / k2 * (ellipticK - ellipticE) + ellipticE - k);
}

double rosaSelfTerm(double pitchToWireDia, bool thinSkin) {
    return (thinSkin ? 1.5 : 1.25) - std::log(2 * pitchToWireDia);
}

double rosaMutualTerm(double turns) {
    if (!(turns > 1)) {
        return 0;
    }
    const double below = std::floor(turns);
    const double fraction = turns - below;
    const double atBelow = rosaMutualTermWhole(int(below));
    if (fraction == 0) {
        return atBelow;
    }
    return atBelow + fraction * (rosaMutualTermWhole(int(below) + 1) - atBelow);
}

double lowFrequencyInductanceUH(const CoilWinding& coil) {
    const double radiusM = 0.5 * (coil.formerDiaIn + coil.wireDiaIn) * kMPerIn;
    const double lengthM = coil.turns * coil.pitchIn * kMPerIn;
    const double sheetH = kMu0HPerM * kPi * radiusM * radiusM * coil.turns * coil.turns *
                          nagaokaCoefficient(2 * radiusM / lengthM) / lengthM;
    const double roundWireH =
        kMu0HPerM * radiusM * coil.turns *
        (rosaSelfTerm(coil.pitchIn / coil.wireDiaIn, false) + rosaMutualTerm(coil.turns));
    return (sheetH - roundWireH) * 1e6;
}

RingRowSolution solveRingRow(double ringRadiusM, double wireRadiusM, double pitchM,
                             const std::vector<double>& turnCurrents, int bandsPerTurn,
                             int windowTurns) {
    const int rings = int(turnCurrents.size());
    const int m = bandsPerTurn;
    const int window = std::clamp(windowTurns, 1, std::max(rings - 1, 1));
    const Bands bands = makeBands(ringRadiusM, wireRadiusM, m);

    // offsetBlock[o](i, j): band i of a ring and band j of the ring o further on.
    // Mirror symmetry gives offsetBlock[o](i, j) = offsetBlock[o](j', i'), j' the
    // mirror band, so half of each block is computed.
    std::vector<Block> offsetBlock;
    offsetBlock.reserve(rings);
    for (int o = 0; o < rings; ++o) {
        Block block(m);
        for (int i = 0; i < m; ++i) {
            for (int j = 0; j < m; ++j) {
                const int mirrorI = m - 1 - i;
                const int mirrorJ = m - 1 - j;
                if (i * m + j > mirrorJ * m + mirrorI) {
                    continue;
                }
                const double value = bandMutualH(bands, i, j, o, pitchM);
                block.at(i, j) = value;
                block.at(mirrorJ, mirrorI) = value;
            }
        }
        offsetBlock.push_back(std::move(block));
    }
    // farSum[o] = sum of offsetBlock[window + 1 .. o], for the turns beyond the window.
    std::vector<Block> farSum(rings, Block(m));
    for (int o = window + 1; o < rings; ++o) {
        farSum[o] = farSum[o - 1];
        for (std::size_t e = 0; e < farSum[o].value.size(); ++e) {
            farSum[o].value[e] += offsetBlock[o].value[e];
        }
    }

    // The system per ring: its band currents and its flux psi; rows are the
    // bands' flux balance (sum_j M_ij I_j - psi = 0) and the ring's current.
    const int size = m + 1;
    const int width = 2 * window + 1;
    std::vector<Block> system(std::size_t(rings) * width, Block(size));
    const auto blockAt = [&](int row, int col) -> Block& {
        return system[std::size_t(row) * width + (col - row + window)];
    };
    for (int row = 0; row < rings; ++row) {
        const int first = std::max(0, row - window);
        const int last = std::min(rings - 1, row + window);
        for (int col = first; col <= last; ++col) {
            Block& block = blockAt(row, col);
            const int offset = col - row;
            const Block& coupling = offsetBlock[std::abs(offset)];
            for (int i = 0; i < m; ++i) {
                for (int j = 0; j < m; ++j) {
                    block.at(i, j) = offset >= 0 ? coupling.at(i, j) : coupling.at(j, i);
                }
            }
            if (offset == window && rings - 1 - row > window) {
                const Block& far = farSum[rings - 1 - row];
                for (int i = 0; i < m; ++i) {
                    for (int j = 0; j < m; ++j) {
                        block.at(i, j) += far.at(i, j);
                    }
                }
            }
            if (offset == -window && row > window) {
                const Block& far = farSum[row];
                for (int i = 0; i < m; ++i) {
                    for (int j = 0; j < m; ++j) {
                        block.at(i, j) += far.at(j, i);
                    }
                }
            }
            if (offset == 0) {
                for (int i = 0; i < m; ++i) {
                    block.at(i, m) = -1;
                    block.at(m, i) = 1;
                }
            }
        }
    }
    std::vector<std::vector<double>> rhs(rings, std::vector<double>(size, 0.0));
    for (int row = 0; row < rings; ++row) {
        rhs[row][m] = turnCurrents[row];
    }

    // Block LU within the band of the window, eliminating ring by ring; a ring's
    // bands come before its flux, so no pivot is the flux row's zero.
    std::vector<Block> diagonalInverse(rings);
    for (int k = 0; k < rings; ++k) {
        diagonalInverse[k] = inverse(blockAt(k, k));
        const int last = std::min(rings - 1, k + window);
        for (int i = k + 1; i <= last; ++i) {
            const Block factor = product(blockAt(i, k), diagonalInverse[k]);
            for (int j = k + 1; j <= last; ++j) {
                subtractProduct(blockAt(i, j), factor, blockAt(k, j));
            }
            subtractProduct(rhs[i], factor, rhs[k]);
        }
    }
    std::vector<std::vector<double>> solution(rings);
    for (int k = rings - 1; k >= 0; --k) {
        std::vector<double> reduced = rhs[k];
        const int last = std::min(rings - 1, k + window);
        for (int j = k + 1; j <= last; ++j) {
            subtractProduct(reduced, blockAt(k, j), solution[j]);
        }
        solution[k].assign(size, 0.0);
        subtractProduct(solution[k], diagonalInverse[k], reduced);
        for (double& v : solution[k]) {
            v = -v;
        }
    }

    RingRowSolution result;
    for (int k = 0; k < rings; ++k) {
        result.inductanceH += turnCurrents[k] * solution[k][m];
        for (int b = 0; b < m; ++b) {
            const double bandA = solution[k][b];
            result.bandA.push_back(bandA);
            result.lossPerRsOhm += bandA * bandA * 2 * kPi * bands.rhoM[b] / bands.widthM;
        }
    }
    // Normalised to a unit current in the largest ring, as a series coil's.
    double largest = 0;
    for (double current : turnCurrents) {
        largest = std::max(largest, std::abs(current));
    }
    result.inductanceH /= largest * largest;
    result.lossPerRsOhm /= largest * largest;
    return result;
}

CoilAtFrequency coilFieldSolution(const CoilWinding& coil, double freqMHz, int bandsPerTurn) {
    return coilFieldSolution(coil, freqMHz, bandsPerTurn, int(std::round(coil.turns)));
}

CoilAtFrequency coilFieldSolution(const CoilWinding& coil, double freqMHz, int bandsPerTurn,
                                  int windowTurns) {
    const int turns = std::max(1, int(std::round(coil.turns)));
    const RingRowSolution row = solveRingRow(
        0.5 * (coil.formerDiaIn + coil.wireDiaIn) * kMPerIn, 0.5 * coil.wireDiaIn * kMPerIn,
        coil.pitchIn * kMPerIn, std::vector<double>(turns, 1.0), bandsPerTurn, windowTurns);
    const double omega = 2 * kPi * freqMHz * 1e6;
    CoilAtFrequency result;
    result.resistanceOhm = surfaceResistanceOhm(freqMHz) * row.lossPerRsOhm;
    result.inductanceUH = (row.inductanceH + result.resistanceOhm / omega) * 1e6;
    result.q = omega * result.inductanceUH * 1e-6 / result.resistanceOhm;
    return result;
}

CoilAtFrequency coilAtFrequency(const CoilWinding& coil, double freqMHz) {
    const double turns = std::max(coil.turns, 1.0);
    const int below = int(std::floor(turns));
    const double fraction = turns - below;
    FieldRatios ratios = fieldRatios(coil, below, freqMHz);
    if (fraction > 0) {
        const FieldRatios above = fieldRatios(coil, below + 1, freqMHz);
        ratios.inductance += fraction * (above.inductance - ratios.inductance);
        ratios.proximity += fraction * (above.proximity - ratios.proximity);
    }
    const double omega = 2 * kPi * freqMHz * 1e6;
    CoilAtFrequency result;
    result.inductanceUH = ratios.inductance * lowFrequencyInductanceUH(coil);
    result.resistanceOhm = ratios.proximity * isolatedWireLossOhm(coil, coil.turns, freqMHz);
    result.q = omega * result.inductanceUH * 1e-6 / result.resistanceOhm;
    return result;
}

double selfCapacitancePF(const CoilWinding& coil) {
    const double diameterIn = coil.formerDiaIn + coil.wireDiaIn;
    const double lengthToDiameter = coil.turns * coil.pitchIn / diameterIn;
    const double medhurstH = 0.1126 * lengthToDiameter + 0.08 + 0.27 / std::sqrt(lengthToDiameter);
    return medhurstH * diameterIn * 2.54;
}

double selfResonanceMHz(const CoilWinding& coil) {
    const double inductanceH = lowFrequencyInductanceUH(coil) * 1e-6;
    const double capacitanceF = selfCapacitancePF(coil) * 1e-12;
    return 1 / (2 * kPi * std::sqrt(inductanceH * capacitanceF)) * 1e-6;
}

double windingWireLengthIn(const CoilWinding& coil) {
    const double turnCircumferenceIn = kPi * (coil.formerDiaIn + coil.wireDiaIn);
    return coil.turns * std::hypot(turnCircumferenceIn, coil.pitchIn);
}

std::optional<CoilWinding> windingForInductance(double targetUH, double freqMHz, double formerDiaIn,
                                                double wireDiaIn, std::optional<double> pitchIn) {
    const auto positive = [](double v) { return std::isfinite(v) && v > 0; };
    if (!positive(targetUH) || !positive(freqMHz) || !positive(formerDiaIn) ||
        !positive(wireDiaIn)) {
        return std::nullopt;
    }
    const double closePitchIn = enamelledDiameterIn(wireDiaIn);
    if (pitchIn && !(std::isfinite(*pitchIn) && *pitchIn >= closePitchIn)) {
        return std::nullopt;
    }
    CoilWinding coil{0, pitchIn.value_or(closePitchIn), formerDiaIn, wireDiaIn};
    const auto withTurns = [&](double turns) {
        CoilWinding c = coil;
        c.turns = turns;
        return c;
    };
    // The turns on a grid: whole turns, or tenths when the pitch is given.
    const int perTurn = pitchIn ? 10 : 1;
    const auto turnsOf = [&](int steps) { return double(steps) / perTurn; };
    const int maxSteps = int(kMaxTurns) * perTurn;
    // The inductance at F rises with the turns; the low-frequency one is a little
    // higher and cheap, so the fewest steps reaching it at low frequency start the
    // search at F from below.
    int low = perTurn; // one turn
    int high = perTurn;
    while (lowFrequencyInductanceUH(withTurns(turnsOf(high))) < targetUH) {
        if (high >= maxSteps) {
            return std::nullopt;
        }
        low = high;
        high = std::min(2 * high, maxSteps);
    }
    while (high - low > 1) {
        const int mid = low + (high - low) / 2;
        (lowFrequencyInductanceUH(withTurns(turnsOf(mid))) >= targetUH ? high : low) = mid;
    }
    int steps = high;
    double atF = inductanceAtUH(withTurns(turnsOf(steps)), freqMHz);
    // Should the inductance at F exceed the low-frequency one, walk down as well.
    while (steps > perTurn && atF >= targetUH) {
        const double fewerUH = inductanceAtUH(withTurns(turnsOf(steps - 1)), freqMHz);
        if (fewerUH < targetUH) {
            break;
        }
        --steps;
        atF = fewerUH;
    }
    while (atF < targetUH) {
        if (++steps > maxSteps) {
            return std::nullopt;
        }
        atF = inductanceAtUH(withTurns(turnsOf(steps)), freqMHz);
    }
    double turns = turnsOf(steps);
    if (pitchIn) {
        // steps reach the target and one step fewer does not: the nearer wins.
        if (steps > perTurn &&
            targetUH - inductanceAtUH(withTurns(turnsOf(steps - 1)), freqMHz) < atF - targetUH) {
            turns = turnsOf(steps - 1);
        }
        return withTurns(turns);
    }
    coil.turns = turns;
    // Spread: the inductance falls as the pitch grows. Bisection on ln(pitch) to a
    // bracket, then secant steps in ln(L) against ln(pitch) kept inside it.
    double nearPitch = closePitchIn;
    double nearUH = atF;
    double farPitch = closePitchIn;
    double farUH = atF;
    while (farUH > targetUH) {
        nearPitch = farPitch;
        nearUH = farUH;
        farPitch *= 1.5;
        coil.pitchIn = farPitch;
        farUH = inductanceAtUH(coil, freqMHz);
    }
    if (nearUH == targetUH) {
        coil.pitchIn = nearPitch;
        return coil;
    }
    for (int iteration = 0; iteration < 60; ++iteration) {
        const double slope =
            (std::log(farUH) - std::log(nearUH)) / (std::log(farPitch) - std::log(nearPitch));
        double guess =
            std::exp(std::log(nearPitch) + (std::log(targetUH) - std::log(nearUH)) / slope);
        if (!(guess > nearPitch && guess < farPitch)) {
            guess = std::sqrt(nearPitch * farPitch);
        }
        coil.pitchIn = guess;
        const double guessUH = inductanceAtUH(coil, freqMHz);
        if (std::abs(guessUH / targetUH - 1) < 1e-6) {
            return coil;
        }
        (guessUH > targetUH ? nearPitch : farPitch) = guess;
        (guessUH > targetUH ? nearUH : farUH) = guessUH;
    }
    return coil;
}

} // namespace tarvix
