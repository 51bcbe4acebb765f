// The couplings of the coil's field solution (calc/coil_field.cpp): the bands of
// a ring's surface, their mutual inductances within the window of near rings,
// and the far rings through the harmonics of their band currents. Internal to
// the field solution.
#pragma once

#include "calc/coil_field_algebra.h"

#include <array>
#include <vector>

namespace tarvix::field {

// The harmonics around the wire by which rings beyond the window act.
constexpr int kFarHarmonics = 3;
constexpr int kModes = 2 * kFarHarmonics + 1;
constexpr int kFarSamples = 8;

using ModeShape = std::array<double, kModes>;

// The bands of one ring's surface: band b is centred at the angle 2 pi (b + 1/2) / M
// from the outward radial direction, so that z -> -z maps band b onto M - 1 - b.
struct Bands {
    int count;
    double wireRadiusM;
    double widthM;
    std::vector<double> angle, rhoM, zM;
};

Bands makeBands(double ringRadiusM, double wireRadiusM, int count);

// The system per ring: its band currents and its flux psi; rows are the bands'
// flux balance (sum_j M_ij I_j - psi = 0) and the ring's current. The rings within
// the window are coupled directly; the blocks, by offset -window..window, depend
// on the offset alone.
std::vector<Block> nearBlocks(const Bands& bands, int window, double pitchM);

// The rings beyond the window act through the lowest Fourier modes of their band
// currents around the wire, up to cos 3 theta, sin 3 theta (each next one is
// weaker by the wire's radius over the distance, 1/6 at 3 pitches), and their
// flux over a ring's surface is taken by the same modes. The flux in mode p of
// ring k from mode q of ring l depends on l - k alone and vanishes within the
// window: a convolution over the rings, done by FFT.
class FarRings {
public:
    FarRings(const Bands& bands, double ringRadiusM, double pitchM, int rings, int window);
    // The far flux at the band rows of the ring-row vector from the modes
    // [firstMode, lastMode] of its band currents.
    std::vector<double> flux(const std::vector<double>& currents, int firstMode,
                             int lastMode) const;

private:
    std::vector<std::vector<double>> kernelTaps(const Bands& bands, double ringRadiusM,
                                                double pitchM, int rings, int window) const;
    void pairKernels(const std::vector<std::vector<Complex>>& kernel);

    int m_bands;
    Fft m_fft;
    std::vector<ModeShape> m_modeShape;
    // Received modes p and p + 1 go out together as the real and imaginary parts
    // of one inverse transform: their kernels combined as first + i second.
    std::vector<std::vector<Complex>> m_pairedKernel;
};

} // namespace tarvix::field
