// What the simulation's searches share: a model solved at frequencies, the
// points of a sweep, the check of an answer by solves, and the record of the
// roots that stopped short of their tolerance. Internal to nec/.
#pragma once

#include "nec/design_model.h"
#include "nec/nec_deck.h"
#include "nec/nec_engine.h"
#include "nec/roots.h"
#include "nec/simulation.h"

#include <complex>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarvix::nec_detail {

inline constexpr double kSwrMark = 2;

// Solves one model at the frequencies of the runs. NEC prints frequencies to
// five digits only, so each point gets back the frequency it was asked for.
// efficiencyOfLast: where given, the efficiency at the last frequency.
std::vector<SimulatedPoint> solveAt(NecEngine& engine, const AntennaModel& model,
                                    const std::vector<FrequencyRun>& runs, double z0Ohm,
                                    double* efficiencyOfLast = nullptr);

SimulatedPoint pointOf(double freqMHz, std::complex<double> z, double z0Ohm);

void insertByFrequency(std::vector<SimulatedPoint>& sweep, const SimulatedPoint& point);

// The slope of g at x, from the model.
double slopeOf(const std::function<double(double)>& g, double x);

// One answer being checked by solves: the next solve goes to x; after a solve
// at x where the checked quantity is gx, the step to the root is taken with
// the model's slope, or with the slope between the last two solves.
class CheckedRoot {
public:
    CheckedRoot(double x, double tolerance, std::function<double(double)> modelSlope)
        : m_x(x), m_tolerance(tolerance), m_modelSlope(std::move(modelSlope)) {}

    double next() const { return m_x; }
    bool settled() const { return m_root.has_value(); }
    double root() const { return *m_root; }

    // False when the step is no step (a slope of zero or none).
    bool take(double gx);

private:
    double m_x;
    double m_tolerance;
    std::function<double(double)> m_modelSlope;
    std::optional<std::pair<double, double>> m_previous;
    std::optional<double> m_root;
};

// The answers whose search stopped after its most steps short of its
// tolerance, for the result's warnings. Safe to use from the threads that
// solve questions side by side.
class Unsettled {
public:
    // The root's estimate; what (as "the corrected inductance") is noted
    // when the root did not converge.
    double settle(const Root& root, const std::string& what);
    void note(const std::string& what);
    // A sentence of its own, as the coil's model words what fell short in it.
    void sentence(const std::string& text);

    // A sentence for each answer noted, once each, in alphabetical order.
    std::vector<std::string> warnings() const;

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_what;
    std::vector<std::string> m_sentences;
};

} // namespace tarvix::nec_detail
