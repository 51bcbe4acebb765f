// The designed antenna solved in NEC-2: where the formula's coils make it
// resonate, the coil inductance and the tip length that put the resonance on
// the design frequency, the feed point and 2:1 SWR band of the corrected
// antenna, and how much of the power it radiates.
#pragma once

#include "calc/amateur_bands.h"
#include "calc/coil_model.h"
#include "calc/design_run.h"
#include "calc/feedline.h"
#include "nec/coil_load.h"
#include "nec/coil_power.h"
#include "nec/design_model.h"
#include "nec/nec_engine.h"
#include "nec/winding_search.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarvix {

inline constexpr double kDefaultZ0 = 50;
// The sweep of --simulate: from 80 % to 120 % of F in steps of 1 %. It only
// brackets the crossings: each resonance and band edge is then solved on its
// own and joins the sweep.
inline constexpr int kSimulationSweepPoints = 41;
// Resonances and band edges are found to this fraction of a frequency, the
// corrected inductance and the tip length to this fraction of themselves.
inline constexpr double kFrequencyTolerance = 1e-5;
inline constexpr double kSizeTolerance = 1e-5;
// The 2:1 band's edges are found to this fraction of a frequency.
inline constexpr double kBandEdgeTolerance = 1e-4;
// The search solves the antenna as a two-port at this many frequencies over
// the sweep (Chebyshev points, one of them F), and models each antenna's feed
// impedance between them by a rational function.
inline constexpr int kTwoPortFrequencies = 5;
// The modelled curve of an antenna has this many points over the sweep.
inline constexpr int kModelledSweepPoints = 161;

// A search found no answer where one was asked for (no coil inductance that
// makes the antenna resonate): the engine itself worked.
class SimulationSearchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct SimulationOptions {
    ModelOptions model;
    double z0Ohm = kDefaultZ0;
    // With a former and a coil wire the corrected coil is wound, and the
    // coils' loss comes from their windings unless model.coilQGiven.
    std::optional<CoilBuild> build;
    // A coil already wound, with build's former and wire: its turns, at
    // build's pitch or close-wound.
    std::optional<double> givenTurns;
    // Every answer by solves alone: sweeps and single-frequency solves, as
    // the search falls back to where its model is not to be trusted. Slower
    // by ten; the tests compare the two.
    bool directSearch = false;
    // The line from the feed point to the rig: the report shows the rig's end
    // of it; the simulation itself solves the antenna alone.
    std::optional<FeedLine> feedLine;
    // What each coil must carry is reported at this power and mode.
    PowerOptions power;
};

struct SimulatedPoint {
    double freqMHz = 0;
    double resistanceOhm = 0;
    double reactanceOhm = 0;
    double swr = 0;
};

// One antenna: its coils, its resonance nearest F (none when the reactance
// does not rise through zero within the sweep), its feed point at F and the
// sweep, with the refined points (resonance, band edges) in frequency order.
// The sweep is the model of the feed impedance between the solved points, or
// where the search solved it directly, those points themselves.
struct SimulatedAntenna {
    double coilUH = 0;
    double coilOhm = 0;
    std::optional<double> resonanceMHz;
    SimulatedPoint atF;
    double efficiencyPercent = 0; // at F
    std::vector<SimulatedPoint> sweep;
    std::vector<SimulatedPoint> solved; // what nec2c solved of it, in frequency order
};

struct SwrBand {
    std::optional<double> lowMHz;  // none: below the sweep
    std::optional<double> highMHz; // none: above the sweep
};

// A winding checked in the antenna: the antenna it makes, whether that
// resonates within the corrected antenna's 2:1 band, and the turns at the same
// pitch that bring the resonance to F.
struct WindingCheck {
    WoundCoil coil;
    SimulatedAntenna antenna;
    bool inSwr2Band = false;
    std::optional<double> turnsForResonance;
    std::optional<CoilStress> stress; // at options.power, where the two-port holds F
};

// Advice for a poor design: why (a radiation efficiency at F below
// kAdviceEfficiencyPercent, or a 2:1 SWR band narrower than the amateur band
// F lies in), and what one change does, its figures computed: the coils
// wound on a former kAdvisedFormerScale times as wide (nec/design_advice.h).
struct AdvisedFormer {
    double formerDiaIn = 0;
    WoundCoil coil;                  // the winding re-sought on it
    SimulatedPoint atF;              // solved
    double efficiencyPercent = 0;    // solved at F
    std::optional<SwrBand> swr2Band; // by the two-port's model
};
struct DesignAdvice {
    bool lowEfficiency = false;
    // The amateur band a narrower 2:1 band (or none) leaves uncovered.
    std::optional<BandAtFrequency> narrowBand;
    // None without a former to build on, a two-port to seek the winding by,
    // or a winding on the larger former.
    std::optional<AdvisedFormer> largerFormer;
};

struct SimulationResult {
    int segments = 0;
    // What each corrected coil carries at options.power (from the two-port at
    // F: none where the search solved without it).
    std::optional<CoilStress> correctedStress;
    // The angle between an inverted V's legs (180 level); none in free space.
    std::optional<double> apexAngleDeg;
    SimulatedAntenna formula;
    // With a winding to build, the corrected antenna is solved with that
    // winding across the coils' terminals at every frequency.
    SimulatedAntenna corrected;
    double formulaCoilQ = 0;
    double correctedCoilQ = 0;
    // The winding to build for the corrected inductance; none without a
    // former, or when no winding can have it (buildFault says why).
    std::optional<WoundCoil> build;
    std::optional<std::string> buildFault;
    // The window's winding of the formula's inductance as the user builds it:
    // its turns close-wound, or at the pitch its revised length gives where
    // that is wider.
    std::optional<WindingCheck> windowWinding;
    // The coil already wound (options.givenTurns).
    std::optional<WindingCheck> givenWinding;
    // The corrected inductance wound as the window winds it, when the
    // winding inputs were given.
    std::optional<DesignResult> correctedWinding;
    // With the formula's coils: how much longer (negative: shorter) each tip
    // must be for resonance at F; none when no tip length gives it.
    std::optional<double> tipChangeFt;
    // Of the corrected antenna at F; none where NEC's efficiency is not above
    // zero (a very short antenna, where the report says "below 0.1 %").
    std::optional<double> lossDb;
    std::optional<SwrBand> swr2Band; // none: the SWR never comes down to 2
    int solves = 0;                  // decks nec2c solved
    int frequencies = 0;             // frequencies in them, each a matrix filled
    // A sentence for each answer whose search stopped short of its tolerance
    // (the figure given is its last estimate); empty when every one settled.
    std::vector<std::string> warnings;
    // None when the design is fine.
    std::optional<DesignAdvice> advice;
};

// The standing-wave ratio of a load on a line of impedance z0.
double standingWaveRatio(double resistanceOhm, double reactanceOhm, double z0Ohm);

// One model solved at one frequency.
SimulatedPoint solvePoint(const AntennaModel& model, double freqMHz, double z0Ohm,
                          NecEngine& engine);

// One antenna solved over the sweep around freqMHz: its resonance nearest
// freqMHz and its feed point and efficiency there; with band, its 2:1 SWR
// band around freqMHz too. A crossing whose search stops short of its
// tolerance (which simulateDesign would warn of) is its last estimate.
SimulatedAntenna simulateAntenna(const AntennaModel& model, double freqMHz, double z0Ohm,
                                 NecEngine& engine, std::optional<SwrBand>* band = nullptr);

// Solves the design's antenna (its inductance must have been computed, and
// be above zero). winding: the step-2 inputs, for the window's winding of the
// corrected inductance. Throws NecDeckError when the antenna cannot be
// modelled, NecEngineError when nec2c fails and SimulationSearchError when
// no coil makes the antenna resonate at F.
SimulationResult simulateDesign(const DesignResult& design,
                                const std::optional<WindingInputs>& winding,
                                const SimulationOptions& options, NecEngine& engine);

// The deck of the antenna to build: the corrected coils, as wound where
// there is a winding.
std::string simulatedDeck(const DesignResult& design, const SimulationOptions& options,
                          const SimulationResult& result);

} // namespace tarvix
