// The linear algebra of the coil's field solution (calc/coil_field.cpp): dense
// square blocks, a block-banded Toeplitz system factored by block LU, a radix-2
// FFT for the far rings' convolution, and restarted GMRES. Internal to the field
// solution; nothing else in the program uses them.
#pragma once

#include <complex>
#include <cstddef>
#include <functional>
#include <vector>

namespace tarvix::field {

using Complex = std::complex<double>;

// A square block, row-major.
struct Block {
    int size = 0;
    std::vector<double> value;
    explicit Block(int n = 0) : size(n), value(std::size_t(n) * n, 0.0) {}
    double& at(int row, int col) { return value[std::size_t(row) * size + col]; }
    double at(int row, int col) const { return value[std::size_t(row) * size + col]; }
};

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
    // The steps transposed, whose columns are contiguous for the solve.
    std::vector<Step> m_transposed;
};

// Radix-2 Cooley-Tukey of one power-of-two length, twiddles and the bit-reversed
// order computed once; the inverse is scaled by 1 / length.
class Fft {
public:
    explicit Fft(std::size_t atLeast);
    std::size_t length() const { return m_length; }
    void transform(std::vector<Complex>& data, bool inverse) const;
    // The spectra of two real sequences packed as first + i second, unpacked.
    void splitPair(const std::vector<Complex>& packed, std::vector<Complex>& first,
                   std::vector<Complex>& second) const;
    // The spectra of real sequences, two at a time through the transform.
    std::vector<std::vector<Complex>> spectraOf(const std::vector<std::vector<double>>& taps) const;

private:
    std::size_t m_length = 1;
    std::vector<Complex> m_twiddle;
    std::vector<std::size_t> m_reversed;
};

// Solves x + apply(x) = rhs by restarted GMRES (Saad and Schultz 1986), starting
// from x, until the residual is below tolerance * |rhs|.
using LinearMap = std::function<std::vector<double>(const std::vector<double>&)>;
void gmres(const LinearMap& apply, const std::vector<double>& rhs, std::vector<double>& x,
           double tolerance);

} // namespace tarvix::field
