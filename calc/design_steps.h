// The two calculations of a design. Each reads and writes the design record
// step by step, in the order the formulas are evaluated, so that a fault
// leaves exactly the fields computed before it.
#pragma once

#include "calc/design_record.h"
#include "calc/units.h"

#include <string>
#include <string_view>

namespace tarvix {

// Where the calculations write the texts the user sees. The window writes them
// to its boxes; tests and the command line record them.
class StepOutput {
public:
    virtual ~StepOutput() = default;
    virtual void setInductanceText(const std::string& text) = 0;    // box L
    virtual void setTurnsText(const std::string& text) = 0;         // box txtN
    virtual void setRevisedLengthText(const std::string& text) = 0; // box txtB2
    // Called after each winding pass with the record as that pass left it.
    virtual void passDone(const DesignRecord& /*record*/) {}
};

// Keeps the last text written to each box, for runs with no window: the
// command line, and tools that run designs in bulk.
class KeptTexts : public StepOutput {
public:
    void setInductanceText(const std::string& text) override { inductanceText = text; }
    void setTurnsText(const std::string& text) override { turnsText = text; }
    void setRevisedLengthText(const std::string& text) override { revisedLengthText = text; }

    std::string inductanceText;
    std::string turnsText;
    std::string revisedLengthText;
};

inline constexpr double kPi = 3.141592654; // ten significant digits, as designed
inline constexpr int kWindingPasses = 10;
inline constexpr const char* kPassBlank = "                      "; // 22 blanks

// A wire given by its diameter (from an AWG number, or measured) in place of
// an SWG gauge text. The calculations then store it where the gauge lookup
// would and read no gauge.
struct WireDiameter {
    double inches = 0;
};

// Step 1: loading-coil inductance from F, A, B (already in the record) and the
// antenna gauge text of cmbSWG1. Ends by writing the number text of
// inductanceUH. Throws Fault.
void computeInductance(DesignRecord& record, std::string_view antennaSwgText, StepOutput& out);
void computeInductance(DesignRecord& record, WireDiameter antennaWire, StepOutput& out);

// Step 2: ten winding passes from inductanceUH, the former diameter, the coil
// length and the coil gauge text of cmbSWG2. Throws Fault; a gauge that is not
// in the table is a fault before the first pass.
void computeWinding(DesignRecord& record, std::string_view coilSwgText, StepOutput& out);
void computeWinding(DesignRecord& record, WireDiameter coilWire, StepOutput& out);

// The final message of step 2 for a revised length, "Revised length = 0.2
// inch": the window's, and the reports' in the design's units.
std::string revisedLengthMessage(double revisedLengthIn, Units units = Units::FeetAndInches);

} // namespace tarvix
