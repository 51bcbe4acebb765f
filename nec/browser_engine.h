// The engine in the browser: nec2c compiled to WebAssembly, run by the page's
// worker on a deck and a listing held in memory. The worker is the program
// that runs it: the page sees every deck start with its time limit, stops the
// worker when a deck outlives it or the user cancels, and starts a new one.
#pragma once

#include "nec/nec_engine.h"

#include <chrono>
#include <optional>

namespace tarvix {

class BrowserEngine : public NecEngine {
public:
    // timeLimit: for every deck instead of solveTimeLimit's (for tests), as
    // the desktop's engine takes one.
    explicit BrowserEngine(std::optional<std::chrono::milliseconds> timeLimit = std::nullopt)
        : m_timeLimit(timeLimit) {}

    std::vector<FeedPoint> solve(const std::string& deck) override;
    // The worker has one thread: a cancel can only come between solves.
    void cancel() override { m_cancelled = true; }
    int solveCount() const override { return m_solves; }
    int frequencyCount() const override { return m_frequencies; }

private:
    std::optional<std::chrono::milliseconds> m_timeLimit;
    bool m_cancelled = false;
    int m_solves = 0;
    int m_frequencies = 0;
};

} // namespace tarvix
