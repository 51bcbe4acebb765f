// A second NEC-2 model of the loaded dipole, built apart from the program's
// own, for the tests: each loading coil is the helix of wire it is, not a
// lumped load. A helix carries the coil's inductance, its self-capacitance and
// its copper loss as the full-wave solution has them, so the antenna's
// resonance here is the coil's answer with nothing left out. It holds where
// NEC-2's thin-wire model holds: turns spaced three wire diameters or more.
// NEC-2 has no dielectric: every coil here is wound in air (CoilFormer::air,
// whatever the winding's former says).
#pragma once

#include "calc/coil_model.h"
#include "nec/nec2c.h"

#include <optional>
#include <string>
#include <vector>

namespace tarvix::test {

// A turn of the helix is this many straight segments.
inline constexpr int kHelixSegmentsPerTurn = 36;
// The straight wire's longest segments: this many to the wavelength at the
// design frequency.
inline constexpr double kHelixWireSegmentsPerWavelength = 200;

// The dipole of the program's model, its coils wound as helices along the
// wire, each centred on +-B, its axis the wire's, joined to the wire by a
// radial lead at each end. Lengths as the design has them (feet, inches).
// Within 0.05 % of the resonance, as far as 48 segments a turn and the
// straight wire's segments halved tell.
struct HelixAntenna {
    double designFreqMHz = 0;       // sets the straight wire's segments
    double totalLengthFt = 0;       // A, tip to tip
    double centreToCoilFt = 0;      // B, from the feed to each coil's centre
    double wireDiaIn = 0;           // the antenna wire
    CoilWinding coil;               // each coil; its length is turns * pitch
    std::optional<double> heightFt; // over average ground; free space without
    int segmentsPerTurn = kHelixSegmentsPerTurn;
    // n cuts the straight wire's segments n times finer.
    int wireRefinement = 1;
};

// The deck of the antenna: copper loss on every wire, the feed a 1 V source on
// the middle segment, one solve at each frequency. Throws NecDeckError when
// the coils do not fit on the wire, or hang into the ground.
std::string helixAntennaDeck(const HelixAntenna& antenna, const std::vector<double>& freqsMHz);

// How many segments the deck has, helices, leads and wire together.
int helixAntennaSegments(const HelixAntenna& antenna);

// The frequency where the feed's reactance rises through zero, nearest
// nearMHz: bracketed by steps of 3 % from it, then found by false position to
// 1e-4 of itself; none when 30 steps meet no such crossing. Throws
// NecEngineError when nec2c fails.
std::optional<double> helixResonanceMHz(const HelixAntenna& antenna, double nearMHz, Nec2c& engine);

// One coil alone in free space, copper, fed by a 1 V source on the segment
// at the middle of its wire. Its reactance there first rises through zero at
// the coil's self-resonance: the mode with the current greatest in the middle
// and the ends' voltages opposite, the one a dip meter or a coupled loop finds
// and that sets the self-capacitance across the coil's terminals.
std::string isolatedCoilDeck(const CoilWinding& coil, const std::vector<double>& freqsMHz,
                             int segmentsPerTurn = kHelixSegmentsPerTurn);

// That resonance nearest nearMHz, searched as helixResonanceMHz does.
std::optional<double> isolatedCoilResonanceMHz(const CoilWinding& coil, double nearMHz,
                                               Nec2c& engine,
                                               int segmentsPerTurn = kHelixSegmentsPerTurn);

} // namespace tarvix::test
