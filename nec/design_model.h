// The NEC-2 model of a computed design: its wire, its coils with their loss,
// and where it hangs; and the comment lines that describe it in a deck.
#pragma once

#include "calc/design_run.h"
#include "nec/nec_deck.h"

#include <optional>
#include <string>
#include <vector>

namespace tarvix {

inline constexpr double kDefaultCoilQ = 200;
inline constexpr double kDefaultInsulationPermittivity = 3.5; // PVC

struct ModelOptions {
    std::optional<double> heightFt;    // of the feed point
    std::optional<double> endHeightFt; // of the tips, for an inverted V
    Ground ground = averageGround();
    std::optional<Insulation> insulation;
    double coilQ = kDefaultCoilQ;
    bool coilQGiven = false; // by the user, over the Q of a known winding
    int uniformSegments = 0; // AntennaModel::uniformSegments
};

// The gauge the user named a wire by ("SWG 20", "AWG 18"); none for a wire
// given by its diameter. swg is the SWG gauge when no other was given.
std::optional<std::string> gaugeName(const std::optional<GivenWire>& given, double swg);

// The series loss resistance of a coil of quality factor q at the design
// frequency: omega L / Q.
double coilLossOhm(double freqMHz, double coilUH, double coilQ);

// The design's antenna with coils of coilUH each.
AntennaModel designModel(const DesignRecord& record, double coilUH, const ModelOptions& options);

// The design's antenna with coils of this winding: its impedance across its
// terminals at every frequency, with its own loss or the user's Q.
AntennaModel windingModel(const DesignRecord& record, const CoilCircuit& circuit,
                          const ModelOptions& options);

// What the deck says of the design in its comment lines.
std::vector<std::string> designComments(const DesignResult& design, const AntennaModel& model);

// The NEC-2 deck of a computed design with its formula's coils, swept around
// F, as --nec writes it and the check window saves it. Throws NecDeckError,
// also for a negative inductance.
std::string designDeck(const DesignResult& design, const ModelOptions& options);

// The deck of the antenna to build, as a simulation corrected it: with the
// winding to build across each coil's terminals at every frequency where
// there is one, else with coils of the corrected inductance and loss.
std::string builtDeck(const DesignResult& design, const ModelOptions& options,
                      const std::optional<CoilWinding>& winding, double correctedUH,
                      double correctedOhm);

} // namespace tarvix
