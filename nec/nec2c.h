// Runs the nec2c program, Debian's NEC-2 engine, on decks and reads back the
// feed point and the power budget at each frequency. Every deck and output
// lives in one private temporary folder, removed with the object.
#pragma once

#include "nec/nec_engine.h"

#include <array>
#include <atomic>
#include <chrono>
#include <complex>
#include <csignal>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarvix {

namespace nec_detail {
class SignalGuard;
} // namespace nec_detail

// The signals whose default action ends the program and that the engine's
// folder and children must not outlive.
inline constexpr std::array kEndingSignals{SIGINT,  SIGTERM, SIGHUP,  SIGQUIT,
                                           SIGUSR1, SIGUSR2, SIGALRM, SIGPIPE};

// Of them, those still at their default action: a signal the program was
// started to ignore stays ignored, and one it handles is left to its handler.
sigset_t endingSignalsAtDefault();

// Ends the program by one of them, as if it had not been blocked or handled.
[[noreturn]] void endBySignal(int signal);

// The engine as a program of the system, run once a deck.
class Nec2c : public NecEngine {
public:
    // program: the engine to run, found on PATH when it has no slash.
    // timeLimit: for every deck instead of solveTimeLimit's (for tests).
    // While the object lives, a signal that would end the program (INT, TERM,
    // HUP, QUIT, USR1, USR2, ALRM, PIPE, unless ignored or handled when the
    // object was made) first kills and reaps the running engines and removes
    // the folder, then ends the program as it would have. The signals are
    // blocked in the thread that makes the object, and in the threads it
    // starts, until the object is destroyed in the same thread. The program
    // makes one engine at a time.
    explicit Nec2c(std::string program = "nec2c",
                   std::optional<std::chrono::milliseconds> timeLimit = std::nullopt);
    ~Nec2c();
    Nec2c(const Nec2c&) = delete;
    Nec2c& operator=(const Nec2c&) = delete;

    // Solves one deck. Safe to call from several threads at once: each call
    // has its own files. Throws NecEngineError; an engine past its time limit
    // is killed first.
    std::vector<FeedPoint> solve(const std::string& deck) override;

    // Kills the running engines at once; they and every solve started after
    // throw NecCancelled. Safe to call from any thread, also while solves run.
    void cancel() override;

    // How many decks were solved so far, and how many frequencies they had
    // (each a fill of the matrix, however many excitations it then solves).
    int solveCount() const override { return m_next.load(); }
    int frequencyCount() const override { return m_frequencies.load(); }

private:
    std::string m_program;
    std::optional<std::chrono::milliseconds> m_timeLimit;
    std::filesystem::path m_dir;
    std::atomic<int> m_next{0};
    std::atomic<int> m_frequencies{0};
    std::unique_ptr<nec_detail::SignalGuard> m_guard;
};

} // namespace tarvix
