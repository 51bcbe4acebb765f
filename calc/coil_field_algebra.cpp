// Block LU of a banded block-Toeplitz system, the FFT and GMRES behind the
// coil's field solution.
#include "calc/coil_field_algebra.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <span>

namespace tarvix::field {

namespace {

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

double dot(const std::vector<double>& u, const std::vector<double>& v) {
    double sum = 0;
    for (std::size_t e = 0; e < u.size(); ++e) {
        sum += u[e] * v[e];
    }
    return sum;
}

} // namespace

BandedBlockLu::BandedBlockLu(const std::vector<Block>& near, int window, int rows)
    : m_window(window), m_size(near.front().size), m_stepOf(rows) {
    bool settled = false;
    for (int k = 0; k < rows; ++k) {
        if (settled) {
            m_stepOf[k] = int(m_steps.size()) - 1;
            continue;
        }
        m_stepOf[k] = int(m_steps.size());
        m_steps.push_back(factorRow(k, near));
        if (k > window && m_steps.size() >= 2) {
            settled = sameAsBefore(m_steps.back(), m_steps[m_steps.size() - 2]);
        }
    }
    for (const Step& step : m_steps) {
        Step t{transpose(step.diagonalInverse), {}, {}};
        for (const Block& block : step.upper) {
            t.upper.push_back(transpose(block));
        }
        for (const Block& block : step.lower) {
            t.lower.push_back(transpose(block));
        }
        m_transposed.push_back(std::move(t));
    }
}

const Block& BandedBlockLu::upperOf(int row, int col) const {
    return m_steps[m_stepOf[row]].upper[col - row - 1];
}

const Block& BandedBlockLu::lowerOf(int row, int col) const {
    return m_steps[m_stepOf[col]].lower[row - col - 1];
}

// Row k of U and column k of L from the rows before it; a block row's bands come
// before its flux, so no pivot is the flux row's zero.
BandedBlockLu::Step BandedBlockLu::factorRow(int k, const std::vector<Block>& near) const {
    const auto nearAt = [&](int offset) -> const Block& { return near[offset + m_window]; };
    const int first = std::max(0, k - m_window);
    // U(k, j) = A(k, j) - sum_p L(k, p) U(p, j), with U(p, p) the diagonal.
    std::vector<Block> upperRow;
    for (int d = 0; d <= m_window; ++d) {
        const int j = k + d;
        Block block = nearAt(d);
        for (int p = std::max(first, j - m_window); p < k; ++p) {
            subtractProduct(block, lowerOf(k, p), upperOf(p, j));
        }
        upperRow.push_back(std::move(block));
    }
    Step step{inverse(upperRow[0]), {upperRow.begin() + 1, upperRow.end()}, {}};
    // L(i, k) = (A(i, k) - sum_p L(i, p) U(p, k)) U(k, k)^-1.
    for (int d = 1; d <= m_window; ++d) {
        const int i = k + d;
        Block block = nearAt(-d);
        for (int p = std::max(0, i - m_window); p < k; ++p) {
            subtractProduct(block, lowerOf(i, p), upperOf(p, k));
        }
        step.lower.push_back(product(block, step.diagonalInverse));
    }
    return step;
}

bool BandedBlockLu::sameAsBefore(const Step& now, const Step& before) const {
    double largest = 0;
    double change = 0;
    const auto compare = [&](const Block& a, const Block& b) {
        for (std::size_t e = 0; e < a.value.size(); ++e) {
            largest = std::max(largest, std::abs(a.value[e]));
            change = std::max(change, std::abs(a.value[e] - b.value[e]));
        }
    };
    compare(now.diagonalInverse, before.diagonalInverse);
    for (int d = 0; d < m_window; ++d) {
        compare(now.upper[d], before.upper[d]);
        compare(now.lower[d], before.lower[d]);
    }
    return change <= 1e-13 * largest;
}

// Unit lower, then upper with the diagonal blocks inverted.
std::vector<double> BandedBlockLu::solve(std::vector<double> b) const {
    const int count = int(b.size()) / m_size;
    const auto size = std::size_t(m_size);
    for (int k = 0; k < count; ++k) {
        double* row = &b[k * size];
        for (int p = std::max(0, k - m_window); p < k; ++p) {
            subtractTransposedProduct(row, m_transposed[m_stepOf[p]].lower[k - p - 1],
                                      &b[p * size]);
        }
    }
    std::vector<double> x(b.size(), 0.0);
    for (int k = count - 1; k >= 0; --k) {
        double* row = &b[k * size];
        const int last = std::min(count - 1, k + m_window);
        for (int j = k + 1; j <= last; ++j) {
            subtractTransposedProduct(row, m_transposed[m_stepOf[k]].upper[j - k - 1],
                                      &x[j * size]);
        }
        for (double& v : std::span(row, size)) {
            v = -v;
        }
        subtractTransposedProduct(&x[k * size], m_transposed[m_stepOf[k]].diagonalInverse, row);
    }
    return x;
}

Fft::Fft(std::size_t atLeast) {
    while (m_length < atLeast) {
        m_length *= 2;
    }
    // Stage by stage, the twiddles of a half-length h at [h - 1, 2h - 1).
    for (std::size_t half = 1; half < m_length; half *= 2) {
        for (std::size_t k = 0; k < half; ++k) {
            const double angle = -std::numbers::pi * double(k) / double(half);
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

// The inverse as the conjugate of the forward transform of the conjugate.
void Fft::transform(std::vector<Complex>& data, bool inverse) const {
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
    // products written out, since std::complex's also guards against infinities,
    // which cannot arise here.
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

void Fft::splitPair(const std::vector<Complex>& packed, std::vector<Complex>& first,
                    std::vector<Complex>& second) const {
    for (std::size_t f = 0; f < m_length; ++f) {
        const Complex z = packed[f];
        const Complex mirrored = std::conj(packed[(m_length - f) % m_length]);
        first[f] = 0.5 * (z + mirrored);
        second[f] = Complex(0, -0.5) * (z - mirrored);
    }
}

std::vector<std::vector<Complex>>
Fft::spectraOf(const std::vector<std::vector<double>>& taps) const {
    std::vector<std::vector<Complex>> spectra(taps.size(), std::vector<Complex>(m_length));
    std::vector<Complex> packed(m_length);
    for (std::size_t t = 0; t < taps.size(); t += 2) {
        const bool pair = t + 1 < taps.size();
        for (std::size_t f = 0; f < m_length; ++f) {
            packed[f] = Complex(taps[t][f], pair ? taps[t + 1][f] : 0.0);
        }
        transform(packed, false);
        if (pair) {
            splitPair(packed, spectra[t], spectra[t + 1]);
        } else {
            spectra[t] = packed;
        }
    }
    return spectra;
}

namespace {

// One cycle of GMRES(restart) from x; false once the residual is small enough.
bool gmresCycle(const LinearMap& apply, const std::vector<double>& rhs, std::vector<double>& x,
                double goal) {
    constexpr int kRestart = 20;
    const std::size_t n = rhs.size();
    std::vector<double> residual = apply(x);
    for (std::size_t e = 0; e < n; ++e) {
        residual[e] = rhs[e] - x[e] - residual[e];
    }
    const double beta = std::sqrt(dot(residual, residual));
    if (beta <= goal) {
        return false;
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
        if (std::abs(g[j + 1]) <= goal || h[j + 1] == 0) {
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
    return true;
}

} // namespace

void gmres(const LinearMap& apply, const std::vector<double>& rhs, std::vector<double>& x,
           double tolerance) {
    const double goal = tolerance * std::sqrt(dot(rhs, rhs));
    for (int cycle = 0; cycle < 10 && gmresCycle(apply, rhs, x, goal); ++cycle) {
    }
}

} // namespace tarvix::field
