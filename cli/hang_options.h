// How the antenna hangs over the ground on the command line: --end-height
// (an inverted V), --ground (a class of ground) or --ground-conductivity with
// --ground-permittivity. They need --height, the feed point's height.
#pragma once

#include "nec/simulation_request.h"

#include <optional>
#include <string>

namespace CLI {
class App;
class Option;
} // namespace CLI

namespace tarvix {

struct Request;
class UsageError;

class HangOptions {
public:
    // Adds the options to the app; height is --height, which each needs.
    HangOptions(CLI::App& app, CLI::Option* height);
    HangOptions(const HangOptions&) = delete;
    HangOptions& operator=(const HangOptions&) = delete;

    // Fills the request's model from what was given, the end height in the
    // request's units (read before the units are applied). Throws UsageError
    // for a ground class that does not exist or a value that is no number.
    void apply(Request& request) const;

    // The error that names the option of a hang input the rules refused; none
    // for an input that is not one of these.
    std::optional<UsageError> refused(const InputProblem& problem) const;

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
