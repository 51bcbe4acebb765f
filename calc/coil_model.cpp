// The coil models: closed forms at low frequency, the band field solution at the
// working frequency, and the search for a winding of a wanted inductance.
#include "calc/coil_model.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <numbers>
#include <span>

namespace tarvix {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kMu0HPerM = 4e-7 * kPi;
constexpr double kCopperSPerM = 5.8e7;
constexpr double kMPerIn = 0.0254;
constexpr double kMaxTurns = 10000;
// The harmonics around the wire by which rings beyond the window act.
constexpr int kFarHarmonics = 3;
constexpr int kFarSamples = 8;

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
        double* __restrict out = &target.value[std::size_t(r) * n];
        for (int k = 0; k < n; ++k) {
            const double factor = left.value[std::size_t(r) * n + k];
            if (factor == 0) {
                continue;
            }
            const double* __restrict in = &right.value[std::size_t(k) * n];
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

Block transpose(const Block& block) {
    Block result(block.size);
    for (int r = 0; r < block.size; ++r) {
        for (int c = 0; c < block.size; ++c) {
            result.at(c, r) = block.at(r, c);
        }
    }
    return result;
}

// target -= left * right for vectors of the block's size, left given transposed:
// a sum of its contiguous columns, which the compiler can vectorise.
void subtractTransposedProduct(double* __restrict target, const Block& leftTransposed,
                               const double* __restrict right) {
    const int n = leftTransposed.size;
    for (int c = 0; c < n; ++c) {
        const double factor = right[c];
        const double* __restrict column = &leftTransposed.value[std::size_t(c) * n];
        for (int r = 0; r < n; ++r) {
            target[r] -= column[r] * factor;
        }
    }
}

using Complex = std::complex<double>;

// Radix-2 Cooley-Tukey of one power-of-two length, twiddles and the bit-reversed
// order computed once; the inverse is scaled by 1 / length.
class Fft {
public:
    explicit Fft(std::size_t atLeast) {
        while (m_length < atLeast) {
            m_length *= 2;
        }
        // Stage by stage, the twiddles of a half-length h at [h - 1, 2h - 1).
        for (std::size_t half = 1; half < m_length; half *= 2) {
            for (std::size_t k = 0; k < half; ++k) {
                const double angle = -kPi * double(k) / double(half);
                m_twiddle.emplace_back(std::cos(angle), std::sin(angle));
            }
        }
        m_reversed.resize(m_length);
        for (std::size_t i = 1, j = 0; i < m_length; ++i) {
            std::size_t bit = m_length >> 1;
            for (; j & bit; bit >>= 1) {
                j ^= bit;
            }
            j ^= bit;
            m_reversed[i] = j;
        }
    }
    std::size_t length() const { return m_length; }

    // The inverse as the conjugate of the forward transform of the conjugate.
    void transform(std::vector<Complex>& data, bool inverse) const {
        if (inverse) {
            for (auto& v : data) {
                v = std::conj(v);
            }
        }
        for (std::size_t i = 1; i < m_length; ++i) {
            if (i < m_reversed[i]) {
                std::swap(data[i], data[m_reversed[i]]);
            }
        }
        // Real and imaginary parts interleaved, as std::complex guarantees; the
        // products written out, since std::complex's also guards against
        // infinities, which cannot arise here.
        double* __restrict values = reinterpret_cast<double*>(data.data());
        for (std::size_t half = 1; half < m_length; half *= 2) {
            const double* __restrict twiddle =
                reinterpret_cast<const double*>(m_twiddle.data() + (half - 1));
            for (std::size_t start = 0; start < m_length; start += 2 * half) {
                double* __restrict even = values + 2 * start;
                double* __restrict odd = values + 2 * (start + half);
                for (std::size_t k = 0; k < half; ++k) {
                    const double wRe = twiddle[2 * k];
                    const double wIm = twiddle[2 * k + 1];
                    const double turnedRe = odd[2 * k] * wRe - odd[2 * k + 1] * wIm;
                    const double turnedIm = odd[2 * k] * wIm + odd[2 * k + 1] * wRe;
                    odd[2 * k] = even[2 * k] - turnedRe;
                    odd[2 * k + 1] = even[2 * k + 1] - turnedIm;
                    even[2 * k] += turnedRe;
                    even[2 * k + 1] += turnedIm;
                }
            }
        }
        if (inverse) {
            const double scale = 1 / double(m_length);
            for (auto& v : data) {
                v = std::conj(v) * scale;
            }
        }
    }

    // The spectra of two real sequences packed as first + i second, unpacked.
    void splitPair(const std::vector<Complex>& packed, std::vector<Complex>& first,
                   std::vector<Complex>& second) const {
        for (std::size_t f = 0; f < m_length; ++f) {
            const Complex z = packed[f];
            const Complex mirrored = std::conj(packed[(m_length - f) % m_length]);
            first[f] = 0.5 * (z + mirrored);
            second[f] = Complex(0, -0.5) * (z - mirrored);
        }
    }

private:
    std::size_t m_length = 1;
    std::vector<Complex> m_twiddle;
    std::vector<std::size_t> m_reversed;
};

// Solves x + apply(x) = rhs by restarted GMRES (Saad and Schultz 1986), starting
// from x, until the residual is below tolerance * |rhs|.
template <typename Apply>
void gmres(const Apply& apply, const std::vector<double>& rhs, std::vector<double>& x,
           double tolerance) {
    constexpr int kRestart = 20;
    const std::size_t n = rhs.size();
    const auto dot = [n](const std::vector<double>& u, const std::vector<double>& v) {
        double sum = 0;
        for (std::size_t e = 0; e < n; ++e) {
            sum += u[e] * v[e];
        }
        return sum;
    };
    const double rhsNorm = std::sqrt(dot(rhs, rhs));
    for (int cycle = 0; cycle < 10; ++cycle) {
        std::vector<double> residual = apply(x);
        for (std::size_t e = 0; e < n; ++e) {
            residual[e] = rhs[e] - x[e] - residual[e];
        }
        const double beta = std::sqrt(dot(residual, residual));
        if (beta <= tolerance * rhsNorm) {
            return;
        }
        std::vector<std::vector<double>> basis{residual};
        for (double& v : basis[0]) {
            v /= beta;
        }
        std::vector<std::vector<double>> hessenberg;
        std::vector<double> cosines, sines, g{beta};
        int used = 0;
        for (int j = 0; j < kRestart; ++j) {
            std::vector<double> w = apply(basis[j]);
            for (std::size_t e = 0; e < n; ++e) {
                w[e] += basis[j][e];
            }
            std::vector<double> h(j + 2, 0.0);
            for (int i = 0; i <= j; ++i) {
                h[i] = dot(w, basis[i]);
                for (std::size_t e = 0; e < n; ++e) {
                    w[e] -= h[i] * basis[i][e];
                }
            }
            h[j + 1] = std::sqrt(dot(w, w));
            for (int i = 0; i < j; ++i) {
                const double rotated = cosines[i] * h[i] + sines[i] * h[i + 1];
                h[i + 1] = -sines[i] * h[i] + cosines[i] * h[i + 1];
                h[i] = rotated;
            }
            const double radius = std::hypot(h[j], h[j + 1]);
            cosines.push_back(h[j] / radius);
            sines.push_back(h[j + 1] / radius);
            h[j] = radius;
            g.push_back(-sines[j] * g[j]);
            g[j] *= cosines[j];
            hessenberg.push_back(h);
            used = j + 1;
            if (std::abs(g[j + 1]) <= tolerance * rhsNorm || h[j + 1] == 0) {
                break;
            }
            for (double& v : w) {
                v /= h[j + 1];
            }
            basis.push_back(std::move(w));
        }
        std::vector<double> y(used, 0.0);
        for (int i = used - 1; i >= 0; --i) {
            double sum = g[i];
            for (int k = i + 1; k < used; ++k) {
                sum -= hessenberg[k][i] * y[k];
            }
            y[i] = sum / hessenberg[i][i];
        }
        for (int i = 0; i < used; ++i) {
            for (std::size_t e = 0; e < n; ++e) {
                x[e] += y[i] * basis[i][e];
            }
        }
    }
}

// The surface resistance of a good conductor, sqrt(pi f mu0 / sigma) (Rayleigh
// 1886, the skin effect), while the skin depth is small against the wire.
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

CoilAtFrequency fromRatios(const CoilWinding& coil, const FieldRatios& ratios, double freqMHz) {
    const double omega = 2 * kPi * freqMHz * 1e6;
    CoilAtFrequency result;
    result.inductanceUH = ratios.inductance * lowFrequencyInductanceUH(coil);
    result.resistanceOhm = ratios.proximity * isolatedWireLossOhm(coil, coil.turns, freqMHz);
    result.q = omega * result.inductanceUH * 1e-6 / result.resistanceOhm;
    return result;
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

namespace {

// Ring rows of up to the longest of the current sets, all with the same window:
// the coupling, its factors and the far kernels are shared.
std::vector<RingRowSolution> solveRingRows(double ringRadiusM, double wireRadiusM, double pitchM,
                                           const std::vector<std::vector<double>>& currentSets,
                                           int bandsPerTurn, int windowTurns) {
    std::size_t longest = 1;
    for (const auto& currents : currentSets) {
        longest = std::max(longest, currents.size());
    }
    const int rings = int(longest);
    const int m = bandsPerTurn;
    const int window = std::min(std::max(windowTurns, 1), rings - 1);
    const Bands bands = makeBands(ringRadiusM, wireRadiusM, m);

    // offsetBlock[o](i, j): band i of a ring and band j of the ring o further on.
    // Mirror symmetry gives offsetBlock[o](i, j) = offsetBlock[o](j', i'), j' the
    // mirror band, so half of each block is computed.
    std::vector<Block> offsetBlock;
    offsetBlock.reserve(window + 1);
    for (int o = 0; o <= window; ++o) {
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

    // The system per ring: its band currents and its flux psi; rows are the
    // bands' flux balance (sum_j M_ij I_j - psi = 0) and the ring's current. The
    // rings within the window are coupled here; the matrix is block Toeplitz.
    const int size = m + 1;
    const auto nearBlock = [&](int offset) {
        Block block(size);
        const Block& coupling = offsetBlock[std::abs(offset)];
        for (int i = 0; i < m; ++i) {
            for (int j = 0; j < m; ++j) {
                block.at(i, j) = offset >= 0 ? coupling.at(i, j) : coupling.at(j, i);
            }
        }
        if (offset == 0) {
            for (int i = 0; i < m; ++i) {
                block.at(i, m) = -1;
                block.at(m, i) = 1;
            }
        }
        return block;
    };
    std::vector<Block> near;
    for (int offset = -window; offset <= window; ++offset) {
        near.push_back(nearBlock(offset));
    }
    const auto nearAt = [&](int offset) -> const Block& { return near[offset + window]; };

    // Block LU (Doolittle) within the band, ring by ring; a ring's bands come
    // before its flux, so no pivot is the flux row's zero. The factors of a block
    // Toeplitz band settle after some rings, and from there on are reused.
    struct Step {
        Block diagonalInverse;
        std::vector<Block> upper; // U(k, k + d), d = 1..window
        std::vector<Block> lower; // L(k + d, k), d = 1..window
    };
    std::vector<Step> steps;
    std::vector<int> stepOf(rings);
    const auto upperOf = [&](int row, int col) -> const Block& {
        return steps[stepOf[row]].upper[col - row - 1];
    };
    const auto lowerOf = [&](int row, int col) -> const Block& {
        return steps[stepOf[col]].lower[row - col - 1];
    };
    bool settled = false;
    for (int k = 0; k < rings; ++k) {
        if (settled) {
            stepOf[k] = int(steps.size()) - 1;
            continue;
        }
        stepOf[k] = int(steps.size());
        steps.push_back(Step{Block(size), {}, {}});
        Step& step = steps.back();
        const int first = std::max(0, k - window);
        // U(k, j) = A(k, j) - sum_p L(k, p) U(p, j), with U(p, p) the diagonal.
        std::vector<Block> upperRow;
        for (int d = 0; d <= window; ++d) {
            const int j = k + d;
            Block block = nearAt(d);
            for (int p = std::max(first, j - window); p < k; ++p) {
                subtractProduct(block, lowerOf(k, p), upperOf(p, j));
            }
            upperRow.push_back(std::move(block));
        }
        step.diagonalInverse = inverse(upperRow[0]);
        step.upper.assign(upperRow.begin() + 1, upperRow.end());
        // L(i, k) = (A(i, k) - sum_p L(i, p) U(p, k)) U(k, k)^-1.
        for (int d = 1; d <= window; ++d) {
            const int i = k + d;
            Block block = nearAt(-d);
            for (int p = std::max(0, i - window); p < k; ++p) {
                subtractProduct(block, lowerOf(i, p), upperOf(p, k));
            }
            step.lower.push_back(product(block, step.diagonalInverse));
        }
        if (k > window && steps.size() >= 2) {
            const Step& before = steps[steps.size() - 2];
            double largest = 0;
            double change = 0;
            const auto compare = [&](const Block& now, const Block& then) {
                for (std::size_t e = 0; e < now.value.size(); ++e) {
                    largest = std::max(largest, std::abs(now.value[e]));
                    change = std::max(change, std::abs(now.value[e] - then.value[e]));
                }
            };
            compare(step.diagonalInverse, before.diagonalInverse);
            for (int d = 0; d < window; ++d) {
                compare(step.upper[d], before.upper[d]);
                compare(step.lower[d], before.lower[d]);
            }
            settled = change <= 1e-13 * largest;
        }
    }
    // Unit lower, then upper with the diagonal blocks inverted.
    // The solve runs on transposed copies, whose columns are contiguous.
    struct TransposedStep {
        Block diagonalInverse;
        std::vector<Block> upper, lower;
    };
    std::vector<TransposedStep> transposed;
    for (const Step& step : steps) {
        TransposedStep t{transpose(step.diagonalInverse), {}, {}};
        for (const Block& block : step.upper) {
            t.upper.push_back(transpose(block));
        }
        for (const Block& block : step.lower) {
            t.lower.push_back(transpose(block));
        }
        transposed.push_back(std::move(t));
    }
    const auto solve = [&](std::vector<double> b) {
        const int count = int(b.size()) / size;
        for (int k = 0; k < count; ++k) {
            double* row = &b[std::size_t(k) * size];
            for (int p = std::max(0, k - window); p < k; ++p) {
                subtractTransposedProduct(row, transposed[stepOf[p]].lower[k - p - 1],
                                          &b[std::size_t(p) * size]);
            }
        }
        std::vector<double> x(b.size(), 0.0);
        for (int k = count - 1; k >= 0; --k) {
            double* row = &b[std::size_t(k) * size];
            const int last = std::min(count - 1, k + window);
            for (int j = k + 1; j <= last; ++j) {
                subtractTransposedProduct(row, transposed[stepOf[k]].upper[j - k - 1],
                                          &x[std::size_t(j) * size]);
            }
            for (double& v : std::span(row, size)) {
                v = -v;
            }
            subtractTransposedProduct(&x[std::size_t(k) * size],
                                      transposed[stepOf[k]].diagonalInverse, row);
        }
        return x;
    };
    // The rings beyond the window act through the lowest Fourier modes of their
    // band currents around the wire, up to cos 3 theta, sin 3 theta (each next one
    // is weaker by the wire's radius over the distance, 1/6 at 3 pitches). Mode 0
    // is the ring's current, known from the start; the others are solved for by
    // GMRES, preconditioned by the windowed system.
    const bool farRings = window < rings - 1;
    {
        constexpr int kModes = 2 * kFarHarmonics + 1;
        std::vector<std::array<double, kModes>> modeShape(m);
        for (int j = 0; j < m; ++j) {
            const double angle = bands.angle[j];
            modeShape[j][0] = 1;
            for (int h = 1; h <= kFarHarmonics; ++h) {
                modeShape[j][2 * h - 1] = std::cos(h * angle);
                modeShape[j][2 * h] = std::sin(h * angle);
            }
        }
        // The far flux over a ring's surface is smooth too, and is taken by the
        // same modes. The flux in mode p of ring k from mode q of ring l depends on
        // l - k alone and vanishes within the window: a convolution over the rings,
        // done by FFT. kernel[p * kModes + q] per unit mode coefficient, the offset
        // d = l - k stored circularly at (k - l) mod the length.
        const Fft fft(2 * std::size_t(rings));
        const std::size_t length = fft.length();
        std::vector<std::vector<double>> kernelTaps(std::size_t(kModes) * kModes,
                                                    std::vector<double>(length, 0.0));
        // The far rings' mutual inductances sampled at kFarSamples points around
        // each wire: the first harmonic to alias onto 3 is kFarSamples - 3 = 5,
        // weaker than it by (r / distance)^2, 1/36 at 3 pitches.
        // Mirror symmetry gives the ring o before from the ring o further on: the
        // sine harmonics change sign.
        const auto parity = [](int q) { return q > 0 && q % 2 == 0 ? -1.0 : 1.0; };
        std::vector<std::array<double, kModes>> sampleShape(kFarSamples);
        std::vector<double> sampleRhoM(kFarSamples), sampleZM(kFarSamples);
        for (int t = 0; t < kFarSamples; ++t) {
            const double angle = 2 * kPi * (t + 0.5) / kFarSamples;
            sampleShape[t][0] = 1;
            for (int h = 1; h <= kFarHarmonics; ++h) {
                sampleShape[t][2 * h - 1] = std::cos(h * angle);
                sampleShape[t][2 * h] = std::sin(h * angle);
            }
            sampleRhoM[t] = ringRadiusM + wireRadiusM * std::cos(angle);
            sampleZM[t] = wireRadiusM * std::sin(angle);
        }
        std::vector<double> sampled(std::size_t(kFarSamples) * kFarSamples);
        std::vector<double> fromSource(std::size_t(kModes) * kFarSamples);
        for (int o = window + 1; o < rings; ++o) {
            for (int u = 0; u < kFarSamples; ++u) {
                for (int t = 0; t < kFarSamples; ++t) {
                    sampled[u * kFarSamples + t] = ringMutualH(
                        sampleRhoM[u], sampleRhoM[t], o * pitchM + sampleZM[t] - sampleZM[u]);
                }
            }
            for (int q = 0; q < kModes; ++q) {
                for (int u = 0; u < kFarSamples; ++u) {
                    double sum = 0;
                    for (int t = 0; t < kFarSamples; ++t) {
                        sum += sampled[u * kFarSamples + t] * sampleShape[t][q];
                    }
                    fromSource[q * kFarSamples + u] = sum * (q == 0 ? 1.0 : 2.0) / kFarSamples;
                }
            }
            for (int p = 0; p < kModes; ++p) {
                for (int q = 0; q < kModes; ++q) {
                    double sum = 0;
                    for (int u = 0; u < kFarSamples; ++u) {
                        sum += sampleShape[u][p] * fromSource[q * kFarSamples + u];
                    }
                    const double towards = sum * (p == 0 ? 1.0 : 2.0) / kFarSamples;
                    kernelTaps[p * kModes + q][length - o] = towards;
                    kernelTaps[p * kModes + q][o] = towards * parity(p) * parity(q);
                }
            }
        }
        // Real sequences go through the transform two at a time.
        const auto spectraOf = [&](const std::vector<std::vector<double>>& taps) {
            std::vector<std::vector<Complex>> spectra(taps.size(), std::vector<Complex>(length));
            std::vector<Complex> packed(length);
            for (std::size_t t = 0; t < taps.size(); t += 2) {
                const bool pair = t + 1 < taps.size();
                for (std::size_t f = 0; f < length; ++f) {
                    packed[f] = Complex(taps[t][f], pair ? taps[t + 1][f] : 0.0);
                }
                fft.transform(packed, false);
                if (pair) {
                    fft.splitPair(packed, spectra[t], spectra[t + 1]);
                } else {
                    spectra[t] = packed;
                }
            }
            return spectra;
        };
        // Received modes p and p + 1 go out together as the real and imaginary
        // parts of one inverse transform: their kernels combined as first + i second.
        const std::vector<std::vector<Complex>> kernel =
            farRings ? spectraOf(kernelTaps) : std::vector<std::vector<Complex>>{};
        std::vector<std::vector<Complex>> pairedKernel;
        for (int p = 0; farRings && p < kModes; p += 2) {
            for (int q = 0; q < kModes; ++q) {
                std::vector<Complex> paired = kernel[p * kModes + q];
                if (p + 1 < kModes) {
                    for (std::size_t f = 0; f < length; ++f) {
                        paired[f] += Complex(0, 1) * kernel[(p + 1) * kModes + q][f];
                    }
                }
                pairedKernel.push_back(std::move(paired));
            }
        }
        // The far flux at the band rows from the modes [firstMode, lastMode].
        const auto farFlux = [&](const std::vector<double>& currents, int firstMode, int lastMode) {
            const int count = int(currents.size()) / size;
            std::vector<std::vector<double>> modeTaps(lastMode - firstMode + 1,
                                                      std::vector<double>(length, 0.0));
            for (int l = 0; l < count; ++l) {
                for (int j = 0; j < m; ++j) {
                    const double current = currents[std::size_t(l) * size + j];
                    for (int q = firstMode; q <= lastMode; ++q) {
                        modeTaps[q - firstMode][l] += current * modeShape[j][q];
                    }
                }
            }
            const std::vector<std::vector<Complex>> modeSpectrum = spectraOf(modeTaps);
            std::vector<double> flux(currents.size(), 0.0);
            std::vector<Complex> sum(length);
            for (int p = 0; p < kModes; p += 2) {
                // Modes p and p + 1 as the real and imaginary parts of one transform.
                std::fill(sum.begin(), sum.end(), Complex{});
                for (int q = firstMode; q <= lastMode; ++q) {
                    const double* __restrict mode =
                        reinterpret_cast<const double*>(modeSpectrum[q - firstMode].data());
                    const double* __restrict paired =
                        reinterpret_cast<const double*>(pairedKernel[(p / 2) * kModes + q].data());
                    double* __restrict out = reinterpret_cast<double*>(sum.data());
                    for (std::size_t f = 0; f < 2 * length; f += 2) {
                        out[f] += paired[f] * mode[f] - paired[f + 1] * mode[f + 1];
                        out[f + 1] += paired[f] * mode[f + 1] + paired[f + 1] * mode[f];
                    }
                }
                fft.transform(sum, true);
                for (int k = 0; k < count; ++k) {
                    double* row = &flux[std::size_t(k) * size];
                    for (int i = 0; i < m; ++i) {
                        row[i] += sum[k].real() * modeShape[i][p] +
                                  (p + 1 < kModes ? sum[k].imag() * modeShape[i][p + 1] : 0.0);
                    }
                }
            }
            return flux;
        };

        std::vector<RingRowSolution> results;
        std::vector<double> previous;
        for (const std::vector<double>& turnCurrents : currentSets) {
            const int count = int(turnCurrents.size());
            std::vector<double> rhs(std::size_t(count) * size, 0.0);
            for (int k = 0; k < count; ++k) {
                rhs[std::size_t(k) * size + m] = turnCurrents[k];
            }
            std::vector<double> solution = solve(rhs);
            if (window < count - 1) {
                std::vector<double> uniform(rhs.size(), 0.0);
                for (int l = 0; l < count; ++l) {
                    for (int j = 0; j < m; ++j) {
                        uniform[std::size_t(l) * size + j] = turnCurrents[l] / m;
                    }
                }
                std::vector<double> withCurrentMode = rhs;
                const std::vector<double> currentModeFlux = farFlux(uniform, 0, 0);
                for (std::size_t e = 0; e < rhs.size(); ++e) {
                    withCurrentMode[e] -= currentModeFlux[e];
                }
                // x = near^-1 (b - far(x)), as (1 + near^-1 far) x = near^-1 b.
                const std::vector<double> start = solve(withCurrentMode);
                solution = start;
                // One ring more than the row before: its solution with the middle
                // ring doubled is close, and GMRES starts from there.
                if (!results.empty() && std::size_t(count) * size == previous.size() + size) {
                    const std::size_t middle = std::size_t(count / 2) * size;
                    std::copy(previous.begin(), previous.begin() + middle, solution.begin());
                    std::copy(previous.begin() + (middle - size), previous.end(),
                              solution.begin() + (middle - size) + size);
                }
                gmres(
                    [&](const std::vector<double>& x) { return solve(farFlux(x, 1, kModes - 1)); },
                    start, solution, 1e-5);
            }
            RingRowSolution result;
            for (int k = 0; k < count; ++k) {
                result.inductanceH += turnCurrents[k] * solution[std::size_t(k) * size + m];
                for (int b = 0; b < m; ++b) {
                    const double bandA = solution[std::size_t(k) * size + b];
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
            results.push_back(std::move(result));
            previous = std::move(solution);
        }
        return results;
    }
}

// The coil's values at F from the band solution of its rings, in series.
CoilAtFrequency atFrequencyOf(const RingRowSolution& row, double freqMHz) {
    const double omega = 2 * kPi * freqMHz * 1e6;
    CoilAtFrequency result;
    result.resistanceOhm = surfaceResistanceOhm(freqMHz) * row.lossPerRsOhm;
    result.inductanceUH = (row.inductanceH + result.resistanceOhm / omega) * 1e6;
    result.q = omega * result.inductanceUH * 1e-6 / result.resistanceOhm;
    return result;
}

std::vector<RingRowSolution> solveCoilRows(const CoilWinding& coil, std::vector<int> turnCounts,
                                           int bandsPerTurn, int windowTurns) {
    std::vector<std::vector<double>> currentSets;
    for (int turns : turnCounts) {
        currentSets.emplace_back(std::max(turns, 1), 1.0);
    }
    return solveRingRows(0.5 * (coil.formerDiaIn + coil.wireDiaIn) * kMPerIn,
                         0.5 * coil.wireDiaIn * kMPerIn, coil.pitchIn * kMPerIn, currentSets,
                         bandsPerTurn, windowTurns);
}

} // namespace

RingRowSolution solveRingRow(double ringRadiusM, double wireRadiusM, double pitchM,
                             const std::vector<double>& turnCurrents, int bandsPerTurn,
                             int windowTurns) {
    return solveRingRows(ringRadiusM, wireRadiusM, pitchM, {turnCurrents}, bandsPerTurn,
                         windowTurns)
        .front();
}

CoilAtFrequency coilFieldSolution(const CoilWinding& coil, double freqMHz, int bandsPerTurn) {
    return coilFieldSolution(coil, freqMHz, bandsPerTurn, int(std::round(coil.turns)));
}

CoilAtFrequency coilFieldSolution(const CoilWinding& coil, double freqMHz, int bandsPerTurn,
                                  int windowTurns) {
    const int turns = int(std::round(coil.turns));
    return atFrequencyOf(solveCoilRows(coil, {turns}, bandsPerTurn, windowTurns).front(), freqMHz);
}

CoilAtFrequency coilAtFrequency(const CoilWinding& coil, double freqMHz) {
    const double turns = std::max(coil.turns, 1.0);
    const int below = int(std::floor(turns));
    const double fraction = turns - below;
    // Whole turns, or the whole numbers around a fraction solved together.
    std::vector<int> turnCounts{below};
    if (fraction > 0) {
        turnCounts.push_back(below + 1);
    }
    const std::vector<RingRowSolution> rows =
        solveCoilRows(coil, turnCounts, kCoilBandsPerTurn, kCoilWindowTurns);
    std::vector<FieldRatios> ratiosOf;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        CoilWinding whole = coil;
        whole.turns = turnCounts[r];
        const CoilAtFrequency atF = atFrequencyOf(rows[r], freqMHz);
        ratiosOf.push_back({atF.inductanceUH / lowFrequencyInductanceUH(whole),
                            atF.resistanceOhm / isolatedWireLossOhm(coil, whole.turns, freqMHz)});
    }
    FieldRatios ratios = ratiosOf.front();
    if (fraction > 0) {
        ratios.inductance += fraction * (ratiosOf[1].inductance - ratios.inductance);
        ratios.proximity += fraction * (ratiosOf[1].proximity - ratios.proximity);
    }
    return fromRatios(coil, ratios, freqMHz);
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
    // Spread: the inductance falls as the pitch grows. The pitch widened by half
    // again to a bracket, then secant steps in ln(L) against ln(pitch) kept inside
    // it, with the bracket's geometric mean where a step would leave it.
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
