// The simulation's questions, asked of the model search or the direct
// search; and the single antennas that other parts solve on their own. The
// whole simulation of a design is in orchestration.cpp.
#include "nec/simulation.h"

#include "nec/simulation_search.h"

namespace tarvix {

namespace nec_detail {

Simulation::Simulation(NecEngine& engine, double freqMHz, double z0Ohm, Unsettled& unsettled,
                       const std::vector<TwoPortPoint>* ports)
    : m_direct(engine, freqMHz, z0Ohm, unsettled) {
    if (ports != nullptr) {
        m_model.emplace(m_direct, *ports);
    }
}

SimulatedAntenna Simulation::characterise(const AntennaModel& model,
                                          std::optional<SwrBand>* band) const {
    if (m_model) {
        if (auto modelled = m_model->antenna(model, band)) {
            return std::move(*modelled);
        }
    }
    return m_direct.antenna(model, band);
}

double Simulation::correctedInductance(const AntennaModel& model,
                                       std::optional<SimulatedPoint> solvedAtF) const {
    if (m_model) {
        if (const auto modelled = m_model->inductance(model)) {
            return *modelled;
        }
    }
    return m_direct.inductance(model, solvedAtF);
}

std::optional<double> Simulation::tipChangeFt(const AntennaModel& model,
                                              std::optional<SimulatedPoint> solvedAtF,
                                              std::optional<TipNeighbours> neighbours) const {
    if (m_model && neighbours) {
        if (const auto modelled = modelledTipChange(*m_model, m_direct, model, *neighbours)) {
            return *modelled;
        }
    }
    return directTipChange(m_direct, model, solvedAtF);
}

std::optional<std::pair<double, double>>
Simulation::algebraicInductance(const AntennaModel& model) const {
    if (!m_model) {
        return std::nullopt;
    }
    return m_model->algebraicInductance(model);
}

} // namespace nec_detail

SimulatedPoint solvePoint(const AntennaModel& model, double freqMHz, double z0Ohm,
                          NecEngine& engine) {
    return nec_detail::solveAt(engine, model, {{freqMHz, 0, 1}}, z0Ohm).front();
}

// The antenna has no place for a note: a resonance or band edge whose search
// stops short of its tolerance is given as its last estimate, as the
// declaration says.
SimulatedAntenna simulateAntenna(const AntennaModel& model, double freqMHz, double z0Ohm,
                                 NecEngine& engine, std::optional<SwrBand>* band) {
    nec_detail::Unsettled unsettled;
    return nec_detail::DirectSearch(engine, freqMHz, z0Ohm, unsettled).antenna(model, band);
}

std::string simulatedDeck(const DesignResult& design, const SimulationOptions& options,
                          const SimulationResult& result) {
    return builtDeck(design, options.model,
                     result.build ? std::optional(result.build->winding) : std::nullopt,
                     result.corrected.coilUH, result.corrected.coilOhm);
}

} // namespace tarvix
