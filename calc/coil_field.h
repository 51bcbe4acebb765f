// The field solution of the winding's surface currents in the strong-skin limit:
// its turns as coaxial rings of perfectly conducting round wire, each ring's
// surface cut into bands, the band currents those that carry the same current in
// every ring in series. The helix's pitch angle is ignored.
//
// It gives the inductance at high frequency, where the current leaves the middle
// of the wire and crowds to the inside of the winding and away from the next
// turns: from 0.5 % below the low-frequency Nagaoka + Rosa value (thin wire
// spaced on a wide former) to 15.5 % below (2.6 mm wire close-wound on 0.75 in).
// No closed form follows it: Nagaoka + Rosa with the thin-skin self term on the
// mean diameter, plus R / omega, lies 0.1 to 14.6 % above it over formers of 0.75
// to 4 in, wire of SWG 12 to 28, pitches of 1 to 3 enamelled diameters and 1.8 to
// 30 MHz (close-wound, never within 1 %; at 3 diameters, up to 6.5 %), the more
// the thicker the wire against the former.
//
// The program takes only the inductance from it; the loss comes from Medhurst's
// measurements (calc/coil_loss.h). Its own loss, the surface resistance over the
// band currents, overstates the crowding where the enamel leaves a gap of only a
// few skin depths between turns (as the gap closes it grows without bound), and
// lies near half of Medhurst's measured loss for close-wound coils on 160 and
// 80 m; it is kept for the tests of the band currents against closed forms.
#pragma once

#include "calc/coil_winding.h"

#include <vector>

namespace tarvix {

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
    bool converged = true;     // false when GMRES stopped short of its tolerance
};
RingRowSolution solveRingRow(double ringRadiusM, double wireRadiusM, double pitchM,
                             const std::vector<double>& turnCurrents, int bandsPerTurn,
                             int windowTurns);

// The whole number of turns of the coil as a ring row, at a frequency, with the
// field solution's own loss (see above) and its reactive half, R / omega, in the
// inductance: every band coupled to every other, or (windowTurns given) as the
// program's solution does it.
CoilAtFrequency coilFieldSolution(const CoilWinding& coil, double freqMHz, int bandsPerTurn);
CoilAtFrequency coilFieldSolution(const CoilWinding& coil, double freqMHz, int bandsPerTurn,
                                  int windowTurns);

// The coil's inductance in the strong-skin limit, without the wire's internal
// inductance: the field solution with kCoilBandsPerTurn and kCoilWindowTurns. A
// fractional number of turns takes the ratio to the low-frequency inductance,
// interpolated between the whole numbers around it (two ring rows solved
// together); below one turn, one turn's ratio. Some milliseconds for 100 turns.
double strongSkinInductanceUH(const CoilWinding& coil);

// The same, and whether the field solution reached its tolerance: when it did
// not, the inductance is the last iterate's, and the caller says so.
struct StrongSkinInductance {
    double uH = 0;
    bool converged = true;
};
StrongSkinInductance strongSkinInductance(const CoilWinding& coil);

// What a user is told of a coil whose field solution stopped short.
inline constexpr const char* kFieldSolutionShortText =
    "the coil's field solution stopped short of its tolerance: its inductance is approximate";

} // namespace tarvix
