// What the simulation asks of a NEC-2 engine, whatever runs it: a deck in,
// the feed point and the power budget at each frequency out. The program
// nec2c on this machine is one engine (nec/nec2c.h); the browser's, the same
// engine compiled to WebAssembly, is another.
#pragma once

#include <chrono>
#include <complex>
#include <future>
#include <iosfwd>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarvix {

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

// Why a deck was stopped at its time limit, naming the engine: "nec2c was
// stopped after 62 s, the time limit for 61 segments at 41 frequencies".
std::string timeLimitText(const std::string& program, std::chrono::milliseconds limit,
                          const std::string& deck);

// The line that tells the user why the engine failed: its first message on
// its own output streams, else the first line of the listing naming an error;
// empty when there is neither.
std::string firstErrorLine(std::istream& messages, std::istream& listing);

// The answer of one run of the engine, from its exit code (128 and the signal
// for one ended by a signal), what it said on its output streams and its
// listing: the feed points, or NecEngineError with the engine's first error
// line, its exit code, or that it printed no result.
std::vector<FeedPoint> engineAnswer(const std::string& program, int exitCode,
                                    std::istream& messages, std::istream& listing);

class NecEngine {
public:
    virtual ~NecEngine() = default;

    // Solves one deck. Throws NecEngineError, NecCancelled once cancelled.
    virtual std::vector<FeedPoint> solve(const std::string& deck) = 0;

    // Stops the solves at once: those running and every one started after
    // throw NecCancelled. Safe to call from any thread.
    virtual void cancel() = 0;

    // How many decks were solved so far, and how many frequencies they had
    // (each a fill of the matrix, however many excitations it then solves).
    virtual int solveCount() const = 0;
    virtual int frequencyCount() const = 0;
};

// How the searches run the solves they can make side by side: each on a
// thread of its own where there are threads, else one after the other when
// its answer is asked for (the browser's engine, which has no threads).
#ifdef __EMSCRIPTEN__
inline constexpr std::launch kSolveLaunch = std::launch::deferred;
#else
inline constexpr std::launch kSolveLaunch = std::launch::async;
#endif

} // namespace tarvix
