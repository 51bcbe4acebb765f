// The loading coil's winding: a single layer of round enamelled copper wire on a
// cylindrical former. Its geometry (enamel, wire length), its inductance at low
// frequency (Nagaoka's current sheet with Rosa's round-wire corrections), and the
// plain record of its values at a frequency.
//
// Enamel: grade-1 (single-build) enamel, taken as adding 0.045 mm x sqrt(d / 1 mm)
// to the bare diameter d; near IEC 60317 grade-1 typical increases (about +0.045 mm
// at 1 mm, +0.03 mm at 0.5 mm, +0.02 mm at 0.2 mm). A close-wound coil's pitch is
// the enamelled diameter.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace tarvix {

// What the winding lies on; it sets the permittivity inside the winding, and so
// the self-capacitance (calc/coil_capacitance.h).
enum class CoilFormer {
    pvcPipe,  // a PVC tube: mostly air inside
    air,      // self-supporting, or on thin spacers
    solidRod, // a solid rod of relative permittivity 2.5 (polystyrene), as Medhurst's
};

// The formers by the names the command line takes and the reports give, in
// the order of CoilFormer: "pvc", "air", "rod".
inline constexpr std::array kCoilFormerNames{"pvc", "air", "rod"};
const char* coilFormerName(CoilFormer former);
std::optional<CoilFormer> coilFormerNamed(std::string_view name);

// A single-layer coil of round copper wire; lengths in inches.
struct CoilWinding {
    double turns = 0;       // not necessarily whole
    double pitchIn = 0;     // centre to centre of neighbouring turns
    double formerDiaIn = 0; // the former the wire lies on
    double wireDiaIn = 0;   // the bare copper's diameter
    CoilFormer former = CoilFormer::pvcPipe;
};

// The coil at a frequency, its self-capacitance aside: the series inductance and
// loss resistance of its wire, and Q = 2 pi f L / R.
struct CoilAtFrequency {
    double inductanceUH = 0;
    double resistanceOhm = 0;
    double q = 0;
};

// The wire's diameter over its enamel, which sets the pitch of a close-wound coil.
double enamelledDiameterIn(double bareDiaIn);

// Said of a pitch below enamelledDiameterIn: no winding has its turns closer.
inline constexpr const char* kPitchBelowEnamelText =
    "is less than the wire's diameter over its enamel";

// The length of wire in the winding itself (the helix), without leads, in inches.
double windingWireLengthIn(const CoilWinding& coil);

// Nagaoka (1909), the inductance of a uniform cylindrical current sheet relative
// to an infinitely long one, by diameter / length; exact for any ratio > 0.
double nagaokaCoefficient(double diameterToLength);

// Rosa (1907, Bull. Bureau of Standards 4; Scientific Paper 169), corrections of a
// current sheet to round wire, valid while the pitch is small against the coil's
// radius. A, the self term, from pitch / wire diameter (>= 1): the strip of width p
// (GMR e^(-3/2) p) against the round wire (GMR r e^(-1/4) with its internal
// inductance), A = 5/4 - ln(2p/d). thinSkin drops the wire's internal inductance:
// its GMR becomes r and A = 3/2 - ln(2p/d), the value for which one turn is the
// thin-skin ring mu0 a (ln(8a/r) - 2). B, the mutual term, for turns >= 1 from its
// definition, the strips' geometric mean distances against the wires' distances;
// between whole numbers of turns it is interpolated linearly, and it is 0 below 1.
double rosaSelfTerm(double pitchToWireDia, bool thinSkin);
double rosaMutualTerm(double turns);

// Nagaoka + Rosa (low frequency, the current uniform over the copper) on the mean
// diameter formerDia + wireDia and the length turns * pitch.
double lowFrequencyInductanceUH(const CoilWinding& coil);

} // namespace tarvix
