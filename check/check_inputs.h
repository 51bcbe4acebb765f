// The check window's inputs as typed, read into a design and the options of
// its simulation, with what is noted beside each box: the calculator's range
// warnings, which never stop a run, and the values that cannot be modelled,
// which do. No Qt here, so the rules are tested without a window.
#pragma once

#include "calc/design_run.h"
#include "calc/units.h"
#include "nec/simulation_request.h"

#include <optional>
#include <string>
#include <vector>

namespace tarvix {

enum class WireBy { Swg, Awg, Diameter };

struct WireText {
    WireBy by = WireBy::Swg;
    std::string text;
    bool operator==(const WireText&) const = default;
};

// Every length in the units chosen: feet or metres for the antenna and its
// height, inches or millimetres for the coil, the wires and the insulation.
struct CheckTexts {
    std::string freq;
    std::string totalLength;
    std::string centreToCoil;
    WireText antennaWire{WireBy::Swg, kDefaultAntennaSwgText};
    bool overGround = false;
    std::string height; // of the feed point
    // The tips' height for an inverted V; empty for a level wire.
    std::string endHeight;
    int groundClass = 1; // in groundClasses(): average

    bool insulated = false;
    std::string insulation;
    std::string permittivity = "3.5";
    std::string formerDia;
    CoilFormer former = CoilFormer::pvcPipe;
    WireText coilWire{WireBy::Swg, kDefaultCoilSwgText};
    bool closeWound = true;
    std::string pitch;
    // The calculator's first guess of the coil length, for its own winding of
    // the coils; empty leaves that winding out.
    std::string coilLength;
    // The turns of a coil already wound, at the pitch or close-wound; empty
    // when there is none.
    std::string givenTurns;
    bool qGiven = false;
    std::string q = "200";
    std::string z0 = "50";
    // The feed line to the rig: 0 none (readings at the feed point), else
    // 1 + its place in feedLineTypes(); its length in the antenna's unit.
    int feedLineType = 0;
    std::string feedLineLength;
    // The transmitter: watts at the feed point, and the mode by its place in
    // transmitModes() (ssb).
    std::string power = "100";
    int mode = 1;
    // What an analyzer showed on the antenna built: the resonance, and the
    // SWR and resistance there; all empty when nothing was measured.
    std::string measured;
    std::string measuredSwr;
    std::string measuredR;
    Units units = Units::FeetAndInches;
    // The user's own decimal separator, read as well as a point.
    char decimalSeparator = '.';
    bool operator==(const CheckTexts&) const = default;
};

enum class CheckField {
    Freq,
    TotalLength,
    CentreToCoil,
    AntennaWire,
    Height,
    EndHeight,
    Insulation,
    Permittivity,
    FormerDia,
    CoilWire,
    Pitch,
    CoilLength,
    GivenTurns,
    Q,
    Z0,
    FeedLineLength,
    Power,
    Measured,
    MeasuredSwr,
    MeasuredR
};

struct FieldNote {
    CheckField field;
    std::string text;
    bool stopsRun = false; // a value that cannot be read or modelled
};

// The simulation as typed, with the notes beside its boxes.
struct CheckRequest : SimulationRequest {
    std::vector<FieldNote> notes; // in the order of the boxes
    // Why no simulation can be made: the first note that stops it; none when
    // the inputs can be simulated.
    std::optional<FieldNote> stop;
};

// A number in the text: a point, or the given separator in its place, for
// the decimals; none for anything else, an empty text included.
std::optional<double> readLocalNumber(const std::string& text, char decimalSeparator);

CheckRequest readCheckInputs(const CheckTexts& texts);

// The thickness of the insulation offered before one is typed, in inches:
// PVC hook-up wire's, about 0.8 mm.
inline constexpr const char* kDefaultInsulationInText = "0.03";
// Said beside the insulation's box, as a guide to the thickness.
inline constexpr const char* kInsulationHintText = "PVC hook-up wire: about 0.8 mm (0.03 in)";

} // namespace tarvix
