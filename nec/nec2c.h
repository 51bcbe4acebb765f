// Runs the nec2c program, Debian's NEC-2 engine, on decks and reads back the
// feed point and the power budget at each frequency. Every deck and output
// lives in one private temporary folder, removed with the object.
#pragma once

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

// nec2c could not be run, failed, ran out of time or printed no result; the
// text says why in words for the user (the program's first error line where
// it printed one).
class NecEngineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The solves were stopped by Nec2c::cancel: no error of the engine's, and
// nothing for the user to be told beyond that it stopped.
class NecCancelled : public NecEngineError {
public:
    using NecEngineError::NecEngineError;
};

// One voltage source of a solution: the segment it drives, its voltage and
// the current through it (volts and amperes, real and imaginary).
struct NecSource {
    int tag = 0;
    int segment = 0;
    std::complex<double> voltage;
    std::complex<double> current;
};

// The sources of one solution that are read; a listing's further rows are
// skipped.
inline constexpr std::size_t kMostSourcesRead = 4;

// What NEC reports at one frequency for one excitation: the first source's
// impedance (the feed point), the power budget, and every source read.
struct FeedPoint {
    double freqMHz = 0;
    double resistanceOhm = 0;
    double reactanceOhm = 0;
    double inputPowerW = 0;
    double radiatedPowerW = 0; // the input less the losses in the wire and loads
    std::vector<NecSource> sources;
};

// Reads an output listing of nec2c: every solution (a frequency and its
// excitation) that has both its "ANTENNA INPUT PARAMETERS" rows and its
// "POWER BUDGET", in order. The stream is read a line at a time, and a line
// is read to its first kilobyte only, so that a listing of any size costs no
// more memory than its results.
std::vector<FeedPoint> readNecOutput(std::istream& listing);
std::vector<FeedPoint> readNecOutput(const std::string& listing);

// How long nec2c may take over a deck: a minute, and ten times a slow
// machine's time for the deck's frequencies, each costing the fill of its
// matrix (segments squared, some ten times dearer over ground for the
// Sommerfeld integrals) and its factorisation (segments cubed). A deck of the
// program's 61 segments at 41 frequencies gets 62 s in free space and 75 s
// over ground; one of 2000 segments over ground gets five and a half hours.
std::chrono::milliseconds solveTimeLimit(const std::string& deck);

class Nec2c {
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
    std::vector<FeedPoint> solve(const std::string& deck);

    // Kills the running engines at once; they and every solve started after
    // throw NecCancelled. Safe to call from any thread, also while solves run.
    void cancel();

    // How many decks were solved so far, and how many frequencies they had
    // (each a fill of the matrix, however many excitations it then solves).
    int solveCount() const { return m_next.load(); }
    int frequencyCount() const { return m_frequencies.load(); }

private:
    std::string m_program;
    std::optional<std::chrono::milliseconds> m_timeLimit;
    std::filesystem::path m_dir;
    std::atomic<int> m_next{0};
    std::atomic<int> m_frequencies{0};
    std::unique_ptr<nec_detail::SignalGuard> m_guard;
};

} // namespace tarvix
