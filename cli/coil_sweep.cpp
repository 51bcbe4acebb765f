// The coil-position sweep and its three output forms.
#include "cli/coil_sweep.h"

#include "calc/conversions.h"
#include "calc/step_one_warnings.h"
#include "cli/design_report.h"
#include "cli/usage_error.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>

namespace tarvix {

namespace {

constexpr std::string_view kSweepOption = "--sweep-b";

// Steps that land on TO only up to rounding (0:1:0.1) still count TO as a row.
constexpr double kStepCountSlack = 1e-9;

UsageError badRange(std::string_view text, const std::string& reason) {
    return UsageError(std::string(kSweepOption) + ": '" + std::string(text) + "': " + reason);
}

double rowCountOf(const SweepRange& range) {
    return std::floor((range.to - range.from) / range.step + kStepCountSlack) + 1;
}

// CSV field: quoted only when it holds a separator, a quote or a line break.
std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + '"';
}

// "b_ft" or "b_m": the distance in CSV and JSON.
std::string distanceKey(Units units) {
    return std::string("b_") + antennaUnitName(units);
}

// A column of the text table; a text as wide as the column still gets one blank.
std::string padded(std::string text, std::size_t width) {
    text.append(text.size() < width ? width - text.size() : 1, ' ');
    return text;
}

} // namespace

SweepRange parseSweepRange(std::string_view text) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const auto colon = text.find(':', start);
        parts.push_back(text.substr(start, colon - start));
        if (colon == std::string_view::npos) {
            break;
        }
        start = colon + 1;
    }
    if (parts.size() != 3) {
        throw badRange(text, "expected FROM:TO:STEP");
    }
    SweepRange range;
    range.from = optionNumber(kSweepOption, parts[0]);
    range.to = optionNumber(kSweepOption, parts[1]);
    range.step = optionNumber(kSweepOption, parts[2]);
    if (!(range.step > 0)) {
        throw badRange(text, "the step must be above 0");
    }
    if (range.from > range.to) {
        throw badRange(text, "FROM must not be above TO");
    }
    const double rows = rowCountOf(range);
    if (!(rows <= static_cast<double>(kMaxSweepRows))) {
        throw badRange(text, "more than " + std::to_string(kMaxSweepRows) + " rows");
    }
    return range;
}

std::vector<double> sweepDistances(const SweepRange& range) {
    const auto rows = static_cast<std::size_t>(rowCountOf(range));
    std::vector<double> distances;
    distances.reserve(rows);
    for (std::size_t i = 0; i < rows; ++i) {
        // Each B is the value its number text reads back as, so a row shown as
        // 0.3 computes with 0.3, exactly as if it had been typed, and not with
        // 0.30000000000000004 from repeated steps.
        const double b = range.from + static_cast<double>(i) * range.step;
        distances.push_back(strictParse(numberText(b)));
    }
    return distances;
}

std::vector<SweepRow> runSweep(const DesignInputs& inputs, const SweepRange& range) {
    std::vector<SweepRow> rows;
    DesignInputs rowInputs = inputs;
    rowInputs.winding.reset();
    for (const double b : sweepDistances(range)) {
        rowInputs.centreToCoilFt = feetFromAntennaUnit(b, inputs.units);
        rows.push_back({b, runDesign(rowInputs)});
    }
    return rows;
}

std::vector<std::string> sweepWarnings(const DesignInputs& inputs,
                                       const std::vector<SweepRow>& rows) {
    std::vector<std::string> warnings;
    if (auto warning = frequencyWarning(inputs.freqMHz)) {
        warnings.push_back(*warning);
    }
    const Units units = inputs.units;
    for (const auto& warning : {lengthLimitWarning(inputs.freqMHz, inputs.totalLengthFt, units),
                                negativeLengthWarning(inputs.totalLengthFt, units)}) {
        if (warning) {
            warnings.push_back(*warning);
        }
    }
    for (const SweepRow& row : rows) {
        std::string prefix; // made only for a row that has a warning
        const double b = row.design.record.centreToCoilFt;
        for (const auto& warning :
             {coilDistanceRatioWarning(inputs.totalLengthFt, b, units),
              coilDistanceLimitWarning(inputs.totalLengthFt, b, units),
              negativeDistanceWarning(b, units),
              negativeInductanceWarning(row.design.inductanceDone ? row.design.record.inductanceUH
                                                                  : 0)}) {
            if (warning) {
                if (prefix.empty()) {
                    prefix =
                        "B = " + numberText(row.distance) + " " + antennaUnitName(units) + ": ";
                }
                warnings.push_back(prefix + *warning);
            }
        }
    }
    return warnings;
}

void writeSweepText(std::ostream& out, const std::vector<SweepRow>& rows, Units units) {
    constexpr std::size_t kDistanceWidth = 10;
    constexpr std::size_t kInductanceWidth = 24;
    const std::string distanceHeading = "B (" + std::string(antennaUnitName(units)) + ")";
    out << padded(distanceHeading, kDistanceWidth) << padded("L (uH)", kInductanceWidth)
        << "Shown (uH)\n";
    for (const SweepRow& row : rows) {
        out << padded(numberText(row.distance), kDistanceWidth);
        if (row.design.fault) {
            out << row.design.fault->text << '\n';
        } else {
            out << padded(fullPrecisionText(row.design.record.inductanceUH), kInductanceWidth)
                << row.design.inductanceDisplay << '\n';
        }
    }
}

void writeSweepCsv(std::ostream& out, const std::vector<SweepRow>& rows, Units units) {
    out << distanceKey(units) << ",inductance_uH,inductance_display,fault\n";
    for (const SweepRow& row : rows) {
        out << numberText(row.distance) << ',';
        if (row.design.fault) {
            out << ",," << csvField(row.design.fault->text) << '\n';
        } else {
            out << fullPrecisionText(row.design.record.inductanceUH) << ','
                << csvField(row.design.inductanceDisplay) << ",\n";
        }
    }
}

void writeSweepJson(std::ostream& out, const std::vector<SweepRow>& rows, Units units) {
    Json array = Json::array();
    for (const SweepRow& row : rows) {
        Json object = Json::object();
        object[distanceKey(units)] = row.distance;
        const Json design = designJson(row.design);
        for (const auto& [key, value] : design.items()) {
            object[key] = value;
        }
        array.push_back(std::move(object));
    }
    out << array.dump(2) << '\n';
}

} // namespace tarvix
