// Runs the nec2c program, Debian's NEC-2 engine, on decks and reads back the
// feed point and the power budget at each frequency. Every deck and output
// lives in one private temporary folder, removed with the object.
#pragma once

#include <atomic>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarvix {

// nec2c could not be run, failed, or printed no result; the text says why in
// words for the user (the program's first error line where it printed one).
class NecEngineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What NEC reports at one frequency.
struct FeedPoint {
    double freqMHz = 0;
    double resistanceOhm = 0;
    double reactanceOhm = 0;
    double inputPowerW = 0;
    double radiatedPowerW = 0; // the input less the losses in the wire and loads
};

// Reads an output listing of nec2c: every frequency that has both its
// "ANTENNA INPUT PARAMETERS" row and its "POWER BUDGET", in order.
std::vector<FeedPoint> readNecOutput(const std::string& listing);

class Nec2c {
public:
    // program: the engine to run, found on PATH when it has no slash.
    explicit Nec2c(std::string program = "nec2c");
    ~Nec2c();
    Nec2c(const Nec2c&) = delete;
    Nec2c& operator=(const Nec2c&) = delete;

    // Solves one deck. Safe to call from several threads at once: each call
    // has its own files. Throws NecEngineError.
    std::vector<FeedPoint> solve(const std::string& deck);

    // How many decks were solved so far.
    int solveCount() const { return m_next.load(); }

private:
    std::string m_program;
    std::filesystem::path m_dir;
    std::atomic<int> m_next{0};
};

} // namespace tarvix
