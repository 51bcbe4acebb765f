// The direct search.
#include "nec/direct_search.h"

#include "calc/conversions.h"

#include <algorithm>
#include <cmath>
#include <future>
#include <limits>

namespace tarvix::nec_detail {

SimulatedPoint DirectSearch::at(const AntennaModel& model, double freqMHz) const {
    return solveAt(m_engine, model, {{freqMHz, 0, 1}}, m_z0Ohm).front();
}

std::vector<SimulatedPoint> DirectSearch::solveSplit(const AntennaModel& model,
                                                     const std::vector<FrequencyRun>& runs,
                                                     double* efficiencyOfLast) const {
    if (runs.size() < 3) {
        return solveAt(m_engine, model, runs, m_z0Ohm, efficiencyOfLast);
    }
    const auto middle = runs.begin() + static_cast<std::ptrdiff_t>(runs.size() / 2);
    auto first = std::async(kSolveLaunch, [&] {
        return solveAt(m_engine, model, std::vector<FrequencyRun>(runs.begin(), middle), m_z0Ohm);
    });
    const std::vector<SimulatedPoint> second = solveAt(
        m_engine, model, std::vector<FrequencyRun>(middle, runs.end()), m_z0Ohm, efficiencyOfLast);
    std::vector<SimulatedPoint> points = first.get();
    points.insert(points.end(), second.begin(), second.end());
    return points;
}

SimulatedAntenna DirectSearch::antenna(const AntennaModel& model,
                                       std::optional<SwrBand>* band) const {
    SimulatedAntenna antenna;
    antenna.coilUH = model.coilUH;
    antenna.coilOhm = model.coilOhm;
    std::vector<SimulatedPoint> points = solveAt(
        m_engine, model, {designSweep(m_freqMHz, kSimulationSweepPoints), {m_freqMHz, 0, 1}},
        m_z0Ohm, &antenna.efficiencyPercent);
    antenna.atF = points.back();
    points.pop_back();
    antenna.sweep = points;
    insertByFrequency(points, antenna.atF);

    auto resonanceSearch = std::async(kSolveLaunch, [&] { return resonance(model, points); });
    if (band != nullptr) {
        *band = swrBand(model, points);
    }
    antenna.resonanceMHz = resonanceSearch.get();
    // The refined frequencies join the sweep, solved side by side.
    std::vector<double> refined;
    if (antenna.resonanceMHz) {
        refined.push_back(*antenna.resonanceMHz);
    }
    if (band != nullptr && *band) {
        for (const std::optional<double>& edge : {(*band)->lowMHz, (*band)->highMHz}) {
            if (edge) {
                refined.push_back(*edge);
            }
        }
    }
    std::vector<std::future<SimulatedPoint>> solving;
    for (const double f : refined) {
        solving.push_back(std::async(kSolveLaunch, [&, f] { return at(model, f); }));
    }
    for (std::future<SimulatedPoint>& point : solving) {
        insertByFrequency(antenna.sweep, point.get());
    }
    insertByFrequency(antenna.sweep, antenna.atF);
    antenna.solved = antenna.sweep;
    return antenna;
}

double DirectSearch::inductance(const AntennaModel& model,
                                std::optional<SimulatedPoint> solvedAtF) const {
    const SimulatedPoint atF = solvedAtF ? *solvedAtF : at(model, m_freqMHz);
    AntennaModel trial = model;
    const double start = model.coilUH;
    auto reactance = [&](double coilUH) {
        trial.coilUH = coilUH;
        trial.coilOhm = model.coilOhm * coilUH / start;
        return at(trial, m_freqMHz).reactanceOhm;
    };
    const auto root = risingRoot(reactance, start, atF.reactanceOhm, 1.25, kSizeTolerance);
    if (!root) {
        throw SimulationSearchError("no coil inductance makes the antenna resonate at " +
                                    numberText(m_freqMHz) + " MHz");
    }
    return m_unsettled.settle(*root, "the corrected inductance");
}

std::optional<double> DirectSearch::resonance(const AntennaModel& model,
                                              const std::vector<SimulatedPoint>& points) const {
    // The reactance rises through zero at a series resonance.
    std::optional<std::size_t> nearest;
    double nearestDistance = std::numeric_limits<double>::infinity();
    for (std::size_t i = 1; i < points.size(); ++i) {
        const SimulatedPoint& a = points[i - 1];
        const SimulatedPoint& b = points[i];
        if (a.reactanceOhm < 0 && b.reactanceOhm >= 0) {
            const double guess = a.freqMHz + (b.freqMHz - a.freqMHz) * a.reactanceOhm /
                                                 (a.reactanceOhm - b.reactanceOhm);
            if (std::fabs(guess - m_freqMHz) < nearestDistance) {
                nearestDistance = std::fabs(guess - m_freqMHz);
                nearest = i;
            }
        }
    }
    if (!nearest) {
        return std::nullopt;
    }
    const SimulatedPoint& a = points[*nearest - 1];
    const SimulatedPoint& b = points[*nearest];
    if (b.reactanceOhm == 0) {
        return b.freqMHz;
    }
    const Root root = bracketedRoot([&](double f) { return at(model, f).reactanceOhm; }, a.freqMHz,
                                    a.reactanceOhm, b.freqMHz, b.reactanceOhm, kFrequencyTolerance);
    return m_unsettled.settle(root, "a resonance");
}

std::optional<SwrBand> DirectSearch::swrBand(const AntennaModel& model,
                                             const std::vector<SimulatedPoint>& points) const {
    const auto best = std::min_element(
        points.begin(), points.end(),
        [](const SimulatedPoint& a, const SimulatedPoint& b) { return a.swr < b.swr; });
    if (!(best->swr <= kSwrMark)) {
        return std::nullopt;
    }
    auto excess = [&](double f) { return at(model, f).swr - kSwrMark; };
    auto edge = [&](auto from, auto to) -> std::optional<double> {
        for (auto inside = from, outside = std::next(from); outside != to; ++inside, ++outside) {
            if (outside->swr > kSwrMark) {
                const Root root =
                    bracketedRoot(excess, inside->freqMHz, inside->swr - kSwrMark, outside->freqMHz,
                                  outside->swr - kSwrMark, kFrequencyTolerance);
                return m_unsettled.settle(root, "an edge of the 2:1 SWR band");
            }
        }
        return std::nullopt;
    };
    const auto bestIndex = best - points.begin();
    auto low = std::async(kSolveLaunch, [&] {
        return edge(points.rbegin() + (points.size() - 1 - bestIndex), points.rend());
    });
    SwrBand band;
    band.highMHz = edge(best, points.end());
    band.lowMHz = low.get();
    return band;
}

} // namespace tarvix::nec_detail
