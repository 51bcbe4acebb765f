// The winding to build: the turns and spread, on the user's former with the
// user's wire, whose impedance at F across its terminals (self-capacitance
// included) makes the antenna resonate there. The search is on the winding
// itself, not for a bare inductance: a coil near its self-resonance acts as
// more inductance than it has.
#pragma once

#include "calc/coil_model.h"

#include <functional>
#include <optional>
#include <string>

namespace tarvix {

// What the corrected coil is wound with: the former (its diameter and what it
// is), the bare copper wire's diameter and, when the user fixes it, the pitch
// (inches).
struct CoilBuild {
    double formerDiaIn = 0;
    double wireDiaIn = 0;
    std::optional<double> pitchIn;
    std::string wireName; // "SWG 20", "AWG 18"; empty for a wire given by diameter
    CoilFormer former = CoilFormer::pvcPipe;
};

// The widest pitch a spread coil is taken to hold its turns at, in wire
// diameters over the enamel.
inline constexpr double kWidestSpread = 3;
// A coil is used well below its self-resonance: above a third of it the
// lumped figures drift, and small changes of the winding move the antenna a lot.
inline constexpr double kSelfResonanceMargin = 3;
// No winding has more turns than this.
inline constexpr int kMostTurns = 10000;

// What a winding (its circuit) lacks: below zero too little, zero just right,
// rising with the coil's reactance at F (the antenna's reactance at F does).
// Each winding tried costs a field solution of it, so the search first guesses
// from the low-frequency inductance against guessUH, the apparent inductance
// the need is about, and tries few windings in full.
using WindingNeed = std::function<double(const CoilCircuit&)>;

CoilWinding windingOf(const CoilBuild& build, double turns, double pitchIn);

// Without a pitch: the fewest whole turns that meet the need close-wound,
// spread evenly to the length that meets it exactly. Where that coil resonates
// by itself below three times F, more turns spread wider (up to kWidestSpread)
// are tried, and the first that keeps F below a third of its self-resonance is
// taken.
// With a pitch: the turns at that pitch, to a tenth of a turn and at least one,
// nearest the need.
// None where no winding meets it: a pitch below the enamelled diameter, a
// former or wire of no size, more than kMostTurns turns, or self-resonance
// reached before the need is met.
// unsettled, where given, is set when the search for the spread or the turns
// stopped short of its tolerance: the winding is then its last estimate.
std::optional<CoilCircuit> windingForNeed(const CoilBuild& build, double freqMHz, double guessUH,
                                          const WindingNeed& need, bool* unsettled = nullptr);

// The turns, to a tenth and at least one, at the pitch of the winding given
// that meet the need; none where none does. unsettled as for windingForNeed.
std::optional<double> turnsForNeed(const CoilBuild& build, double pitchIn, double freqMHz,
                                   double guessUH, const WindingNeed& need,
                                   bool* unsettled = nullptr);

} // namespace tarvix
