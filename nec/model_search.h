// The model search. The antenna is solved once as a two-port (the feed, and
// both coils driven together) at a few frequencies: the feed impedance with
// any coils is exactly bilinear in the coils' impedance, so the formula's
// antenna, the corrected one and any winding follow by circuit algebra, and a
// rational function of frequency through those points models each between
// them. Every answer the model gives is then checked by a solve of that
// antenna and a Newton step with the model's slope, and taken where the step
// is within the tolerance of a direct search. Where the model is not to be
// trusted (a check that does not settle, a crossing near the sweep's ends, a
// best SWR near 2), it gives no answer and the direct search is asked.
// Internal to nec/.
#pragma once

#include "nec/direct_search.h"
#include "nec/two_port.h"

#include <optional>
#include <utility>
#include <vector>

namespace tarvix::nec_detail {

class ModelSearch {
public:
    // ports: the design's two-port at the Chebyshev frequencies, one of them
    // F; solves go through direct.
    ModelSearch(const DirectSearch& direct, const std::vector<TwoPortPoint>& ports)
        : m_direct(direct), m_ports(ports) {}

    // The feed point at F by the two-port's algebra.
    SimulatedPoint atF(const AntennaModel& model) const;

    // The antenna from the model, each answer checked by solves; none where
    // the model cannot be trusted for one of them.
    std::optional<SimulatedAntenna> antenna(const AntennaModel& model,
                                            std::optional<SwrBand>* band) const;

    // The corrected inductance by the algebra at F, and the reactance's slope
    // there (ohm per uH).
    std::optional<std::pair<double, double>> algebraicInductance(const AntennaModel& model) const;

    // The corrected inductance by the algebra at F, checked by solves.
    std::optional<double> inductance(const AntennaModel& model) const;

private:
    const TwoPortPoint& portAtF() const;

    const DirectSearch& m_direct;
    const std::vector<TwoPortPoint>& m_ports;
};

} // namespace tarvix::nec_detail
