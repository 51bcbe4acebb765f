// The search on the winding. At a fixed pitch the need rises with the turns up
// to the coil's self-resonance (beyond it the coil is a capacitor), and for
// fixed turns it falls as they are spread. A guess from the low-frequency
// inductance, scaled by what the field solution of the last winding tried
// gave, picks where to look; whole turns are then stepped and the spread or the
// fraction of a turn closed in on by false position.
#include "nec/winding_search.h"

#include "nec/coil_load.h"
#include "nec/roots.h"

#include <cmath>
#include <numbers>

namespace tarvix {

namespace {

constexpr int kBisections = 60;
constexpr int kGuesses = 3;
// Turns to a tenth, as a whole number of tenths divided by ten, so that the
// figure is the nearest double to the tenth (9.7, not 9.700000000000001).
constexpr double kTenthsPerTurn = 10;
constexpr double kPitchTolerance = 1e-7;
constexpr double kTurnsTolerance = 1e-6;
// Turns spread farther than this many times close-wound no longer make a coil
// that holds its shape; a need still not met there has no spread winding.
constexpr double kFarthestSpread = 10;
// The smallest first step of a spread, as a share of its whole range.
constexpr double kFirstSpreadSteps = 64;

// The guess: the apparent inductance at F of the low-frequency inductance,
// times ratio, with the self-capacitance across it.
class Guess {
public:
    Guess(double freqMHz, double guessUH) : m_freqMHz(freqMHz), m_guessUH(guessUH) {}

    double need(const CoilWinding& winding) const {
        const double reactance =
            2 * std::numbers::pi * m_freqMHz * m_ratio * lowFrequencyInductanceUH(winding);
        const double apparent =
            withCapacitanceAcross({0, reactance}, selfCapacitancePF(winding), m_freqMHz).imag() /
            (2 * std::numbers::pi * m_freqMHz);
        return apparent - m_guessUH;
    }

    // What a field solution says of the guess's inductance.
    void learn(const CoilCircuit& circuit) {
        m_ratio = circuit.atFrequency(m_freqMHz).inductanceUH /
                  lowFrequencyInductanceUH(circuit.winding());
    }

private:
    double m_freqMHz;
    double m_guessUH;
    double m_ratio = 1;
};

bool belowSelfResonance(const CoilWinding& winding, double freqMHz) {
    return selfResonanceMHz(winding) > freqMHz;
}

// The fewest whole turns at the pitch whose guess meets the need; none past
// self-resonance.
std::optional<int> guessedTurns(const CoilBuild& build, double pitchIn, double freqMHz,
                                const Guess& guess) {
    for (int turns = 1; turns <= kMostTurns; ++turns) {
        const CoilWinding winding = windingOf(build, turns, pitchIn);
        if (!belowSelfResonance(winding, freqMHz)) {
            return std::nullopt;
        }
        if (guess.need(winding) >= 0) {
            return turns;
        }
    }
    return std::nullopt;
}

// The fewest whole turns at the pitch that meet the need, in full.
std::optional<CoilCircuit> fewestTurns(const CoilBuild& build, double pitchIn, double freqMHz,
                                       Guess& guess, const WindingNeed& need) {
    std::optional<int> turns;
    std::optional<CoilCircuit> circuit;
    for (int round = 0; round < kGuesses; ++round) {
        const auto next = guessedTurns(build, pitchIn, freqMHz, guess);
        if (!next || next == turns) {
            break;
        }
        turns = next;
        circuit.emplace(windingOf(build, *turns, pitchIn));
        guess.learn(*circuit);
    }
    if (!circuit) {
        turns = 1;
        circuit.emplace(windingOf(build, 1, pitchIn));
    }
    if (need(*circuit) >= 0) {
        while (*turns > 1) {
            CoilCircuit fewer(windingOf(build, *turns - 1, pitchIn));
            if (need(fewer) < 0) {
                break;
            }
            --*turns;
            circuit.emplace(fewer);
        }
        return circuit;
    }
    while (++*turns <= kMostTurns) {
        const CoilWinding winding = windingOf(build, *turns, pitchIn);
        if (!belowSelfResonance(winding, freqMHz)) {
            return std::nullopt;
        }
        circuit.emplace(winding);
        if (need(*circuit) >= 0) {
            return circuit;
        }
    }
    return std::nullopt;
}

// The pitch of the guess between close and wide at which the turns meet it.
// Only a guess: whether its bisection converged does not matter, as the
// windings it picks are then solved in full.
double guessedPitch(const CoilBuild& build, int turns, double close, double wide,
                    const Guess& guess) {
    auto meets = [&](double pitch) { return guess.need(windingOf(build, turns, pitch)) >= 0; };
    return bisectedRoot(meets, close, wide, kBisections, 0).x;
}

void noteUnsettled(const Root& root, bool* unsettled) {
    if (!root.converged && unsettled != nullptr) {
        *unsettled = true;
    }
}

// The pitch from close-wound up to widestPitchIn at which the turns (which
// meet the need close-wound) meet it exactly; none where they still exceed it
// at widestPitchIn.
std::optional<CoilCircuit> spread(const CoilBuild& build, int turns, double widestPitchIn,
                                  double freqMHz, Guess& guess, const WindingNeed& need,
                                  bool* unsettled) {
    const double close = enamelledDiameterIn(build.wireDiaIn);
    // A long coil's self-capacitance grows with its length: spread too far it
    // resonates by itself below F, where its reactance has passed through a
    // pole and the need is no longer monotonic. The spread stops short of that.
    if (!belowSelfResonance(windingOf(build, turns, widestPitchIn), freqMHz)) {
        double below = close;
        double above = widestPitchIn;
        for (int step = 0; step < kBisections; ++step) {
            const double middle = (below + above) / 2;
            (belowSelfResonance(windingOf(build, turns, middle), freqMHz) ? below : above) = middle;
        }
        widestPitchIn = below;
    }
    auto needAt = [&](double pitch) {
        const CoilCircuit circuit(windingOf(build, turns, pitch));
        guess.learn(circuit);
        return need(circuit);
    };
    const double atClose = needAt(close);
    if (atClose < 0) {
        return std::nullopt;
    }
    if (atClose == 0) {
        return CoilCircuit(windingOf(build, turns, close));
    }
    double inside = close;
    double insideNeed = atClose;
    // The guess may put the root at close-wound where the solve does not: the
    // first step out is then a small one, and each after it doubles.
    double outside = std::max(guessedPitch(build, turns, close, widestPitchIn, guess),
                              close + (widestPitchIn - close) / kFirstSpreadSteps);
    double outsideNeed = needAt(outside);
    while (outsideNeed >= 0) {
        if (outside >= widestPitchIn) {
            return std::nullopt;
        }
        inside = outside;
        insideNeed = outsideNeed;
        outside = std::min(widestPitchIn, close + 2 * (outside - close));
        outsideNeed = needAt(outside);
    }
    const Root pitch =
        bracketedRoot(needAt, inside, insideNeed, outside, outsideNeed, kPitchTolerance);
    noteUnsettled(pitch, unsettled);
    return CoilCircuit(windingOf(build, turns, pitch.x));
}

bool wellBelowSelfResonance(const CoilWinding& winding, double freqMHz) {
    return selfResonanceMHz(winding) >= kSelfResonanceMargin * freqMHz;
}

bool buildable(const CoilBuild& build, double freqMHz) {
    return build.formerDiaIn > 0 && build.wireDiaIn > 0 && freqMHz > 0 &&
           std::isfinite(build.formerDiaIn) && std::isfinite(build.wireDiaIn);
}

} // namespace

CoilWinding windingOf(const CoilBuild& build, double turns, double pitchIn) {
    CoilWinding winding;
    winding.turns = turns;
    winding.pitchIn = pitchIn;
    winding.formerDiaIn = build.formerDiaIn;
    winding.wireDiaIn = build.wireDiaIn;
    winding.former = build.former;
    return winding;
}

std::optional<double> turnsForNeed(const CoilBuild& build, double pitchIn, double freqMHz,
                                   double guessUH, const WindingNeed& need, bool* unsettled) {
    if (!buildable(build, freqMHz) || !(pitchIn >= enamelledDiameterIn(build.wireDiaIn))) {
        return std::nullopt;
    }
    Guess guess(freqMHz, guessUH);
    const auto whole = fewestTurns(build, pitchIn, freqMHz, guess, need);
    if (!whole) {
        return std::nullopt;
    }
    const double many = whole->winding().turns;
    if (many <= 1) {
        return 1.0;
    }
    auto needAt = [&](double turns) { return need(CoilCircuit(windingOf(build, turns, pitchIn))); };
    const Root turns =
        bracketedRoot(needAt, many - 1, needAt(many - 1), many, need(*whole), kTurnsTolerance);
    noteUnsettled(turns, unsettled);
    const double tenths = std::floor(turns.x * kTenthsPerTurn);
    const double below = std::max(1.0, tenths / kTenthsPerTurn);
    const double above = (tenths + 1) / kTenthsPerTurn;
    return std::fabs(needAt(below)) <= std::fabs(needAt(above)) ? below : above;
}

std::optional<CoilCircuit> windingForNeed(const CoilBuild& build, double freqMHz, double guessUH,
                                          const WindingNeed& need, bool* unsettled) {
    if (!buildable(build, freqMHz)) {
        return std::nullopt;
    }
    if (build.pitchIn) {
        const auto turns = turnsForNeed(build, *build.pitchIn, freqMHz, guessUH, need, unsettled);
        return turns ? std::optional(CoilCircuit(windingOf(build, *turns, *build.pitchIn)))
                     : std::nullopt;
    }
    const double close = enamelledDiameterIn(build.wireDiaIn);
    Guess guess(freqMHz, guessUH);
    const auto fewest = fewestTurns(build, close, freqMHz, guess, need);
    if (!fewest) {
        return std::nullopt;
    }
    const int turns = static_cast<int>(fewest->winding().turns);
    // Whether the spread of the winding given back settled: only that one's.
    bool foundUnsettled = false;
    auto given = [&](std::optional<CoilCircuit> circuit, bool circuitUnsettled) {
        if (circuitUnsettled && unsettled != nullptr) {
            *unsettled = true;
        }
        return circuit;
    };
    const auto found =
        spread(build, turns, kFarthestSpread * close, freqMHz, guess, need, &foundUnsettled);
    if (!found || wellBelowSelfResonance(found->winding(), freqMHz)) {
        return given(found, foundUnsettled);
    }
    // More turns, spread wider, lower the self-capacitance: the first such
    // winding that holds its turns and stays well below its self-resonance,
    // picked by the guess and then solved in full.
    const double widest = kWidestSpread * close;
    for (int more = turns + 1; more <= kMostTurns; ++more) {
        if (guess.need(windingOf(build, more, widest)) >= 0) {
            break;
        }
        const double pitch = guessedPitch(build, more, close, widest, guess);
        if (wellBelowSelfResonance(windingOf(build, more, pitch), freqMHz)) {
            bool widerUnsettled = false;
            if (auto wider = spread(build, more, widest, freqMHz, guess, need, &widerUnsettled)) {
                return given(wider, widerUnsettled);
            }
            break;
        }
    }
    return given(found, foundUnsettled);
}

} // namespace tarvix
