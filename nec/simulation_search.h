// The simulation's questions of one design's antennas, each asked of the
// model search where there is a two-port and it can be trusted, else of the
// direct search. Internal to nec/.
#pragma once

#include "nec/direct_search.h"
#include "nec/model_search.h"
#include "nec/tip_search.h"

#include <optional>
#include <utility>
#include <vector>

namespace tarvix::nec_detail {

class Simulation {
public:
    // ports: the design's two-port at the Chebyshev frequencies; without it
    // every answer is solved directly. unsettled: where the roots that stop
    // short of their tolerance are noted.
    Simulation(NecEngine& engine, double freqMHz, double z0Ohm, Unsettled& unsettled,
               const std::vector<TwoPortPoint>* ports = nullptr);

    SimulatedPoint at(const AntennaModel& model, double freqMHz) const {
        return m_direct.at(model, freqMHz);
    }

    // The feed point at F by the two-port's algebra (there must be one).
    SimulatedPoint modelledAtF(const AntennaModel& model) const { return m_model->atF(model); }

    // The sweep with F solved on its own (for the exact feed point there), the
    // resonance nearest F, and with band the 2:1 SWR band around F.
    SimulatedAntenna characterise(const AntennaModel& model, std::optional<SwrBand>* band) const;

    // The coil inductance that makes the reactance at F zero, the coils'
    // loss resistance growing with it at the same Q. solvedAtF: the model
    // solved at F, where the direct search has it. Throws
    // SimulationSearchError when none does.
    double correctedInductance(const AntennaModel& model,
                               std::optional<SimulatedPoint> solvedAtF) const;

    // Keeping the coils: how much longer each tip must be for resonance at F.
    // neighbours: the reactance at F with the tips a tenth shorter and longer,
    // for the model search's quadratic.
    std::optional<double> tipChangeFt(const AntennaModel& model,
                                      std::optional<SimulatedPoint> solvedAtF,
                                      std::optional<TipNeighbours> neighbours) const;

    // The corrected inductance by the algebra at F, and the reactance's slope
    // there (ohm per uH); none without a two-port.
    std::optional<std::pair<double, double>> algebraicInductance(const AntennaModel& model) const;

private:
    DirectSearch m_direct;
    std::optional<ModelSearch> m_model;
};

} // namespace tarvix::nec_detail
