#include "nec/browser_engine.h"

#include "nec/time_budget.h"

#include <cstdlib>
#include <emscripten.h>
#include <memory>
#include <sstream>

namespace tarvix {

namespace {

// The worker's nec2c, given the deck and its time limit (and the words for
// the page to say when it passes): what it wrote to its output streams and
// its listing, each left in memory owned by the caller, and its exit code.
// The worker defines Module.tarvixRunNec2c.
// clang-format off
EM_JS(int, tarvix_run_nec2c, (const char* deck, double limitMs, const char* timeoutText,
                              char** messages, char** listing), {
    const run = Module.tarvixRunNec2c(UTF8ToString(deck), limitMs, UTF8ToString(timeoutText));
    const keep = (text) => {
        const size = lengthBytesUTF8(text) + 1;
        const pointer = _malloc(size);
        stringToUTF8(text, pointer, size);
        return pointer;
    };
    HEAPU32[messages >> 2] = keep(run.messages);
    HEAPU32[listing >> 2] = keep(run.listing);
    return run.exitCode;
});
// clang-format on

struct FreeText {
    void operator()(char* text) const { std::free(text); }
};
using OwnedText = std::unique_ptr<char, FreeText>;

} // namespace

std::vector<FeedPoint> BrowserEngine::solve(const std::string& deck) {
    if (m_cancelled) {
        throw NecCancelled("the simulation was cancelled");
    }
    ++m_solves;
    m_frequencies += nec_detail::countedFrequencies(deck);
    const std::chrono::milliseconds limit = m_timeLimit ? *m_timeLimit : solveTimeLimit(deck);
    const std::string program = "nec2c";
    char* saidText = nullptr;
    char* listingText = nullptr;
    const int exitCode =
        tarvix_run_nec2c(deck.c_str(), static_cast<double>(limit.count()),
                         timeLimitText(program, limit, deck).c_str(), &saidText, &listingText);
    const OwnedText said(saidText);
    const OwnedText listed(listingText);
    std::istringstream messages(said.get());
    std::istringstream listing(listed.get());
    return engineAnswer(program, exitCode, messages, listing);
}

} // namespace tarvix
