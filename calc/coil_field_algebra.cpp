// Block LU of a banded block-Toeplitz system, the FFT and GMRES behind the
// coil's field solution, on Eigen.
#include "calc/coil_field_algebra.h"

#include <algorithm>
#include <unsupported/Eigen/IterativeSolvers>

namespace tarvix::field {
namespace {
class IdentityPlusMap;
} // namespace
} // namespace tarvix::field

// Eigen takes an operator for a sparse matrix by its traits.
template <>
struct Eigen::internal::traits<tarvix::field::IdentityPlusMap>
    : public Eigen::internal::traits<Eigen::SparseMatrix<double>> {};

namespace tarvix::field {

namespace {

// x + apply(x) as a matrix-free operator for Eigen's iterative solvers (the
// pattern of Eigen's own matrix-free example).
class IdentityPlusMap : public Eigen::EigenBase<IdentityPlusMap> {
public:
    using Scalar = double;
    using RealScalar = double;
    using StorageIndex = int;
    enum {
        ColsAtCompileTime = Eigen::Dynamic,
        MaxColsAtCompileTime = Eigen::Dynamic,
        IsRowMajor = false
    };

    IdentityPlusMap(const LinearMap& apply, Eigen::Index size) : m_apply(apply), m_size(size) {}
    Eigen::Index rows() const { return m_size; }
    Eigen::Index cols() const { return m_size; }

    template <class Rhs>
    Eigen::Product<IdentityPlusMap, Rhs, Eigen::AliasFreeProduct>
    operator*(const Eigen::MatrixBase<Rhs>& x) const {
        return {*this, x.derived()};
    }

    Eigen::VectorXd times(const Eigen::VectorXd& x) const {
        const std::vector<double> mapped = m_apply(std::vector<double>(x.begin(), x.end()));
        return x + Eigen::Map<const Eigen::VectorXd>(mapped.data(), m_size);
    }

private:
    const LinearMap& m_apply;
    Eigen::Index m_size;
};

} // namespace

} // namespace tarvix::field

namespace Eigen::internal {

template <class Rhs>
struct generic_product_impl<tarvix::field::IdentityPlusMap, Rhs, SparseShape, DenseShape,
                            GemvProduct>
    : generic_product_impl_base<tarvix::field::IdentityPlusMap, Rhs,
                                generic_product_impl<tarvix::field::IdentityPlusMap, Rhs>> {
    template <class Dest>
    static void scaleAndAddTo(Dest& dst, const tarvix::field::IdentityPlusMap& map, const Rhs& rhs,
                              const double& alpha) {
        dst.noalias() += alpha * map.times(rhs);
    }
};

} // namespace Eigen::internal

namespace tarvix::field {

BandedBlockLu::BandedBlockLu(const std::vector<Block>& near, int window, int rows)
    : m_window(window), m_size(int(near.front().rows())), m_stepOf(rows) {
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
}

const Block& BandedBlockLu::upperOf(int row, int col) const {
    return m_steps[m_stepOf[row]].upper[col - row - 1];
}

const Block& BandedBlockLu::lowerOf(int row, int col) const {
    return m_steps[m_stepOf[col]].lower[row - col - 1];
}

// Row k of U and column k of L from the rows before it; a block row's bands come
// before its flux, so no pivot is the flux row's zero. The diagonal blocks are
// regular: a band's self term dominates its row.
BandedBlockLu::Step BandedBlockLu::factorRow(int k, const std::vector<Block>& near) const {
    const auto nearAt = [&](int offset) -> const Block& { return near[offset + m_window]; };
    const int first = std::max(0, k - m_window);
    // U(k, j) = A(k, j) - sum_p L(k, p) U(p, j), with U(p, p) the diagonal.
    std::vector<Block> upperRow;
    for (int d = 0; d <= m_window; ++d) {
        const int j = k + d;
        Block block = nearAt(d);
        for (int p = std::max(first, j - m_window); p < k; ++p) {
            block.noalias() -= lowerOf(k, p) * upperOf(p, j);
        }
        upperRow.push_back(std::move(block));
    }
    Step step{upperRow[0].partialPivLu().inverse(), {upperRow.begin() + 1, upperRow.end()}, {}};
    // L(i, k) = (A(i, k) - sum_p L(i, p) U(p, k)) U(k, k)^-1.
    for (int d = 1; d <= m_window; ++d) {
        const int i = k + d;
        Block block = nearAt(-d);
        for (int p = std::max(0, i - m_window); p < k; ++p) {
            block.noalias() -= lowerOf(i, p) * upperOf(p, k);
        }
        step.lower.push_back(block * step.diagonalInverse);
    }
    return step;
}

bool BandedBlockLu::sameAsBefore(const Step& now, const Step& before) const {
    double largest = 0;
    double change = 0;
    const auto compare = [&](const Block& a, const Block& b) {
        largest = std::max(largest, a.cwiseAbs().maxCoeff());
        change = std::max(change, (a - b).cwiseAbs().maxCoeff());
    };
    compare(now.diagonalInverse, before.diagonalInverse);
    for (int d = 0; d < m_window; ++d) {
        compare(now.upper[d], before.upper[d]);
        compare(now.lower[d], before.lower[d]);
    }
    return change <= 1e-13 * largest;
}

// Unit lower, then upper with the diagonal blocks inverted.
std::vector<double> BandedBlockLu::solve(std::vector<double> rhs) const {
    const int count = int(rhs.size()) / m_size;
    Eigen::Map<Eigen::VectorXd> b(rhs.data(), Eigen::Index(rhs.size()));
    const auto rowOf = [&](auto& vector, int k) { return vector.segment(k * m_size, m_size); };
    for (int k = 0; k < count; ++k) {
        for (int p = std::max(0, k - m_window); p < k; ++p) {
            rowOf(b, k).noalias() -= m_steps[m_stepOf[p]].lower[k - p - 1] * rowOf(b, p);
        }
    }
    std::vector<double> solution(rhs.size(), 0.0);
    Eigen::Map<Eigen::VectorXd> x(solution.data(), Eigen::Index(solution.size()));
    for (int k = count - 1; k >= 0; --k) {
        const Step& step = m_steps[m_stepOf[k]];
        const int last = std::min(count - 1, k + m_window);
        for (int j = k + 1; j <= last; ++j) {
            rowOf(b, k).noalias() -= step.upper[j - k - 1] * rowOf(x, j);
        }
        rowOf(x, k).noalias() = step.diagonalInverse * rowOf(b, k);
    }
    return solution;
}

Fft::Fft(std::size_t atLeast) {
    while (m_length < atLeast) {
        m_length *= 2;
    }
}

std::vector<Complex> Fft::inverse(const std::vector<Complex>& spectrum) const {
    std::vector<Complex> values;
    m_fft.inv(values, spectrum);
    return values;
}

std::vector<std::vector<Complex>>
Fft::spectraOf(const std::vector<std::vector<double>>& taps) const {
    std::vector<std::vector<Complex>> spectra(taps.size());
    for (std::size_t t = 0; t < taps.size(); ++t) {
        m_fft.fwd(spectra[t], taps[t]);
    }
    return spectra;
}

bool gmres(const LinearMap& apply, const std::vector<double>& rhs, std::vector<double>& x,
           double tolerance) {
    constexpr int kRestart = 20;
    constexpr int kCycles = 10;
    const auto n = Eigen::Index(rhs.size());
    const Eigen::Map<const Eigen::VectorXd> b(rhs.data(), n);
    Eigen::Map<Eigen::VectorXd> guess(x.data(), n);
    const IdentityPlusMap map(apply, n);
    const double goal = tolerance * b.norm();
    const double startResidual = (b - map.times(guess)).norm();
    if (startResidual <= goal) {
        return true;
    }
    Eigen::GMRES<IdentityPlusMap, Eigen::IdentityPreconditioner> solver(map);
    solver.set_restart(kRestart);
    solver.setMaxIterations(kRestart * kCycles);
    // Eigen measures the residual against the one it starts from.
    solver.setTolerance(goal / startResidual);
    const Eigen::VectorXd solution = solver.solveWithGuess(b, guess);
    guess = solution;
    return solver.info() == Eigen::Success;
}

} // namespace tarvix::field
