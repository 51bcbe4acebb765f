// The coil-position sweep and its three output forms.
#include "cli/coil_sweep.h"

#include "calc/conversions.h"
#include "calc/step_one_warnings.h"
#include "cli/command_line.h"
#include "cli/usage_error.h"
#include "report/design_report.h"

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

std::size_t sweepRowCount(const SweepRange& range) {
    return static_cast<std::size_t>(rowCountOf(range));
}

std::vector<SweepDistance> sweepDistances(const SweepRange& range) {
    const std::size_t rows = sweepRowCount(range);
    std::vector<SweepDistance> distances;
    distances.reserve(rows);
    for (std::size_t i = 0; i < rows; ++i) {
        // Each B is the value its number text reads back as, so a row shown as
        // 0.3 computes with 0.3, exactly as if it had been typed, and not with
        // 0.30000000000000004 from repeated steps.
        std::string text = numberText(range.from + static_cast<double>(i) * range.step);
        const double value = strictParse(text);
        distances.push_back({std::move(text), value});
    }
    return distances;
}

void runSweep(const DesignInputs& inputs, const SweepRange& range,
              const std::function<void(const SweepRow&)>& each) {
    DesignInputs rowInputs = inputs;
    rowInputs.winding.reset();
    for (SweepDistance& distance : sweepDistances(range)) {
        rowInputs.centreToCoilFt = feetFromAntennaUnit(distance.value, inputs.units);
        each({std::move(distance), runInductance(rowInputs)});
    }
}

std::vector<std::string> sweepWarnings(const DesignInputs& inputs) {
    std::vector<std::string> warnings;
    if (auto warning = frequencyWarning(inputs.freqMHz)) {
        warnings.push_back(std::move(*warning));
    }
    const Units units = inputs.units;
    for (const auto& warning : {lengthLimitWarning(inputs.freqMHz, inputs.totalLengthFt, units),
                                negativeLengthWarning(inputs.totalLengthFt, units)}) {
        if (warning) {
            warnings.push_back(*warning);
        }
    }
    return warnings;
}

void addRowWarnings(std::vector<std::string>& warnings, const DesignInputs& inputs,
                    const SweepRow& row) {
    const Units units = inputs.units;
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
                prefix = "B = " + row.distance.text + " " + antennaUnitName(units) + ": ";
            }
            warnings.push_back(prefix + *warning);
        }
    }
}

SweepReport::SweepReport(OutputFormat format, Units units, std::size_t rows)
    : m_format(format), m_units(units) {
    switch (m_format) {
    case OutputFormat::Text:
        m_table.reserve((rows + 1) * kTextRowSize);
        column("B (" + std::string(antennaUnitName(units)) + ")", kDistanceWidth);
        column("L (uH)", kInductanceWidth);
        m_table += "Shown (uH)\n";
        break;
    case OutputFormat::Csv:
        m_table.reserve((rows + 1) * kTextRowSize);
        m_table.append(distanceKey(units)) += ",inductance_uH,inductance_display,fault\n";
        break;
    case OutputFormat::Json:
        m_array = Json::array();
        break;
    }
}

void SweepReport::column(std::string_view text, std::size_t width) {
    m_table.append(text).append(text.size() < width ? width - text.size() : 1, ' ');
}

void SweepReport::add(const SweepRow& row) {
    const DesignResult& design = row.design;
    switch (m_format) {
    case OutputFormat::Text:
        column(row.distance.text, kDistanceWidth);
        if (design.fault) {
            m_table.append(design.fault->text) += '\n';
        } else {
            column(fullPrecisionText(design.record.inductanceUH), kInductanceWidth);
            m_table.append(design.inductanceDisplay) += '\n';
        }
        break;
    case OutputFormat::Csv:
        m_table.append(row.distance.text) += ',';
        if (design.fault) {
            m_table.append(",,").append(csvField(design.fault->text)) += '\n';
        } else {
            m_table.append(fullPrecisionText(design.record.inductanceUH)) += ',';
            m_table.append(csvField(design.inductanceDisplay)) += ",\n";
        }
        break;
    case OutputFormat::Json: {
        Json object = Json::object();
        object[distanceKey(m_units)] = row.distance.value;
        Json report = designJson(design);
        // The rows are worked out without their warnings; each row's are
        // those of its design on its own.
        report["warnings"] = designWarnings(design);
        for (const auto& [key, value] : report.items()) {
            object[key] = value;
        }
        m_array.push_back(std::move(object));
        break;
    }
    }
}

void SweepReport::write(std::ostream& out) const {
    if (m_format == OutputFormat::Json) {
        out << m_array.dump(2) << '\n';
        return;
    }
    out.write(m_table.data(), static_cast<std::streamsize>(m_table.size()));
}

} // namespace tarvix
