// The band couplings of the coil's field solution and the far rings' convolution.
#include "calc/coil_field_coupling.h"

#include "calc/physical_constants.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tarvix::field {

namespace {

constexpr double kPi = std::numbers::pi;

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

// 1, cos theta, sin theta, ..., cos 3 theta, sin 3 theta at an angle around the wire.
ModeShape modeShapeAt(double angle) {
    ModeShape shape{};
    shape[0] = 1;
    for (int h = 1; h <= kFarHarmonics; ++h) {
        shape[2 * h - 1] = std::cos(h * angle);
        shape[2 * h] = std::sin(h * angle);
    }
    return shape;
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

} // namespace

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

// Mirror symmetry gives the coupling to the ring o further on
// M(i, j) = M(j', i'), j' the mirror band, so half of each is computed.
std::vector<Block> nearBlocks(const Bands& bands, int window, double pitchM) {
    const int m = bands.count;
    std::vector<Block> coupling;
    for (int o = 0; o <= window; ++o) {
        Block block = Block::Zero(m, m);
        for (int i = 0; i < m; ++i) {
            for (int j = 0; j < m; ++j) {
                const int mirrorI = m - 1 - i;
                const int mirrorJ = m - 1 - j;
                if (i * m + j <= mirrorJ * m + mirrorI) {
                    block(i, j) = block(mirrorJ, mirrorI) = bandMutualH(bands, i, j, o, pitchM);
                }
            }
        }
        coupling.push_back(std::move(block));
    }
    std::vector<Block> near;
    for (int offset = -window; offset <= window; ++offset) {
        Block block = Block::Zero(m + 1, m + 1);
        const Block& c = coupling[std::abs(offset)];
        for (int i = 0; i < m; ++i) {
            for (int j = 0; j < m; ++j) {
                block(i, j) = offset >= 0 ? c(i, j) : c(j, i);
            }
        }
        if (offset == 0) {
            for (int i = 0; i < m; ++i) {
                block(i, m) = -1;
                block(m, i) = 1;
            }
        }
        near.push_back(std::move(block));
    }
    return near;
}

FarRings::FarRings(const Bands& bands, double ringRadiusM, double pitchM, int rings, int window)
    : m_bands(bands.count), m_fft(2 * std::size_t(rings)) {
    for (int j = 0; j < bands.count; ++j) {
        m_modeShape.push_back(modeShapeAt(bands.angle[j]));
    }
    pairKernels(m_fft.spectraOf(kernelTaps(bands, ringRadiusM, pitchM, rings, window)));
}

// kernel[p * kModes + q] per unit mode coefficient, the offset d = l - k stored
// circularly at (k - l) mod the length. The far rings' mutual inductances are
// sampled at kFarSamples points around each wire: the first harmonic to alias
// onto 3 is kFarSamples - 3 = 5, weaker than it by (r / distance)^2, 1/36 at
// 3 pitches. Mirror symmetry gives the ring o before from the ring o further on:
// the sine harmonics change sign.
std::vector<std::vector<double>> FarRings::kernelTaps(const Bands& bands, double ringRadiusM,
                                                      double pitchM, int rings, int window) const {
    const std::size_t length = m_fft.length();
    std::vector<std::vector<double>> taps(std::size_t(kModes) * kModes,
                                          std::vector<double>(length, 0.0));
    const auto parity = [](int q) { return q > 0 && q % 2 == 0 ? -1.0 : 1.0; };
    std::vector<ModeShape> sampleShape;
    std::vector<double> sampleRhoM, sampleZM;
    for (int t = 0; t < kFarSamples; ++t) {
        const double angle = 2 * kPi * (t + 0.5) / kFarSamples;
        sampleShape.push_back(modeShapeAt(angle));
        sampleRhoM.push_back(ringRadiusM + bands.wireRadiusM * std::cos(angle));
        sampleZM.push_back(bands.wireRadiusM * std::sin(angle));
    }
    std::vector<double> sampled(std::size_t(kFarSamples) * kFarSamples);
    std::vector<double> fromSource(std::size_t(kModes) * kFarSamples);
    for (int o = window + 1; o < rings; ++o) {
        for (int u = 0; u < kFarSamples; ++u) {
            for (int t = 0; t < kFarSamples; ++t) {
                sampled[u * kFarSamples + t] = ringMutualH(sampleRhoM[u], sampleRhoM[t],
                                                           o * pitchM + sampleZM[t] - sampleZM[u]);
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
                taps[p * kModes + q][length - o] = towards;
                taps[p * kModes + q][o] = towards * parity(p) * parity(q);
            }
        }
    }
    return taps;
}

void FarRings::pairKernels(const std::vector<std::vector<Complex>>& kernel) {
    for (int p = 0; p < kModes; p += 2) {
        for (int q = 0; q < kModes; ++q) {
            std::vector<Complex> paired = kernel[p * kModes + q];
            if (p + 1 < kModes) {
                for (std::size_t f = 0; f < paired.size(); ++f) {
                    paired[f] += Complex(0, 1) * kernel[(p + 1) * kModes + q][f];
                }
            }
            m_pairedKernel.push_back(std::move(paired));
        }
    }
}

std::vector<double> FarRings::flux(const std::vector<double>& currents, int firstMode,
                                   int lastMode) const {
    const int m = m_bands;
    const std::size_t size = m + 1;
    const std::size_t length = m_fft.length();
    const int count = int(currents.size() / size);
    std::vector<std::vector<double>> modeTaps(lastMode - firstMode + 1,
                                              std::vector<double>(length, 0.0));
    for (int l = 0; l < count; ++l) {
        for (int j = 0; j < m; ++j) {
            const double current = currents[l * size + j];
            for (int q = firstMode; q <= lastMode; ++q) {
                modeTaps[q - firstMode][l] += current * m_modeShape[j][q];
            }
        }
    }
    const std::vector<std::vector<Complex>> modeSpectrum = m_fft.spectraOf(modeTaps);
    std::vector<double> flux(currents.size(), 0.0);
    std::vector<Complex> sum(length);
    for (int p = 0; p < kModes; p += 2) {
        // Modes p and p + 1 as the real and imaginary parts of one transform.
        std::fill(sum.begin(), sum.end(), Complex{});
        for (int q = firstMode; q <= lastMode; ++q) {
            const double* __restrict mode =
                reinterpret_cast<const double*>(modeSpectrum[q - firstMode].data());
            const double* __restrict paired =
                reinterpret_cast<const double*>(m_pairedKernel[(p / 2) * kModes + q].data());
            double* __restrict out = reinterpret_cast<double*>(sum.data());
            for (std::size_t f = 0; f < 2 * length; f += 2) {
                out[f] += paired[f] * mode[f] - paired[f + 1] * mode[f + 1];
                out[f + 1] += paired[f] * mode[f + 1] + paired[f + 1] * mode[f];
            }
        }
        const std::vector<Complex> values = m_fft.inverse(sum);
        for (int k = 0; k < count; ++k) {
            double* row = &flux[k * size];
            for (int i = 0; i < m; ++i) {
                row[i] += values[k].real() * m_modeShape[i][p] +
                          (p + 1 < kModes ? values[k].imag() * m_modeShape[i][p + 1] : 0.0);
            }
        }
    }
    return flux;
}

} // namespace tarvix::field
