// Text and JSON forms of one design.
#include "report/design_report.h"

#include "calc/conversions.h"
#include "calc/design_steps.h"
#include "calc/units.h"

#include <cmath>
#include <cstdint>
#include <ostream>

namespace tarvix {

// Turn counts are whole numbers: written without a fraction while a 64-bit
// integer holds them exactly.
Json wholeNumber(double value) {
    constexpr double kExactLimit = 9007199254740992.0; // 2^53
    if (std::fabs(value) < kExactLimit && value == std::floor(value)) {
        return static_cast<std::int64_t>(value);
    }
    return value;
}

namespace {

// A length key with its unit: "revised_length_in" or "revised_length_mm".
std::string coilLengthKey(const char* name, Units units) {
    return std::string(name) + "_" + coilUnitName(units);
}

// The revised length line of a finished winding, in the design's units.
std::string revisedLengthLine(const DesignResult& design) {
    return revisedLengthMessage(design.record.revisedLengthIn, design.inputs.units);
}

} // namespace

Json designJson(const DesignResult& design) {
    const Units units = design.inputs.units;
    Json object = Json::object();
    object["units"] = units == Units::Metric ? "metric" : "imperial";
    if (design.inductanceDone) {
        // nlohmann writes the shortest digits that read back as the same double.
        object["inductance_uH"] = design.record.inductanceUH;
        object["inductance_display"] = design.inductanceDisplay;
    }
    if (design.windingDone) {
        object["turns"] = wholeNumber(design.record.turnCount);
        object[coilLengthKey("revised_length", units)] =
            reportedCoilLength(design.record.revisedLengthIn, units);
        object["message"] = revisedLengthLine(design);
    }
    if (design.windingDone || (design.fault && design.fault->stage == Stage::Winding)) {
        Json passes = Json::array();
        for (const WindingPass& pass : design.passes) {
            Json entry = Json::object();
            entry["turns"] = wholeNumber(pass.turns);
            entry[coilLengthKey("length", units)] = reportedCoilLength(pass.lengthIn, units);
            passes.push_back(std::move(entry));
        }
        object["passes"] = std::move(passes);
    }
    object["warnings"] = design.warnings;
    if (design.fault) {
        object["fault"] = design.fault->text;
        object["stage"] = stageName(design.fault->stage);
    }
    return object;
}

void writeDesignText(std::ostream& out, const DesignResult& design, bool simulated) {
    if (!design.inductanceDone) {
        return;
    }
    out << "Inductance:     " << design.inductanceDisplay << " uH\n";
    if (!simulated) {
        out << "Full precision: " << fullPrecisionText(design.record.inductanceUH) << " uH\n";
    }
    if (design.windingDone) {
        out << "Turns:          " << design.turnsText << '\n' << revisedLengthLine(design) << '\n';
    }
}

} // namespace tarvix
