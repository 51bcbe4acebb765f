// What a deck asks of the engine, read from its cards, for the time it may
// take (solveTimeLimit, declared in nec/nec_engine.h) and the runner's counts.
// Internal to nec/.
#pragma once

#include <string>

namespace tarvix::nec_detail {

// From a deck's GW, FR and GN cards: its segments, its frequencies (at least
// one), and whether it has a ground.
struct DeckSize {
    long long segments = 0;
    long long frequencies = 0;
    bool overGround = false;
};

DeckSize deckSize(const std::string& deck);

// The deck's frequencies as an engine counts them: held to half the int
// range, so that a count of many decks cannot overflow.
int countedFrequencies(const std::string& deck);

} // namespace tarvix::nec_detail
