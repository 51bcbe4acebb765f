// How long nec2c may take over a deck, from what the deck asks of it.
#include "nec/time_budget.h"

#include "calc/number_text.h"
#include "nec/listing_reader.h"
#include "nec/nec_engine.h"

#include <algorithm>
#include <limits>
#include <sstream>
#include <string_view>

namespace tarvix {

namespace {

// The seconds of a slow machine for one frequency: per pair of segments in
// the matrix fill, and per segment cubed in its factorisation.
constexpr double kFillSecondsFreeSpace = 1e-6;
constexpr double kFillSecondsOverGround = 1e-5;
constexpr double kFactorSeconds = 1e-9;
constexpr double kTimeMargin = 10;
constexpr double kLeastSeconds = 60;
// A year is as good as for ever, and keeps the milliseconds in range.
constexpr double kMostSeconds = 3.2e7;

} // namespace

namespace nec_detail {

DeckSize deckSize(const std::string& deck) {
    DeckSize size;
    std::istringstream cards(deck);
    for (std::string card; std::getline(cards, card);) {
        std::string_view fields(card);
        long long first = 0;
        long long second = 0;
        if (card.rfind("GW", 0) == 0) {
            fields.remove_prefix(2);
            if (readNumber(fields, first) && readNumber(fields, second)) {
                size.segments += std::max(0LL, second);
            }
        } else if (card.rfind("FR", 0) == 0) {
            fields.remove_prefix(2);
            if (readNumber(fields, first) && readNumber(fields, second)) {
                size.frequencies += std::max(1LL, second);
            }
        } else if (card.rfind("GN", 0) == 0) {
            fields.remove_prefix(2);
            size.overGround = readNumber(fields, first) && first != -1;
        }
    }
    size.frequencies = std::max(1LL, size.frequencies);
    return size;
}

int countedFrequencies(const std::string& deck) {
    return static_cast<int>(
        std::min<long long>(deckSize(deck).frequencies, std::numeric_limits<int>::max() / 2));
}

} // namespace nec_detail

std::chrono::milliseconds solveTimeLimit(const std::string& deck) {
    const nec_detail::DeckSize size = nec_detail::deckSize(deck);
    const auto segments = static_cast<double>(size.segments);
    const double fill = size.overGround ? kFillSecondsOverGround : kFillSecondsFreeSpace;
    const double perFrequency =
        segments * segments * fill + segments * segments * segments * kFactorSeconds;
    const double seconds =
        kLeastSeconds + kTimeMargin * static_cast<double>(size.frequencies) * perFrequency;
    return std::chrono::milliseconds(
        static_cast<long long>(std::min(seconds, kMostSeconds) * 1000));
}

std::string timeLimitText(const std::string& program, std::chrono::milliseconds limit,
                          const std::string& deck) {
    const nec_detail::DeckSize size = nec_detail::deckSize(deck);
    return program + " was stopped after " + numberText(static_cast<double>(limit.count()) / 1000) +
           " s, the time limit for " + numberText(static_cast<double>(size.segments)) +
           " segments at " + numberText(static_cast<double>(size.frequencies)) +
           (size.frequencies == 1 ? " frequency" : " frequencies");
}

} // namespace tarvix
