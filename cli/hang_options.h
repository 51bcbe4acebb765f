// How the antenna hangs over the ground on the command line: --end-height
// (an inverted V), --ground (a class of ground) or --ground-conductivity with
// --ground-permittivity. They need --height, the feed point's height.
#pragma once

#include "cli/option_group.h"

#include <string>

namespace tarvix {

class HangOptions final : public OptionGroup {
public:
    // Adds the options to the app; height is --height, which each needs.
    HangOptions(CLI::App& app, CLI::Option* height);

    // Fills the request's model from what was given, the end height in the
    // request's units (read before the units are applied). Throws UsageError
    // for a ground class that does not exist or a value that is no number.
    void apply(Request& request) const override;

    // The error that names the option of a hang input the rules refused; none
    // for an input that is not one of these.
    std::optional<UsageError> refused(const InputProblem& problem) const override;

private:
    std::string m_endHeight;
    std::string m_groundClass;
    std::string m_conductivity;
    std::string m_permittivity;
    CLI::Option* m_endHeightOpt = nullptr;
    CLI::Option* m_groundOpt = nullptr;
    CLI::Option* m_conductivityOpt = nullptr;
    CLI::Option* m_permittivityOpt = nullptr;
};

} // namespace tarvix
