// The loading coil as a winding: a single layer of round enamelled copper wire
// on a cylindrical former. Its inductance at low frequency (Nagaoka's current
// sheet with Rosa's round-wire corrections), its inductance and loss at the
// working frequency from a field solution of the wire's surface currents, its
// self-capacitance and self-resonance, and the winding that has a wanted
// inductance at a frequency.
//
// Enamel: grade-1 (single-build) enamel, taken as adding 0.045 mm x sqrt(d / 1 mm)
// to the bare diameter d; near IEC 60317 grade-1 typical increases (about +0.045 mm
// at 1 mm, +0.03 mm at 0.5 mm, +0.02 mm at 0.2 mm). A close-wound coil's pitch is
// the enamelled diameter.
#pragma once

#include <optional>
#include <vector>

namespace tarvix {

// A single-layer coil of round copper wire; lengths in inches.
struct CoilWinding {
    double turns = 0;       // not necessarily whole
    double pitchIn = 0;     // centre to centre of neighbouring turns
    double formerDiaIn = 0; // the former the wire lies on
    double wireDiaIn = 0;   // the bare copper's diameter
};

// The wire's diameter over its enamel, which sets the pitch of a close-wound coil.
double enamelledDiameterIn(double bareDiaIn);

// Said of a pitch below enamelledDiameterIn: no winding has its turns closer.
inline constexpr const char* kPitchBelowEnamelText =
    "is less than the wire's diameter over its enamel";

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

// Nagaoka + Rosa (low frequency) on the mean diameter formerDia + wireDia and
// the length turns * pitch.
double lowFrequencyInductanceUH(const CoilWinding& coil);

// The coil at a frequency: inductance and series loss resistance from skin and
// proximity effect in copper (5.8e7 S/m), and Q = 2 pi f L / R.
//
// The model is the strong-skin limit: the current flows on the wire's surface,
// so it holds while the skin depth (0.066 mm / sqrt(f in MHz)) is small against
// the wire's radius. Turns are coaxial rings (the helix's pitch angle is
// ignored); each ring's surface is cut into bands and the band currents are those
// of perfectly conducting rings that carry the same current in series. The loss
// is that of the surface impedance (1 + j) Rs, Rs = sqrt(pi f mu0 / sigma), over
// those currents, and its reactive half adds R / omega to the inductance. Where
// the enamel leaves a gap between turns of only a few skin depths, the field's
// entry into the copper on both sides of it is ignored, which overstates the
// crowding there (most at the coil's ends, where the field crosses the winding);
// as the gap closes (pitch = bare diameter) the model's loss grows without bound,
// so it is meant for pitches of at least the enamelled diameter.
// A fractional number of turns takes the field solution's ratios to the
// low-frequency inductance and to an isolated wire's loss, interpolated between
// the whole numbers around it (two field solutions).
struct CoilAtFrequency {
    double inductanceUH = 0;
    double resistanceOhm = 0;
    double q = 0;
};
CoilAtFrequency coilAtFrequency(const CoilWinding& coil, double freqMHz);

// Self-capacitance, Medhurst (1947, Wireless Engineer 24) as commonly fitted:
// C[pF] = H(l/D) * D[cm] with H = 0.1126 l/D + 0.08 + 0.27 / sqrt(l/D), D the
// mean diameter; fitted to single-layer coils of l/D from about 0.1 to 50. The
// self-resonant frequency uses the low-frequency inductance.
double selfCapacitancePF(const CoilWinding& coil);
double selfResonanceMHz(const CoilWinding& coil);

// The length of wire in the winding itself (the helix), without leads, in inches.
double windingWireLengthIn(const CoilWinding& coil);

// The winding of a target inductance at freqMHz on a former with a wire (bare
// diameter).
// pitchIn empty: the fewest whole turns that reach the target close-wound (pitch =
// enamelled diameter), spread evenly (larger pitch) to the length at which the
// inductance at freqMHz is the target (within 0.1 %).
// pitchIn given: that pitch, and the turns, to a tenth of a turn and at least one,
// whose inductance at freqMHz is nearest the target.
// std::nullopt when no winding can have it: a target <= 0 or not finite, a
// frequency <= 0, a pitch below the enamelled diameter, a former or wire of no
// size, or more than 10000 turns.
std::optional<CoilWinding> windingForInductance(double targetUH, double freqMHz, double formerDiaIn,
                                                double wireDiaIn, std::optional<double> pitchIn);

// The field solution behind coilAtFrequency.
//
// The program's choice: bands per turn, and the turns on each side of a turn whose
// bands couple to its bands one by one. Turns beyond that window are some wire
// diameters away, where their field over the wire is smooth: they act through
// the harmonics of their band currents around the wire up to cos 3 theta,
// sin 3 theta, and receive the field in the same harmonics. That far coupling
// depends only on the distance in turns, so it is a convolution (by FFT), and the
// whole system is solved by GMRES with the windowed system, factored once, as
// preconditioner.
//
// 24 bands: from 24 to 48 the loss of close-wound coils moves by under 1 % and the
// inductance by under 0.05 %, where from 12 to 24 the loss moved by up to 10 %.
// A window of 2 turns: on 40 to 60 turns the result agrees with the full
// solution within 0.05 % in loss and 0.001 % in inductance.
inline constexpr int kCoilBandsPerTurn = 24;
inline constexpr int kCoilWindowTurns = 2;

// A row of equal coaxial rings of round wire, axially spaced by the pitch, ring k
// carrying turnCurrents[k] (in amperes, any sign), their surfaces perfectly
// conducting. windowTurns >= number of rings - 1 couples every band to every
// other directly: the full solution.
struct RingRowSolution {
    double inductanceH = 0;    // 2 W / I^2 for the unit current, W the stored energy
    double lossPerRsOhm = 0;   // the loss resistance per ohm of surface resistance
    std::vector<double> bandA; // the band currents, ring by ring
};
RingRowSolution solveRingRow(double ringRadiusM, double wireRadiusM, double pitchM,
                             const std::vector<double>& turnCurrents, int bandsPerTurn,
                             int windowTurns);

// The whole number of turns of the coil as a ring row, at a frequency: every band
// coupled to every other, or (windowTurns given) as coilAtFrequency does it.
CoilAtFrequency coilFieldSolution(const CoilWinding& coil, double freqMHz, int bandsPerTurn);
CoilAtFrequency coilFieldSolution(const CoilWinding& coil, double freqMHz, int bandsPerTurn,
                                  int windowTurns);

} // namespace tarvix
