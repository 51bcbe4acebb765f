// A NEC-2 input deck of a designed loaded dipole, to check the design in an
// antenna simulator: one straight wire of total length A, fed at its centre,
// with the two loading coils as lumped inductances at +-B, in free space or
// over average ground, swept in frequency around the design frequency.
#pragma once

#include "calc/design_run.h"

#include <iosfwd>
#include <optional>
#include <stdexcept>

namespace tarvix {

// The design cannot be modelled as a deck (a wire too short against its
// radius, coils beyond the wire's ends, ...). Raised before anything is
// written.
class NecDeckError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The frequency sweep: 41 frequencies from 80 % to 120 % of F, far enough
// either side to see where the feed-point reactance changes sign.
inline constexpr double kNecSweepLowFactor = 0.8;
inline constexpr double kNecSweepHighFactor = 1.2;
inline constexpr int kNecSweepPoints = 41;

// Average ground for --height.
inline constexpr double kGroundPermittivity = 13;
inline constexpr double kGroundConductivity = 0.005; // S/m

// NEC numbers segments 1 to segments along the wire. The feed is the centre
// segment; the coils sit coilOffset segments either side of it (both on the
// feed segment when the offset is 0).
struct NecSegmentation {
    int segments = 0;
    int feedSegment = 0;
    int coilOffset = 0;
};

// An odd number of segments, each short against the wavelength (at most 1/20
// at the top of the sweep) and long against the wire (at least 8 radii, and a
// thousandth of the wavelength at the bottom of the sweep). From the fewest
// upwards, the first count that puts a segment centre within 0.2 % of A of B;
// when the bounds allow none, the count that comes nearest.
NecSegmentation chooseSegmentation(double freqMHz, double totalLengthFt, double centreToCoilFt,
                                   double wireDiaIn);

// The whole deck for a design whose inductance was computed; the winding is
// described in the comments when it was computed too. Throws NecDeckError
// (before writing) when the design cannot be modelled.
void writeNecDeck(std::ostream& out, const DesignResult& design, std::optional<double> heightFt);

} // namespace tarvix
