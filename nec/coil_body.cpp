// A coil's body as a thicker run of the leg's transmission line.
#include "nec/coil_body.h"

#include "calc/physical_constants.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tarvix {

namespace {

using Complex = std::complex<double>;

// Schelkunoff's mean characteristic impedance of a leg of length h of a wire
// of radius a.
double characteristicOhm(double legM, double radiusM) {
    return 60 * (std::log(2 * legM / radiusM) - 1);
}

// The input admittance of a lossless line of z0 and electrical length
// (radians), ended in the admittance load; admittances keep an open end finite.
Complex throughLine(Complex load, double z0, double electrical) {
    const double y0 = 1 / z0;
    const Complex t(0, std::tan(electrical));
    return y0 * (load + y0 * t) / (y0 + load * t);
}

} // namespace

Complex coilBodyOhm(const CoilBody& body, double freqMHz, Complex coilOhm) {
    const double thin = characteristicOhm(body.legM, body.wireRadiusM);
    const double thick = characteristicOhm(body.legM, body.meanRadiusM);
    // A coil as wide as a good part of its leg is no run of a line at all.
    if (!(body.meanRadiusM > body.wireRadiusM && body.lengthM > 0 && thick > 0 && thin > thick)) {
        return 0;
    }
    const double k = 2 * std::numbers::pi * freqMHz * 1e6 / kLightMetresPerSecond;
    const double half = k * body.lengthM / 2;
    // The wire beyond the coil, open at the tip.
    const double beyond = std::max(body.legM - body.centreM - body.lengthM / 2, 0.0);
    const Complex tip = throughLine(0, thin, k * beyond);
    // The coil's run as the thick line it is, seen from its feed end ...
    const Complex thickRun =
        throughLine(1.0 / (coilOhm + 1.0 / throughLine(tip, thick, half)), thick, half);
    // ... and the thin run with the coil plus its body: the same from there.
    const Complex thinOuter = 1.0 / throughLine(tip, thin, half);
    const Complex thinInner = 1.0 / throughLine(thickRun, thin, -half);
    return thinInner - thinOuter - coilOhm;
}

} // namespace tarvix
