// The transmitter on the command line: --power (watts at the feed point),
// --mode (the mode's share of the time on) or --duty (that share given). They
// need --simulate; the report gives what each coil carries at them.
#pragma once

#include "cli/option_group.h"

#include <string>

namespace tarvix {

class TransmitOptions final : public OptionGroup {
public:
    TransmitOptions(CLI::App& app, CLI::Option* simulate);

    // Fills the request's power. Throws UsageError for a mode that does not
    // exist or a value that is no number.
    void apply(Request& request) const override;

    // The error that names the option of a refused power or duty; none for
    // another input.
    std::optional<UsageError> refused(const InputProblem& problem) const override;

private:
    std::string m_power;
    std::string m_mode;
    std::string m_duty;
    CLI::Option* m_powerOpt = nullptr;
    CLI::Option* m_modeOpt = nullptr;
    CLI::Option* m_dutyOpt = nullptr;
};

} // namespace tarvix
