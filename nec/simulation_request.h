// A simulation as the terminal and the check window ask for it, and the rules
// its inputs must keep. Both front ends read their options or boxes into one
// SimulationRequest and refuse what simulationInputProblems names, each in
// its own words for where the value was typed (an option, a box) and in the
// same words for what is wrong with it. An input added to the simulation is
// a field here and a rule in simulationInputProblems.
#pragma once

#include "calc/design_run.h"
#include "nec/simulation.h"

#include <complex>
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

// A line given by its figures: its impedance, velocity factor and matched
// loss at the design frequency.
struct FeedLineFigures {
    double z0Ohm = 0;
    double velocityFactor = 0;
    double dbPer100Ft = 0;
};

// The feed line to the rig as asked for: a type by its name, or figures.
struct FeedLineInput {
    std::string typeName; // unused with figures
    std::optional<FeedLineFigures> figures;
    double lengthFt = 0;
};

struct SimulationRequest {
    DesignInputs design;
    SimulationOptions options;
    // The resonance measured on the antenna built, for the trim after the
    // simulation, and what was read there.
    std::optional<double> measuredMHz;
    MeasuredReadings readings;
    // With a line, the measurement and its readings were taken at the rig.
    std::optional<FeedLineInput> feedLine;
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
    Power,
    Duty,
    FeedLine,
    FeedLineLength,
    FeedLineData,
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

// The most power the coils are reported at.
inline constexpr double kMostPowerW = 100000;

// The design frequencies simulated: the HF bands, as the calculator's range.
inline constexpr double kLowestFreqMHz = 1;
inline constexpr double kHighestFreqMHz = 30;

// A line given by its figures must have them in these ranges.
inline constexpr double kMinLineZ0Ohm = 10;
inline constexpr double kMaxLineZ0Ohm = 1000;
inline constexpr double kMostLineDbPer100Ft = 100;
// Beyond this matched loss a reading at the rig tells nothing of the
// antenna: its reflection comes back 20 dB down, below the analyzer's own
// error. The trim refuses such readings; the report warns.
inline constexpr double kMostReadableLineLossDb = 10;

// Every input of the request that cannot be simulated, in the order of
// SimulationInput, one problem an input at most: F outside the HF bands, A
// not above 0, B not short of the tip, an antenna the formula gives no coil
// for (a half wave or longer already), and what the model and the coil
// cannot stand for. The design's own range
// warnings are not here: they never stop a run. The former's size is
// checked only where a winding is to be built (options.build); lengths in
// the words are in the design's units.
std::vector<InputProblem> simulationInputProblems(const SimulationRequest& request);

// The line the request asks for, once its rules have passed; none without
// one (or with a type that does not exist).
std::optional<FeedLine> requestedFeedLine(const SimulationRequest& request);

// Readings taken at the rig, carried back through the line to the antenna.
// The SWR: the reflection at the rig is the antenna's twice through the
// line's matched loss, whatever the line's length, so the rig's SWR minimum
// is the antenna's and its SWR grows back by that loss (on a line of the
// SWR's own impedance). The resistance: the rig's reading is taken as R + j0
// (an analyzer read at the SWR minimum shows little reactance) and carried
// back by the line's transformation, so the antenna's comes with a
// reactance.
struct AntennaReadings {
    std::optional<double> swr;
    std::optional<std::complex<double>> impedanceOhm;
};
AntennaReadings readingsAtAntenna(const FeedLine& line, const MeasuredReadings& readings,
                                  double measuredMHz);

} // namespace tarvix
