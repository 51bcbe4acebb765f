// The transmitter's power and mode on the command line.
#include "cli/power_options.h"

#include "calc/number_text.h"
#include "calc/transmit_modes.h"
#include "cli/command_line.h"
#include "cli/usage_error.h"

#include <CLI/CLI.hpp>

namespace tarvix {

namespace {

std::string modeNames() {
    std::string names;
    for (const TransmitMode& mode : transmitModes()) {
        names += (names.empty() ? "" : ", ") + std::string(mode.name) + " " +
                 numberText(mode.dutyPercent) + " %";
    }
    return names;
}

} // namespace

TransmitOptions::TransmitOptions(CLI::App& app, CLI::Option* simulate) {
    m_powerOpt = app.add_option("--power", m_power,
                                "watts at the feed point, for what each coil carries (default " +
                                    numberText(kDefaultPowerW) + ")")
                     ->option_text("W");
    m_modeOpt = app.add_option("--mode", m_mode,
                               "the mode, by its share of the time on: " + modeNames() +
                                   " (default " + std::string(kDefaultTransmitMode) + ")")
                    ->option_text("MODE");
    m_dutyOpt =
        app.add_option("--duty", m_duty, "the share of the time on, in per cent")->option_text("P");
    for (CLI::Option* option : {m_powerOpt, m_modeOpt, m_dutyOpt}) {
        option->needs(simulate);
    }
    m_dutyOpt->excludes(m_modeOpt);
}

void TransmitOptions::apply(Request& request) const {
    PowerOptions& power = request.simulation.options.power;
    if (m_powerOpt->count() > 0) {
        power.powerW = optionNumber("--power", m_power);
    }
    if (m_modeOpt->count() > 0) {
        const std::optional<TransmitMode> mode = transmitMode(m_mode);
        if (!mode) {
            throw optionValueError("--mode", m_mode, "is not a mode (" + modeNames() + ")");
        }
        power.mode = std::string(mode->name);
        power.dutyPercent = mode->dutyPercent;
    }
    if (m_dutyOpt->count() > 0) {
        power.mode.clear();
        power.dutyPercent = optionNumber("--duty", m_duty);
    }
}

std::optional<UsageError> TransmitOptions::refused(const InputProblem& problem) const {
    switch (problem.input) {
    case SimulationInput::Power:
        return optionValueError("--power", m_power, problem.why);
    case SimulationInput::Duty:
        return optionValueError("--duty", m_duty, problem.why);
    default:
        return std::nullopt;
    }
}

} // namespace tarvix
