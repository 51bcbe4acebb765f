// The feed line on the command line.
#include "cli/feedline_options.h"

#include "calc/feedline.h"
#include "calc/units.h"
#include "cli/command_line.h"
#include "cli/usage_error.h"

#include <CLI/CLI.hpp>
#include <vector>

namespace tarvix {

namespace {

// The fields of a value split at each ':'.
std::vector<std::string> fields(const std::string& text) {
    std::vector<std::string> parts(1);
    for (const char c : text) {
        if (c == ':') {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

} // namespace

FeedLineOptions::FeedLineOptions(CLI::App& app, CLI::Option* simulate) {
    m_lineOpt = app.add_option("--feedline", m_line,
                               "the feed line to the rig, LENGTH in ft (m with --metric): " +
                                   feedLineTypeNames() +
                                   "; the report adds the rig's end, and --measured is "
                                   "read there")
                    ->option_text("TYPE:LENGTH");
    m_dataOpt = app.add_option("--feedline-data", m_data,
                               "a feed line by its impedance, velocity factor and matched loss "
                               "in dB per 100 ft at F (scaled by the root of frequency)")
                    ->option_text("Z0:VF:DB_PER_100FT");
    m_lengthOpt = app.add_option("--feedline-length", m_length,
                                 "the length of --feedline-data's line (m with --metric)")
                      ->option_text("LENGTH");
    m_lineOpt->needs(simulate)->excludes(m_dataOpt)->excludes(m_lengthOpt);
    m_dataOpt->needs(simulate)->needs(m_lengthOpt);
    m_lengthOpt->needs(m_dataOpt);
}

void FeedLineOptions::apply(Request& request) const {
    const Units units = request.simulation.design.units;
    if (m_lineOpt->count() > 0) {
        const std::size_t colon = m_line.rfind(':');
        if (colon == std::string::npos) {
            throw optionValueError("--feedline", m_line, "has no length: give TYPE:LENGTH");
        }
        FeedLineInput line;
        line.typeName = m_line.substr(0, colon);
        line.lengthFt =
            feetFromAntennaUnit(optionNumber("--feedline", m_line.substr(colon + 1)), units);
        request.simulation.feedLine = line;
    }
    if (m_dataOpt->count() > 0) {
        const std::vector<std::string> parts = fields(m_data);
        if (parts.size() != 3) {
            throw optionValueError("--feedline-data", m_data,
                                   "is not Z0:VF:DB_PER_100FT (three numbers)");
        }
        FeedLineInput line;
        line.figures = FeedLineFigures{optionNumber("--feedline-data", parts[0]),
                                       optionNumber("--feedline-data", parts[1]),
                                       optionNumber("--feedline-data", parts[2])};
        line.lengthFt = feetFromAntennaUnit(optionNumber("--feedline-length", m_length), units);
        request.simulation.feedLine = line;
    }
}

std::optional<UsageError> FeedLineOptions::refused(const InputProblem& problem) const {
    const bool byData = m_dataOpt->count() > 0;
    switch (problem.input) {
    case SimulationInput::FeedLine:
        return optionValueError("--feedline", m_line, problem.why);
    case SimulationInput::FeedLineLength:
        return byData ? optionValueError("--feedline-length", m_length, problem.why)
                      : optionValueError("--feedline", m_line, "has a length that " + problem.why);
    case SimulationInput::FeedLineData:
        return optionValueError("--feedline-data", m_data, problem.why);
    default:
        return std::nullopt;
    }
}

} // namespace tarvix
