// Advice for a poor design: when a loaded dipole radiates less than half its
// power, or its 2:1 SWR band is narrower than the amateur band it is for,
// and the figures of one change that helps: the coils wound on a former
// twice as wide, re-sought and evaluated through the two-port the simulation
// already solved, with one more solve at F for the efficiency.
#pragma once

#include "nec/simulation.h"
#include "nec/two_port.h"
#include "nec/winding_search.h"

#include <optional>
#include <vector>

namespace tarvix {

// Below this radiation efficiency at F (percent) a design is advised on:
// more than half the power heats the coils and the wire.
inline constexpr double kAdviceEfficiencyPercent = 50;
// The change computed: the coils on a former this many times as wide, the
// next size a builder reaches for (a 2 in pipe for a 1 in one).
inline constexpr double kAdvisedFormerScale = 2;

// Why a design with this efficiency at F and this 2:1 band around F is
// advised on; none when it is fine. Outside the amateur bands only the
// efficiency counts. A 2:1 band with an edge beyond the sweep (20 % of F
// away) is wider than any band; none at all is narrower.
std::optional<DesignAdvice> adviceReasons(double freqMHz, double efficiencyPercent,
                                          const std::optional<SwrBand>& swr2Band);

// The 2:1 band around freqMHz of the antenna whose feed impedance the
// rational model through the two-port's points gives with model's coils;
// none where the SWR at F is above 2 (the model's), an edge none where it
// lies beyond the sweep.
std::optional<SwrBand> modelledSwr2Band(const AntennaModel& model,
                                        const std::vector<TwoPortPoint>& ports, double freqMHz,
                                        double z0Ohm);

// The coils wound on the larger former with build's wire (and pitch, where
// given) to meet need, the antenna then solved once at F (one more deck
// for nec2c) for its feed point and efficiency, and its 2:1 band from the
// two-port's model. None where no winding on it meets the need. guessUH: the
// corrected inductance, where the winding search starts.
std::optional<AdvisedFormer> largerFormerChange(const DesignRecord& record,
                                                const SimulationOptions& options,
                                                const std::vector<TwoPortPoint>& ports,
                                                const WindingNeed& need, double guessUH,
                                                NecEngine& engine);

} // namespace tarvix
