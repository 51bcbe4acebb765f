// The command line of tarvix-design, read into a request with every number
// already parsed.
#pragma once

#include "calc/design_run.h"
#include "cli/coil_sweep.h"
#include "nec/design_model.h"
#include "nec/simulation_request.h"

#include <optional>
#include <string>

namespace tarvix {

enum class OutputFormat { Text, Json, Csv };

struct Request {
    // The design, the antenna as --nec writes it and --simulate solves it,
    // the winding --simulate builds (the former, the coil wire and
    // --coil-pitch, given with or without --coil-length), --coil-turns, and
    // --measured with what was read there. The coil distance of the design is
    // unused when a sweep is asked for.
    SimulationRequest simulation;
    std::optional<SweepRange> sweep; // in the units of the design
    OutputFormat format = OutputFormat::Text;
    std::optional<std::string> necPath; // "-" is standard output
    bool simulate = false;
    std::optional<std::string> plotPath;
    std::optional<std::string> sheetPath; // a .pdf or .svg file, never standard output
};

struct CommandLine {
    enum class Action { Run, ShowHelp, ShowVersion, UsageError };
    Action action = Action::Run;
    Request request;  // for Run
    std::string text; // help or version text, or the usage error
};

// Never throws for anything the user typed: problems come back as a
// UsageError action whose text names the option.
CommandLine parseCommandLine(int argc, const char* const* argv);

} // namespace tarvix
