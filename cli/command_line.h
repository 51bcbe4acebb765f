// The command line of tarvix-design, read into a request with every number
// already parsed.
#pragma once

#include "calc/design_run.h"
#include "cli/coil_sweep.h"
#include "nec/design_model.h"
#include "nec/simulation.h"
#include "report/trim_report.h"

#include <optional>
#include <string>

namespace tarvix {

enum class OutputFormat { Text, Json, Csv };

struct Request {
    // The coil distance of the inputs is unused when a sweep is asked for.
    DesignInputs design;
    std::optional<SweepRange> sweep; // in the units of design.units
    OutputFormat format = OutputFormat::Text;
    std::optional<std::string> necPath; // "-" is standard output
    // The antenna as --nec writes it and --simulate solves it.
    ModelOptions model;
    bool simulate = false;
    double z0Ohm = kDefaultZ0;
    // The former, the coil wire and --coil-pitch, for the winding --simulate
    // builds (given with or without --coil-length).
    std::optional<CoilBuild> coilBuild;
    // --coil-turns: a coil already wound with that former and wire.
    std::optional<double> coilTurns;
    // --measured and what was read there: the trim of the antenna built.
    std::optional<double> measuredMHz;
    MeasuredReadings measuredReadings;
    std::optional<std::string> plotPath;
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
