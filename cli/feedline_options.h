// The feed line to the rig on the command line: --feedline TYPE:LENGTH, or
// --feedline-data Z0:VF:DB_PER_100FT with --feedline-length. With a line, the
// report adds the rig's end of it, and --measured and its readings are taken
// as read at the rig.
#pragma once

#include "cli/option_group.h"

#include <string>

namespace tarvix {

class FeedLineOptions final : public OptionGroup {
public:
    // Adds the options to the app; simulate is --simulate, which each needs.
    FeedLineOptions(CLI::App& app, CLI::Option* simulate);

    // Fills the request's line from what was given, its length in the
    // request's units (read after the units are applied). Throws UsageError
    // for a value with no length or that is no number.
    void apply(Request& request) const override;

    // The error that names the option of a line input the rules refused; none
    // for an input that is not one of these.
    std::optional<UsageError> refused(const InputProblem& problem) const override;

private:
    std::string m_line;
    std::string m_data;
    std::string m_length;
    CLI::Option* m_lineOpt = nullptr;
    CLI::Option* m_dataOpt = nullptr;
    CLI::Option* m_lengthOpt = nullptr;
};

} // namespace tarvix
