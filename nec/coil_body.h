// The body of each loading coil. The antenna model carries a coil as its
// impedance spread over the antenna's thin wire, but the coil is a cylinder of
// its own diameter over its length: it holds more charge to its surroundings
// than the wire it replaces, and its current's field outside it is that of a
// thick conductor, with less inductance per length. Near a tip, where the whole
// coil stands at a high voltage, a long coil lowers the resonance by percents.
//
// Each leg is taken as a transmission line of Schelkunoff's mean
// characteristic impedance, 60 (ln(2h/a) - 1) ohm for a leg of length h and a
// wire of radius a, and the coil's run as the same line with the coil's mean
// radius instead of the wire's. The body's impedance is what must be added in
// series with the coil, on the thin wire, for the leg to look the same from
// the feed side of the coil.
#pragma once

#include <complex>

namespace tarvix {

struct CoilBody {
    double legM = 0;        // from the feed to a tip
    double centreM = 0;     // from the feed to the coil's centre
    double lengthM = 0;     // the winding's length
    double wireRadiusM = 0; // the antenna wire's
    double meanRadiusM = 0; // the winding's, to the centre of its wire
};

// The impedance in series with each coil of coilOhm at freqMHz that stands for
// its body; zero for a coil no thicker than the wire or of no length.
std::complex<double> coilBodyOhm(const CoilBody& body, double freqMHz,
                                 std::complex<double> coilOhm);

} // namespace tarvix
