// The antenna as a two-port network, port 1 the feed and port 2 both coils
// driven together, solved by nec2c at a few frequencies; the feed impedance
// of the antenna with any coils in them follows by circuit algebra, and a
// rational function of frequency through those points models it between.
#pragma once

#include "nec/nec_deck.h"
#include "nec/nec_engine.h"

#include <complex>
#include <optional>
#include <stdexcept>
#include <vector>

namespace tarvix {

// The engine's listing of a two-port deck lacks a solution or a source it
// should have: the search falls back to solving each antenna directly.
class TwoPortShortfall : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The admittances at one frequency: I1 = y11 V1 + y12 V2, I2 = y21 V1 + y22
// V2, with V2 on both coils at once and I2 the current of one coil (both are
// equal: the antenna is its own mirror image about the feed).
struct TwoPortPoint {
    double freqMHz = 0;
    std::complex<double> y11, y12, y21, y22;
};

// Solves the model's two-port at the frequencies, in one deck. Throws
// NecDeckError, NecEngineError, and TwoPortShortfall.
std::vector<TwoPortPoint> solveTwoPort(const AntennaModel& model,
                                       const std::vector<double>& freqsMHz, NecEngine& engine);

// The feed impedance with a coil of coilOhm (complex) on each coil port: each
// coil's voltage is -coilOhm I2, which makes the impedance bilinear in it,
// (1 + y22 Zc) / (y11 + (y11 y22 - y12 y21) Zc).
std::complex<double> loadedImpedance(const TwoPortPoint& port, std::complex<double> coilOhm);

// The impedance of a coil of coilUH and a series loss of lossOhm at freqMHz.
std::complex<double> coilImpedance(double coilUH, double lossOhm, double freqMHz);

// Chebyshev points of count frequencies over centre +- halfSpan, from low to
// high; with count odd, one is the centre exactly.
std::vector<double> chebyshevFrequencies(double centreMHz, double halfSpanMHz, int count);

// The rational function of degree m over degree m, m = (points - 1) / 2,
// through an odd number of points (frequency, impedance): Z(x) = P(x) / Q(x),
// Q(0) = 1, in x running from -1 to 1 over the band of the points. None when
// the points determine no such function.
class RationalModel {
public:
    static std::optional<RationalModel> through(const std::vector<double>& freqsMHz,
                                                const std::vector<std::complex<double>>& values,
                                                double lowMHz, double highMHz);
    std::complex<double> operator()(double freqMHz) const;

private:
    double m_centreMHz = 0;
    double m_halfSpanMHz = 1;
    std::vector<std::complex<double>> m_numerator;   // from x^0
    std::vector<std::complex<double>> m_denominator; // from x^1; x^0 is 1
};

} // namespace tarvix
