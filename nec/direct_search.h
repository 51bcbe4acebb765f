// The direct search: every answer by solves alone. A sweep finds where the
// reactance or the SWR crosses its mark, then single-frequency solves close
// in on the crossing (false position with the Illinois step, which keeps the
// crossing bracketed). The corrected inductance is bracketed first: the
// reactance at F rises with it, so steps away from the formula's value meet
// the rising crossing, which false position then refines. Internal to nec/.
#pragma once

#include "nec/search_common.h"

#include <optional>
#include <vector>

namespace tarvix::nec_detail {

class DirectSearch {
public:
    // unsettled: where the roots that stop short of their tolerance are noted.
    DirectSearch(NecEngine& engine, double freqMHz, double z0Ohm, Unsettled& unsettled)
        : m_engine(engine), m_freqMHz(freqMHz), m_z0Ohm(z0Ohm), m_unsettled(unsettled) {}

    NecEngine& engine() const { return m_engine; }
    double freqMHz() const { return m_freqMHz; }
    double z0Ohm() const { return m_z0Ohm; }
    Unsettled& unsettled() const { return m_unsettled; }

    SimulatedPoint at(const AntennaModel& model, double freqMHz) const;

    // The model at the frequencies of the runs; three or more in two decks
    // solved side by side, the last run in the second.
    std::vector<SimulatedPoint> solveSplit(const AntennaModel& model,
                                           const std::vector<FrequencyRun>& runs,
                                           double* efficiencyOfLast) const;

    // The antenna solved directly: the sweep, F, and each crossing closed in
    // on by false position; with band, the 2:1 SWR band around F too.
    SimulatedAntenna antenna(const AntennaModel& model, std::optional<SwrBand>* band) const;

    // The coil inductance that makes the reactance at F zero, the coils' loss
    // resistance growing with it at the same Q. solvedAtF: the model solved
    // at F, where the caller has it. Throws SimulationSearchError when no
    // inductance does.
    double inductance(const AntennaModel& model, std::optional<SimulatedPoint> solvedAtF) const;

private:
    // The rising crossing of the reactance nearest F.
    std::optional<double> resonance(const AntennaModel& model,
                                    const std::vector<SimulatedPoint>& points) const;
    std::optional<SwrBand> swrBand(const AntennaModel& model,
                                   const std::vector<SimulatedPoint>& points) const;

    NecEngine& m_engine;
    double m_freqMHz;
    double m_z0Ohm;
    Unsettled& m_unsettled;
};

} // namespace tarvix::nec_detail
