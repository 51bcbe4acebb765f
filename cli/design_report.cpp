// Text and JSON forms of one design.
#include "cli/design_report.h"

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

Json designJson(const DesignResult& design) {
    Json object = Json::object();
    if (design.inductanceDone) {
        // nlohmann writes the shortest digits that read back as the same double.
        object["inductance_uH"] = design.record.inductanceUH;
        object["inductance_display"] = design.inductanceDisplay;
    }
    if (design.windingDone) {
        object["turns"] = wholeNumber(design.record.turnCount);
        object["revised_length_in"] = design.record.revisedLengthIn;
        object["message"] = design.revisedLengthMessage;
    }
    if (design.windingDone || (design.fault && design.fault->stage == Stage::Winding)) {
        Json passes = Json::array();
        for (const WindingPass& pass : design.passes) {
            passes.push_back(
                Json{{"turns", wholeNumber(pass.turns)}, {"length_in", pass.lengthIn}});
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

void writeDesignText(std::ostream& out, const DesignResult& design) {
    if (!design.inductanceDone) {
        return;
    }
    out << "Inductance:     " << design.inductanceDisplay << " uH\n"
        << "Full precision: " << fullPrecisionText(design.record.inductanceUH) << " uH\n";
    if (design.windingDone) {
        out << "Turns:          " << design.turnsText << '\n'
            << design.revisedLengthMessage << '\n';
    }
}

} // namespace tarvix
