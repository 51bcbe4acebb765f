// The inverted V and the ground on the command line.
#include "cli/hang_options.h"

#include "calc/ground.h"
#include "calc/units.h"
#include "cli/command_line.h"
#include "cli/usage_error.h"

#include <CLI/CLI.hpp>

namespace tarvix {

namespace {

std::string classNames() {
    std::string names;
    for (const GroundClass& ground : groundClasses()) {
        names += (names.empty() ? "" : ", ") + std::string(ground.name);
    }
    return names;
}

} // namespace

HangOptions::HangOptions(CLI::App& app, CLI::Option* height) {
    m_endHeightOpt =
        app.add_option("--end-height", m_endHeight,
                       "the tips this high, below --height: an inverted V (default: level)")
            ->option_text("FT");
    m_groundOpt =
        app.add_option("--ground", m_groundClass,
                       "the ground under --height: " + classNames() + " (default average)")
            ->option_text("CLASS");
    m_conductivityOpt = app.add_option("--ground-conductivity", m_conductivity,
                                       "the ground's conductivity, with --ground-permittivity")
                            ->option_text("S_PER_M");
    m_permittivityOpt = app.add_option("--ground-permittivity", m_permittivity,
                                       "the ground's relative permittivity")
                            ->option_text("E");
    for (CLI::Option* option :
         {m_endHeightOpt, m_groundOpt, m_conductivityOpt, m_permittivityOpt}) {
        option->needs(height);
    }
    m_conductivityOpt->needs(m_permittivityOpt)->excludes(m_groundOpt);
    m_permittivityOpt->needs(m_conductivityOpt)->excludes(m_groundOpt);
}

void HangOptions::apply(Request& request) const {
    ModelOptions& model = request.simulation.options.model;
    if (m_endHeightOpt->count() > 0) {
        model.endHeightFt = feetFromAntennaUnit(optionNumber("--end-height", m_endHeight),
                                                request.simulation.design.units);
    }
    if (m_groundOpt->count() > 0) {
        const std::optional<Ground> ground = groundOfClass(m_groundClass);
        if (!ground) {
            throw optionValueError("--ground", m_groundClass,
                                   "is not a class of ground (" + classNames() + ")");
        }
        model.ground = *ground;
    }
    if (m_conductivityOpt->count() > 0) {
        model.ground = Ground{"", optionNumber("--ground-conductivity", m_conductivity),
                              optionNumber("--ground-permittivity", m_permittivity)};
    }
}

std::optional<UsageError> HangOptions::refused(const InputProblem& problem) const {
    switch (problem.input) {
    case SimulationInput::EndHeight:
        return optionValueError("--end-height", m_endHeight, problem.why);
    case SimulationInput::GroundConductivity:
        return optionValueError("--ground-conductivity", m_conductivity, problem.why);
    case SimulationInput::GroundPermittivity:
        return optionValueError("--ground-permittivity", m_permittivity, problem.why);
    default:
        return std::nullopt;
    }
}

} // namespace tarvix
