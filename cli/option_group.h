// A group of options that joins the command line beside the design's own
// (the antenna as hung, the feed line, the transmitter): once the units are
// applied it fills its part of the request, and where the simulation's rules
// refuse one of its inputs it names its own option and the text typed there.
#pragma once

#include "cli/usage_error.h"
#include "nec/simulation_request.h"

#include <optional>

namespace CLI {
class App;
class Option;
} // namespace CLI

namespace tarvix {

struct Request;

class OptionGroup {
public:
    virtual ~OptionGroup() = default;
    // Throws UsageError for a value that cannot be read.
    virtual void apply(Request& request) const = 0;
    // None for an input that is not one of the group's.
    virtual std::optional<UsageError> refused(const InputProblem& problem) const = 0;

protected:
    OptionGroup() = default;
    OptionGroup(const OptionGroup&) = delete;
    OptionGroup& operator=(const OptionGroup&) = delete;
};

} // namespace tarvix
