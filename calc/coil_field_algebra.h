// The linear algebra of the coil's field solution (calc/coil_field.cpp) on
// Eigen: dense square blocks, a block-banded Toeplitz system factored by block
// LU, the FFT for the far rings' convolution (Eigen's, on kissfft), and
// restarted GMRES (Eigen's). Internal to the field solution; nothing else in
// the program uses them.
#pragma once

#include <Eigen/Dense>
#include <complex>
#include <cstddef>
#include <functional>
#include <unsupported/Eigen/FFT>
#include <vector>

namespace tarvix::field {

using Complex = std::complex<double>;

// A square block.
using Block = Eigen::MatrixXd;

// A block-banded system whose blocks depend only on the offset between block
// rows (block Toeplitz), rows*size unknowns, factored once by block LU
// (Doolittle) without pivoting between blocks. The factors of such a band settle
// after some rows (to 1e-13), and from there on are reused.
class BandedBlockLu {
public:
    // near[offset + window] is the block at column - row = offset, |offset| <= window.
    BandedBlockLu(const std::vector<Block>& near, int window, int rows);
    // The solution for a right-hand side of any whole number of block rows up to
    // the factored count.
    std::vector<double> solve(std::vector<double> rhs) const;

private:
    struct Step {
        Block diagonalInverse;
        std::vector<Block> upper; // U(k, k + d), d = 1..window
        std::vector<Block> lower; // L(k + d, k), d = 1..window
    };
    const Block& upperOf(int row, int col) const;
    const Block& lowerOf(int row, int col) const;
    Step factorRow(int k, const std::vector<Block>& near) const;
    bool sameAsBefore(const Step& now, const Step& before) const;

    int m_window = 0;
    int m_size = 0;
    std::vector<Step> m_steps;
    std::vector<int> m_stepOf;
};

// Transforms of one power-of-two length; the inverse is scaled by 1 / length.
class Fft {
public:
    explicit Fft(std::size_t atLeast);
    std::size_t length() const { return m_length; }
    std::vector<Complex> inverse(const std::vector<Complex>& spectrum) const;
    // The spectra of real sequences of the transform's length.
    std::vector<std::vector<Complex>> spectraOf(const std::vector<std::vector<double>>& taps) const;

private:
    std::size_t m_length = 1;
    // Eigen's transform keeps the plans it has made: a cache, not a result,
    // hence mutable. One Fft serves one solution on one thread.
    mutable Eigen::FFT<double> m_fft;
};

// Solves x + apply(x) = rhs by restarted GMRES (Saad and Schultz 1986), 20 steps
// a cycle and at most 10 cycles, starting from x, until the residual is below
// tolerance * |rhs|. False when the cycles ran out first: x is then the last
// iterate, short of the tolerance.
using LinearMap = std::function<std::vector<double>(const std::vector<double>&)>;
bool gmres(const LinearMap& apply, const std::vector<double>& rhs, std::vector<double>& x,
           double tolerance);

} // namespace tarvix::field
