// One place where a simulation's failures become words.
#include "nec/simulation_outcome.h"

#include "nec/nec_deck.h"

#include <system_error>

namespace tarvix {

namespace {

RunFailure failureOf(const std::system_error& error) {
    // The simulation's solves run on threads of their own; a process limit
    // (ulimit -u) refuses them.
    if (error.code() == std::errc::resource_unavailable_try_again) {
        return {RunFailure::Kind::Resources, "cannot start a thread: " + error.code().message()};
    }
    return {RunFailure::Kind::Resources, error.what()};
}

} // namespace

RunFailure currentRunFailure() {
    try {
        throw;
    } catch (const NecCancelled&) {
        throw;
    } catch (const NecDeckError& error) {
        return {RunFailure::Kind::Unmodellable, error.what()};
    } catch (const NecEngineError& error) {
        return {RunFailure::Kind::Engine, error.what()};
    } catch (const SimulationSearchError& error) {
        return {RunFailure::Kind::Search, error.what()};
    } catch (const std::system_error& error) {
        return failureOf(error);
    } catch (const std::bad_alloc&) {
        return {RunFailure::Kind::Resources, "out of memory"};
    } catch (const std::exception& error) {
        return {RunFailure::Kind::Internal, std::string("internal error: ") + error.what()};
    } catch (...) {
        return {RunFailure::Kind::Internal, "internal error of no known kind"};
    }
}

namespace {

void trim(const DesignResult& design, const SimulationRequest& request, NecEngine& engine,
          SimulationOutcome& outcome) {
    const SimulationResult& simulation = *outcome.simulation;
    if (!simulation.build) {
        std::string why = "the trim needs the winding that was built, and there is none";
        why += simulation.buildFault ? ": " + *simulation.buildFault
                                     : std::string(" (no former and coil wire were given)");
        outcome.trimFailure = RunFailure{RunFailure::Kind::Search, why};
        return;
    }
    try {
        outcome.trim =
            trimToMeasurement(design, request.options, simulation, *request.measuredMHz, engine);
    } catch (...) {
        outcome.trimFailure = currentRunFailure();
    }
}

} // namespace

SimulationOutcome runSimulation(const DesignResult& design, const SimulationRequest& request,
                                NecEngine& engine) {
    SimulationOutcome outcome;
    try {
        try {
            outcome.simulation =
                simulateDesign(design, request.design.winding, request.options, engine);
        } catch (...) {
            outcome.failure = currentRunFailure();
            return outcome;
        }
        if (request.measuredMHz) {
            trim(design, request, engine, outcome);
        }
    } catch (const NecCancelled&) {
        outcome = SimulationOutcome{};
        outcome.cancelled = true;
    }
    return outcome;
}

} // namespace tarvix
