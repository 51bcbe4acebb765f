// The loading coil's loss: Medhurst's measured proximity factor times the loss of
// the same wire straight and isolated, whose internal impedance is the exact
// round-wire solution at any frequency.
#pragma once

#include "calc/coil_winding.h"

#include <complex>

namespace tarvix {

// Medhurst (1947, Wireless Engineer 24, pp. 35-43 and 80-92), the proximity factor Phi of a
// single-layer coil measured on real coils: its high-frequency series resistance
// over that of the same wire straight and isolated at the same frequency. From
// his table by winding length over mean diameter (0 to 10, and infinite) and pitch
// over bare wire diameter (1 to 10, and infinite): bilinear, in l/D up to 10 and
// in D/l beyond (toward the infinitely long coil), and in d/p, in which his
// columns are evenly spaced (1, 0.9, ..., 0.1, 0). A pitch below the bare diameter
// is taken as touching. It holds where the wire is several skin depths thick, as
// his wires were; on thinner wire it overstates the loss.
double medhurstProximityFactor(double lengthToDiameter, double pitchToWireDia);

// The internal impedance of a straight isolated round copper wire (5.8e7 S/m) of
// a bare diameter and a length, at a frequency (> 0): the exact solution of the
// skin effect in a round wire (Rayleigh 1886; Z = (k / (2 pi a sigma)) J0(ka) / J1(ka),
// k = (1 - j) / delta), with the Bessel ratio by its continued fraction, so that it
// holds from the DC resistance (far below, when the skin depth exceeds the radius)
// to Rs l / (pi (d - delta)) and on to Rs l / (pi d) when the wire is many skin
// depths thick, Rs = sqrt(pi f mu0 / sigma). The reactive part is the wire's
// internal reactance: omega mu0 l / (8 pi) at low frequency, equal to the
// resistance in the strong-skin limit.
std::complex<double> roundWireImpedanceOhm(double wireDiaIn, double lengthIn, double freqMHz);

// The coil's wire at a frequency: Phi (medhurstProximityFactor, with l = turns x
// pitch and D = former + wire) times the isolated wire's internal impedance, for
// the helix's wire length (windingWireLengthIn). Its real part is the coil's
// series loss; its imaginary part the internal reactance, taken as Phi times the
// isolated wire's, as the surface impedance (1 + j) Rs has it wherever the wire is
// many skin depths thick.
std::complex<double> coilWireImpedanceOhm(const CoilWinding& coil, double freqMHz);

} // namespace tarvix
