// The plot's scales are pure functions of the result, so that the tests can
// try them on any sweep without an engine or a paint device.
#include "plot/plot_scale.h"

#include <algorithm>
#include <cmath>

namespace tarvix {

namespace {

// How much wider than the reactance near F the panel may be, each side.
constexpr double kReactanceMargin = 3;
// The narrowest reactance panel, ohm: a flat curve still gets a readable grid.
constexpr double kNarrowestReactanceOhm = 20;
// The least fall through zero between two points taken for a parallel
// resonance: a series resonance's reactance rises, and where the sweep holds a
// frequency twice (F, the resonance) its reactance may differ by a rounding.
constexpr double kParallelFallOhm = 50;
// Without a 2:1 band: the stretch around F whose reactance sets the scale, and
// the share of its values at either end left out, where a resonance may begin.
constexpr double kNearFShare = 0.05;
constexpr double kTrimmedShare = 0.15;

// The reactance of the corrected antenna near F, as a low and a high.
std::pair<double, double> reactanceNearF(const SimulationResult& result, double freqMHz) {
    const auto& sweep = result.corrected.sweep;
    std::vector<double> values;
    if (result.swr2Band) {
        const double low = result.swr2Band->lowMHz.value_or(sweep.front().freqMHz);
        const double high = result.swr2Band->highMHz.value_or(sweep.back().freqMHz);
        for (const SimulatedPoint& point : sweep) {
            if (point.freqMHz >= low && point.freqMHz <= high) {
                values.push_back(point.reactanceOhm);
            }
        }
        if (!values.empty()) {
            const auto [lowest, highest] = std::minmax_element(values.begin(), values.end());
            return {*lowest, *highest};
        }
    }
    for (const SimulatedPoint& point : sweep) {
        if (std::fabs(point.freqMHz - freqMHz) <= kNearFShare * freqMHz) {
            values.push_back(point.reactanceOhm);
        }
    }
    if (values.empty()) {
        values.push_back(result.corrected.atF.reactanceOhm);
    }
    std::sort(values.begin(), values.end());
    const auto trimmed =
        static_cast<std::size_t>(kTrimmedShare * static_cast<double>(values.size()));
    return {values[trimmed], values[values.size() - 1 - trimmed]};
}

} // namespace

FrequencyView sweepSpan(const SimulationResult& result) {
    const auto& formula = result.formula.sweep;
    const auto& corrected = result.corrected.sweep;
    return {std::min(formula.front().freqMHz, corrected.front().freqMHz),
            std::max(formula.back().freqMHz, corrected.back().freqMHz)};
}

std::vector<ParallelResonance> parallelResonances(const SimulationResult& result) {
    std::vector<ParallelResonance> found;
    for (const auto& [antenna, corrected] :
         {std::pair{&result.formula, false}, std::pair{&result.corrected, true}}) {
        const auto& sweep = antenna->sweep;
        for (std::size_t i = 1; i < sweep.size(); ++i) {
            const SimulatedPoint& below = sweep[i - 1];
            const SimulatedPoint& above = sweep[i];
            if (below.reactanceOhm > 0 && above.reactanceOhm <= 0 &&
                below.reactanceOhm - above.reactanceOhm > kParallelFallOhm &&
                above.freqMHz > below.freqMHz) {
                const double share = below.reactanceOhm / (below.reactanceOhm - above.reactanceOhm);
                found.push_back(
                    {corrected, below.freqMHz + share * (above.freqMHz - below.freqMHz)});
            }
        }
    }
    return found;
}

ReactanceRange reactanceRange(const SimulationResult& result, double freqMHz) {
    double fullLow = 0;
    double fullHigh = 0;
    for (const auto* sweep : {&result.formula.sweep, &result.corrected.sweep}) {
        for (const SimulatedPoint& point : *sweep) {
            fullLow = std::min(fullLow, point.reactanceOhm);
            fullHigh = std::max(fullHigh, point.reactanceOhm);
        }
    }
    auto [nearLow, nearHigh] = reactanceNearF(result, freqMHz);
    nearLow = std::min(nearLow, 0.0);
    nearHigh = std::max(nearHigh, 0.0);
    const double margin =
        kReactanceMargin * std::max(nearHigh - nearLow, kNarrowestReactanceOhm / 2);
    ReactanceRange range{std::max(fullLow, nearLow - margin), std::min(fullHigh, nearHigh + margin),
                         false};
    range.clipped = range.lowOhm > fullLow || range.highOhm < fullHigh;
    if (range.highOhm - range.lowOhm < kNarrowestReactanceOhm) {
        const double middle = (range.highOhm + range.lowOhm) / 2;
        range.lowOhm = middle - kNarrowestReactanceOhm / 2;
        range.highOhm = middle + kNarrowestReactanceOhm / 2;
    }
    return range;
}

} // namespace tarvix
