// The NEC-2 model of a loaded dipole: one wire of total length A, fed at its
// centre, with a loading coil at +-B in each leg, level or hung as an inverted
// V, in free space or over a ground, bare or insulated, with lossy coils and
// copper wire.
// The same model is written by --nec for the user's own NEC program and
// solved by --simulate.
#pragma once

#include "calc/coil_model.h"
#include "calc/ground.h"
#include "calc/physical_constants.h"
#include "nec/nec_geometry.h"

#include <complex>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarvix {

// The design cannot be modelled (a wire too short against its radius, coils
// beyond the wire's ends, ...). Raised before anything is written.
class NecDeckError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Annealed copper.
inline constexpr double kCopperConductivity = kCopperSPerM;

// Insulation of the antenna wire: its thickness and relative permittivity.
struct Insulation {
    double thicknessIn = 0;
    double permittivity = 0;
};

struct AntennaModel {
    double designFreqMHz = 0;  // sets the segment length
    double totalLengthFt = 0;  // A, tip to tip
    double centreToCoilFt = 0; // B; its sign is ignored
    double wireDiaIn = 0;
    double coilUH = 0;  // each coil
    double coilOhm = 0; // the series loss resistance of each coil
    // Without a winding each coil is an ideal inductance coilUH with the
    // series loss coilOhm at every frequency. With one (its circuit), each
    // coil is that winding across its terminals at every frequency (its
    // inductance, loss and self-capacitance; coilUH and coilOhm then say what
    // it has at the design frequency); coilQ, where the user sets the coils'
    // Q, replaces the winding's loss by omega L / Q.
    std::optional<CoilCircuit> coilCircuit;
    std::optional<double> coilQ;
    // Each coil's winding length (turns x pitch), over which its impedance is
    // spread (see NecGeometry); 0 puts each coil on one segment.
    double coilLengthIn = 0;
    std::optional<double> heightFt; // of the feed point over the ground; free space without
    Ground ground = averageGround();
    // The tips' height where they hang lower than the feed point: an inverted
    // V with straight legs, A and B measured along the wire. None: level.
    std::optional<double> endHeightFt;
    std::optional<Insulation> insulation;
    // 0 for the graded model, written and solved; n > 0 for at least n equal
    // segments, each coil's centred on +-B (the tests hold the graded model
    // against it; see buildGeometry).
    int uniformSegments = 0;
};

// Where a point of the wire, s metres along it from the middle (negative on
// the left leg), lies: x along the antenna, z its height (0 in free space).
// The feed segment (feedM long) stays level, each leg slopes from its end to
// the tip at endHeightFt.
struct WirePoint {
    double xM = 0;
    double zM = 0;
};
WirePoint wirePoint(const AntennaModel& model, double feedM, double alongM);
// The angle between an inverted V's legs, 180 for a level wire.
double apexAngleDeg(const AntennaModel& model);

// The series inductance per metre that stands for the wire's insulation:
// (mu0 / 2 pi) (1 - 1/er) ln(b / a), a the conductor radius, b = a + thickness.
double insulationHenriesPerMetre(double wireDiaIn, const Insulation& insulation);

// Frequencies at which NEC solves the model: count frequencies from start,
// step apart.
struct FrequencyRun {
    double startMHz = 0;
    double stepMHz = 0;
    int count = 1;
};

// The sweep that --nec writes: 41 frequencies from 80 % to 120 % of F.
inline constexpr double kNecSweepLowFactor = 0.8;
inline constexpr double kNecSweepHighFactor = 1.2;
inline constexpr int kNecSweepPoints = 41;
FrequencyRun designSweep(double freqMHz, int points = kNecSweepPoints);

// The whole deck: the comment lines as CM cards, then geometry, ground, loads,
// the feed and one FR card with its XQ per run. Throws NecDeckError before
// writing anything.
void writeNecDeck(std::ostream& out, const AntennaModel& model,
                  const std::vector<std::string>& comments, const std::vector<FrequencyRun>& runs);

// The antenna as a two-port, for the simulation's search: port 1 the feed,
// port 2 both coils' segments driven together, with no coil loads; at each
// frequency one solution with the feed driven at 1 V and one with the coils
// driven at 1 V (the other port at 1 pV). The coils' inductance and loss are
// not in the deck. Throws NecDeckError as writeNecDeck does, and when the
// coils share the feed segment.
void writeTwoPortDeck(std::ostream& out, const AntennaModel& model,
                      const std::vector<double>& freqsMHz);

} // namespace tarvix
