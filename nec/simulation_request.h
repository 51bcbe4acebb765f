// A simulation as the terminal and the check window ask for it, and the rules
// its inputs must keep. Both front ends read their options or boxes into one
// SimulationRequest and refuse what simulationInputProblems names, each in
// its own words for where the value was typed (an option, a box) and in the
// same words for what is wrong with it. An input added to the simulation is
// a field here and a rule in simulationInputProblems.
#pragma once

#include "calc/design_run.h"
#include "nec/simulation.h"

#include <optional>
#include <string>
#include <vector>

namespace tarvix {

// What the user read off the analyzer at the measured resonance, besides
// its frequency.
struct MeasuredReadings {
    std::optional<double> swr; // at least 1
    std::optional<double> resistanceOhm;
};

struct SimulationRequest {
    DesignInputs design;
    SimulationOptions options;
    // The resonance measured on the antenna built, for the trim after the
    // simulation, and what was read there.
    std::optional<double> measuredMHz;
    MeasuredReadings readings;
};

// Why a measured SWR cannot be taken.
inline constexpr const char* kSwrBelowOneText = "is below 1";

// The inputs a rule can refuse, in the order the front ends show them.
enum class SimulationInput {
    Freq,
    TotalLength,
    CoilDistance,
    AntennaWire,
    Height,
    EndHeight,
    GroundConductivity,
    GroundPermittivity,
    Insulation,
    Permittivity,
    FormerDia,
    Pitch,
    GivenTurns,
    CoilQ,
    Z0,
    Measured,
    MeasuredSwr,
    MeasuredR
};

// An input refused, and why: words that follow the input's name ("--z0: '0'
// is not from 1 to 10000 ohm", "The value is not from 1 to 10000 ohm").
struct InputProblem {
    SimulationInput input;
    std::string why;
};

// The design frequencies simulated: the HF bands, as the calculator's range.
inline constexpr double kLowestFreqMHz = 1;
inline constexpr double kHighestFreqMHz = 30;

// Every input of the request that cannot be simulated, in the order of
// SimulationInput, one problem an input at most: F outside the HF bands, A
// not above 0, B not short of the tip, an antenna the formula gives no coil
// for (a half wave or longer already), and what the model and the coil
// cannot stand for. The design's own range
// warnings are not here: they never stop a run. The former's size is
// checked only where a winding is to be built (options.build); lengths in
// the words are in the design's units.
std::vector<InputProblem> simulationInputProblems(const SimulationRequest& request);

} // namespace tarvix
