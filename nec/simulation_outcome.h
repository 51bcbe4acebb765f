// Running a simulation request: the solve of the design, then the trim when a
// resonance was measured, with every way either can fail caught and named
// once, for the terminal (which turns the kind into its exit status) and the
// check window (which shows the words).
#pragma once

#include "nec/nec_engine.h"
#include "nec/simulation_request.h"
#include "nec/trim.h"

#include <optional>
#include <string>

namespace tarvix {

struct RunFailure {
    enum class Kind {
        // The design cannot be modelled: the user's input, not the run.
        Unmodellable,
        // nec2c missing, failing, out of time or with a listing not to read.
        Engine,
        // The search found no answer.
        Search,
        // The machine refused what the run needs: a thread, a folder.
        Resources,
        // A fault of the program's own.
        Internal
    };
    Kind kind;
    std::string message;
};

struct SimulationOutcome {
    std::optional<SimulationResult> simulation;
    // With a resonance measured: the trim of the simulated antenna, or why
    // there is none (the simulation stands without it).
    std::optional<TrimResult> trim;
    std::optional<RunFailure> trimFailure;
    // Why there is no simulation.
    std::optional<RunFailure> failure;
    bool cancelled = false;
};

// The failure being handled, inside a catch block: for what fails around a
// run, such as making its engine. A cancel is thrown on.
RunFailure currentRunFailure();

// Solves a design that did not fault, in the engine given, as the request
// asks. Never throws: a cancel, an error of the engine or the search, and
// the program's own faults come back in the outcome.
SimulationOutcome runSimulation(const DesignResult& design, const SimulationRequest& request,
                                NecEngine& engine);

} // namespace tarvix
