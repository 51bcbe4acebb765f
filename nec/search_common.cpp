// What the simulation's searches share.
#include "nec/search_common.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <sstream>

namespace tarvix {

namespace nec_detail {

std::vector<SimulatedPoint> solveAt(NecEngine& engine, const AntennaModel& model,
                                    const std::vector<FrequencyRun>& runs, double z0Ohm,
                                    double* efficiencyOfLast) {
    std::ostringstream deck;
    writeNecDeck(deck, model, {}, runs);
    const std::vector<FeedPoint> solved = engine.solve(deck.str());
    std::vector<SimulatedPoint> points;
    for (const FrequencyRun& run : runs) {
        for (int i = 0; i < run.count; ++i) {
            const std::size_t at = points.size();
            if (at >= solved.size()) {
                throw NecEngineError("nec2c solved only " + std::to_string(solved.size()) +
                                     " of the deck's frequencies");
            }
            const FeedPoint& p = solved[at];
            points.push_back({run.startMHz + i * run.stepMHz, p.resistanceOhm, p.reactanceOhm,
                              standingWaveRatio(p.resistanceOhm, p.reactanceOhm, z0Ohm)});
        }
    }
    if (efficiencyOfLast != nullptr) {
        const FeedPoint& last = solved[points.size() - 1];
        *efficiencyOfLast = last.inputPowerW > 0 ? 100 * last.radiatedPowerW / last.inputPowerW : 0;
    }
    return points;
}

SimulatedPoint pointOf(double freqMHz, std::complex<double> z, double z0Ohm) {
    return {freqMHz, z.real(), z.imag(), standingWaveRatio(z.real(), z.imag(), z0Ohm)};
}

void insertByFrequency(std::vector<SimulatedPoint>& sweep, const SimulatedPoint& point) {
    const auto at = std::lower_bound(
        sweep.begin(), sweep.end(), point,
        [](const SimulatedPoint& a, const SimulatedPoint& b) { return a.freqMHz < b.freqMHz; });
    sweep.insert(at, point);
}

double slopeOf(const std::function<double(double)>& g, double x) {
    const double h = 1e-6 * std::fabs(x);
    return (g(x + h) - g(x - h)) / (2 * h);
}

bool CheckedRoot::take(double gx) {
    const double slope =
        m_previous ? (gx - m_previous->second) / (m_x - m_previous->first) : m_modelSlope(m_x);
    const double step = -gx / slope;
    if (!std::isfinite(step)) {
        return false;
    }
    m_previous = std::pair{m_x, gx};
    if (std::fabs(step) <= m_tolerance * std::fabs(m_x + step)) {
        m_root = m_x + step;
    }
    m_x += step;
    return true;
}

double Unsettled::settle(const Root& root, const std::string& what) {
    if (!root.converged) {
        note(what);
    }
    return root.x;
}

void Unsettled::note(const std::string& what) {
    const std::lock_guard<std::mutex> locked(m_mutex);
    m_what.push_back(what);
}

void Unsettled::sentence(const std::string& text) {
    const std::lock_guard<std::mutex> locked(m_mutex);
    m_sentences.push_back(text);
}

std::vector<std::string> Unsettled::warnings() const {
    std::vector<std::string> what;
    std::vector<std::string> sentences;
    {
        const std::lock_guard<std::mutex> locked(m_mutex);
        what = m_what;
        sentences = m_sentences;
    }
    std::sort(sentences.begin(), sentences.end());
    sentences.erase(std::unique(sentences.begin(), sentences.end()), sentences.end());
    std::sort(what.begin(), what.end());
    what.erase(std::unique(what.begin(), what.end()), what.end());
    for (const std::string& answer : what) {
        sentences.push_back("the search for " + answer +
                            " stopped short of its tolerance; the figure is its last estimate");
    }
    return sentences;
}

} // namespace nec_detail

double standingWaveRatio(double resistanceOhm, double reactanceOhm, double z0Ohm) {
    const std::complex<double> z(resistanceOhm, reactanceOhm);
    const double reflection = std::abs((z - z0Ohm) / (z + z0Ohm));
    if (!(reflection < 1)) {
        return std::numeric_limits<double>::infinity();
    }
    return (1 + reflection) / (1 - reflection);
}

} // namespace tarvix
