// One run of tarvix-design: read the command line, run the design or the
// sweep, write the report and the NEC deck, and choose the exit status.
#include "cli/tarvix_design.h"

#include "calc/design_run.h"
#include "cli/coil_sweep.h"
#include "cli/command_line.h"
#include "cli/plot_loader.h"
#include "nec/design_model.h"
#include "nec/nec2c.h"
#include "nec/nec_deck.h"
#include "nec/simulation.h"
#include "nec/simulation_outcome.h"
#include "report/build_sheet.h"
#include "report/design_report.h"
#include "report/file_output.h"
#include "report/simulation_report.h"
#include "report/trim_report.h"

#include <cerrno>
#include <cstring>
#include <ostream>
#include <sstream>
#include <string>
#include <system_error>

namespace tarvix {

namespace {

constexpr const char* kProgram = "tarvix-design: ";

// One line of standard error: the program's name, then the message.
std::string messageLine(const std::string& message) {
    return kProgram + message + '\n';
}

// Standard error is unbuffered: each message is made whole first and written
// in one call, so that another program's output cannot cut it.
void report(std::ostream& err, const std::string& message) {
    err << messageLine(message);
}

void writeWarnings(std::ostream& err, const std::vector<std::string>& warnings) {
    for (const std::string& warning : warnings) {
        report(err, "warning: " + warning);
    }
}

int runSweepRequest(const Request& request, std::ostream& out, std::ostream& err) {
    const DesignInputs& inputs = request.simulation.design;
    std::vector<std::string> warnings = sweepWarnings(inputs);
    SweepReport report(request.format, inputs.units, sweepRowCount(*request.sweep));
    runSweep(inputs, *request.sweep, [&](const SweepRow& row) {
        addRowWarnings(warnings, inputs, row);
        report.add(row);
    });
    // A sweep may warn of a thousand rows: all the lines go out in one call,
    // before the table.
    std::string lines;
    for (const std::string& warning : warnings) {
        lines += messageLine("warning: " + warning);
    }
    err.write(lines.data(), static_cast<std::streamsize>(lines.size()));
    report.write(out);
    // A faulting row is part of the table, not a failure of the run.
    return kExitDone;
}

// The deck is made in memory first, so that a design that cannot be modelled
// leaves no file behind.
int writeDeck(const Request& request, const DesignResult& design, std::ostream& out,
              std::ostream& err) {
    std::string deck;
    try {
        deck = designDeck(design, request.simulation.options.model);
    } catch (const NecDeckError& error) {
        report(err, std::string("--nec: ") + error.what());
        return kExitUsage;
    }
    if (*request.necPath == "-") {
        out << deck;
        return kExitDone;
    }
    try {
        replaceFile(*request.necPath, deck);
    } catch (const std::system_error& error) {
        report(err, error.what());
        return kExitFileError;
    }
    return kExitDone;
}

// Why a simulation asked for was not made, said after the report.
struct Failure {
    std::string message;
    int status = kExitDone;
};

// The exit status and the option a failure of the run is reported under: a
// design that cannot be modelled is a usage error, as for --nec; nec2c
// missing, failing or out of time, a search that finds no answer or a
// machine that refuses a thread is exit status 1.
Failure failureOf(const RunFailure& failure, const char* option) {
    switch (failure.kind) {
    case RunFailure::Kind::Unmodellable:
        return {std::string(option) + ": " + failure.message, kExitUsage};
    case RunFailure::Kind::Engine:
        // nec2c's own words name the program already.
        return {failure.message, kExitFileError};
    case RunFailure::Kind::Search:
    case RunFailure::Kind::Resources:
    case RunFailure::Kind::Internal:
        break;
    }
    return {std::string(option) + ": " + failure.message, kExitFileError};
}

// Solves the design in nec2c and draws the plot and the build sheet. A design
// that cannot be modelled stops the run before anything is written; every
// other failure is reported after the design's own report and deck.
Failure simulate(const Request& request, const DesignResult& design,
                 std::optional<SimulationResult>& result, std::optional<TrimResult>& trim,
                 std::ostream& out) {
    SimulationOutcome outcome;
    try {
        Nec2c engine;
        outcome = runSimulation(design, request.simulation, engine);
    } catch (...) {
        outcome.failure = currentRunFailure();
    }
    if (outcome.failure) {
        return failureOf(*outcome.failure, "--simulate");
    }
    result = std::move(outcome.simulation);
    trim = std::move(outcome.trim);
    if (outcome.trimFailure) {
        return failureOf(*outcome.trimFailure, "--measured");
    }
    if (request.plotPath) {
        try {
            writeSimulationPlot(*request.plotPath, design.record.freqMHz,
                                request.simulation.options, *result, out);
        } catch (const PlotError& error) {
            return {std::string("--plot: ") + error.what(), kExitFileError};
        }
    }
    if (request.sheetPath) {
        try {
            writeBuildSheet(*request.sheetPath, design, request.simulation.options, *result);
        } catch (const PlotError& error) {
            return {std::string("--sheet: ") + error.what(), kExitFileError};
        }
    }
    return {};
}

// What was asked for and not made because the design faulted.
std::string notMade(const Request& request) {
    const bool deck = request.necPath.has_value();
    if (request.simulate && deck) {
        return "the design faulted, so it was not simulated and no deck was written";
    }
    return deck ? "the design faulted, so no deck was written"
                : "the design faulted, so it was not simulated";
}

int runDesignRequest(const Request& request, std::ostream& out, std::ostream& err) {
    const DesignResult design = runDesign(request.simulation.design);
    writeWarnings(err, design.warnings);

    const SimulationOptions& options = request.simulation.options;
    std::optional<SimulationResult> simulation;
    std::optional<TrimResult> trim;
    Failure failure;
    if (request.simulate && !design.fault) {
        failure = simulate(request, design, simulation, trim, out);
        if (failure.status == kExitUsage) {
            report(err, failure.message);
            return failure.status;
        }
    }

    // A design that faulted never gets a deck.
    if (request.necPath && !design.fault) {
        if (const int status = writeDeck(request, design, out, err); status != kExitDone) {
            if (failure.status != kExitDone) {
                report(err, failure.message);
            }
            return status;
        }
    }
    const bool reportReplaced = (request.necPath && *request.necPath == "-") ||
                                (request.plotPath && *request.plotPath == "-");
    if (request.format == OutputFormat::Json) {
        out << reportJsonText(design, options, simulation ? &*simulation : nullptr,
                              trim ? &*trim : nullptr);
    } else if (!reportReplaced) {
        if (simulation) {
            writeSimulatedReportText(out, design, options, *simulation, trim ? &*trim : nullptr,
                                     request.simulation.readings);
        } else {
            writeDesignText(out, design);
        }
    }
    if (design.fault) {
        report(err, std::string(stageName(design.fault->stage)) + ": " + design.fault->text);
        if (request.simulate || request.necPath) {
            report(err, notMade(request));
        }
        return kExitFault;
    }
    if (failure.status != kExitDone) {
        report(err, failure.message);
        return failure.status;
    }
    return kExitDone;
}

int runRequest(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    const CommandLine commandLine = parseCommandLine(argc, argv);
    switch (commandLine.action) {
    case CommandLine::Action::ShowHelp:
    case CommandLine::Action::ShowVersion:
        out << commandLine.text;
        return kExitDone;
    case CommandLine::Action::UsageError:
        report(err, commandLine.text);
        err << "Run tarvix-design --help for the options.\n";
        return kExitUsage;
    case CommandLine::Action::Run:
        break;
    }
    const Request& request = commandLine.request;
    return request.sweep ? runSweepRequest(request, out, err) : runDesignRequest(request, out, err);
}

} // namespace

int runTarvixDesign(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    const int status = runRequest(argc, argv, out, err);
    // Standard output may be a full disk or a closed pipe: the last of it is
    // only written here, and a result that did not arrive is no success.
    errno = 0;
    if (!out.flush()) {
        const int error = errno;
        report(err, "cannot write standard output" +
                        (error != 0 ? ": " + std::string(std::strerror(error)) : std::string()));
        return status == kExitDone ? kExitFileError : status;
    }
    return status;
}

} // namespace tarvix
