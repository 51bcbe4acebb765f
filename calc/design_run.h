// One design from numbers already read: the step-1 warnings, the inductance
// and, when asked for, the ten winding passes, each stage stopping at its
// first fault with what it computed before kept.
#pragma once

#include "calc/design_record.h"
#include "calc/fault.h"
#include "calc/units.h"

#include <optional>
#include <string>
#include <vector>

namespace tarvix {

// A wire named by its diameter or by an AWG number instead of an SWG gauge.
struct GivenWire {
    double diameterIn = 0;
    std::optional<int> awg; // the gauge the diameter comes from, if any
};

// The gauges the window's lists show at start, and those of a design that
// names no other.
inline constexpr const char* kDefaultAntennaSwgText = "14";
inline constexpr const char* kDefaultCoilSwgText = "20";

struct WindingInputs {
    double formerDiaIn = 0;
    double coilLengthIn = 0;
    std::string coilSwgText = kDefaultCoilSwgText;
};

// The numbers are in feet and inches whatever units the user gave them in;
// units says how the reports show them.
struct DesignInputs {
    double freqMHz = 0;
    double totalLengthFt = 0;
    double centreToCoilFt = 0;
    std::string antennaSwgText = kDefaultAntennaSwgText;
    std::optional<WindingInputs> winding;
    // Wires named by AWG or diameter, in place of the SWG texts.
    std::optional<GivenWire> antennaWire;
    std::optional<GivenWire> coilWire;
    Units units = Units::FeetAndInches;
};

enum class Stage { Inductance, Winding };

// "inductance" or "winding", as messages and JSON name the stage.
const char* stageName(Stage stage);

// Where a design faulted and how: the kind, and its text as the user reads it
// (faultText of the kind).
struct StageFault {
    Stage stage;
    FaultKind kind;
    std::string text;
};

struct WindingPass {
    double turns = 0;
    double lengthIn = 0;
};

struct DesignResult {
    DesignInputs inputs;
    DesignRecord record;
    std::vector<std::string> warnings;

    bool inductanceDone = false;
    std::string inductanceDisplay; // the inductance box's text, rounded down to 0.1 uH

    bool windingDone = false;
    std::vector<WindingPass> passes; // those completed, also when a pass faulted
    std::string turnsText;

    std::optional<StageFault> fault;
};

// A fresh record per design, as a freshly opened window would have.
DesignResult runDesign(const DesignInputs& inputs);

// The inductance stage of runDesign alone: no warnings and no winding, for
// runs that report their warnings their own way.
DesignResult runInductance(const DesignInputs& inputs);

// The warnings runDesign gives: the step-1 limits, the lengths below zero and
// a negative inductance, in that order.
std::vector<std::string> designWarnings(const DesignResult& result);

// The ten winding passes for the inductance in result.record, as step 2 runs
// them; the winding fields, texts, passes and any fault go into result.
void runWinding(DesignResult& result, const WindingInputs& winding);

// What the inductance box shows once its change handler has run on the text
// written to it: that text read back, rounded down to 0.1, as number text.
// Throws Fault.
std::string inductanceDisplayText(const std::string& inductanceText);

// The shortest text that reads back as the same double.
std::string fullPrecisionText(double value);

} // namespace tarvix
