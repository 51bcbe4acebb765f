// The run's thread makes the engine and destroys it: nec2c's runner blocks
// the ending signals in the thread that makes it and must be destroyed there,
// which also removes its temporary folder before the outcome is reported.
#include "check/simulation_run.h"

#include "nec/nec2c.h"
#include "nec/nec_deck.h"

#include <mutex>
#include <system_error>

namespace tarvix {

// Between the window's thread and the run's: the engine while it lives, and
// a cancel that came before it existed.
struct SimulationRun::Shared {
    std::mutex mutex;
    Nec2c* engine = nullptr;
    bool cancelRequested = false;
    RunOutcome outcome;
};

SimulationRun::SimulationRun(std::string engine, QObject* parent)
    : QObject(parent), m_engine(std::move(engine)) {}

SimulationRun::~SimulationRun() {
    if (m_thread != nullptr) {
        cancel();
        m_thread->wait();
        delete m_thread;
    }
}

void SimulationRun::start(const DesignInputs& inputs, const SimulationOptions& options,
                          std::optional<double> measuredMHz) {
    if (m_thread != nullptr) {
        return;
    }
    m_shared = std::make_shared<Shared>();
    m_thread = QThread::create([shared = m_shared, program = m_engine, inputs, options,
                                measuredMHz] {
        RunOutcome outcome;
        outcome.design = runDesign(inputs);
        if (outcome.design.fault) {
            outcome.error = std::string(stageName(outcome.design.fault->stage)) + ": " +
                            outcome.design.fault->text;
        } else {
            try {
                Nec2c engine(program);
                {
                    const std::lock_guard<std::mutex> locked(shared->mutex);
                    shared->engine = &engine;
                    if (shared->cancelRequested) {
                        engine.cancel();
                    }
                }
                struct Unregister {
                    Shared& shared;
                    ~Unregister() {
                        const std::lock_guard<std::mutex> locked(shared.mutex);
                        shared.engine = nullptr;
                    }
                } unregister{*shared};
                outcome.simulation =
                    simulateDesign(outcome.design, inputs.winding, options, engine);
                if (measuredMHz && !outcome.simulation->build) {
                    outcome.trimError = "the trim needs the winding that was built, and there is "
                                        "none: " +
                                        outcome.simulation->buildFault.value_or("");
                } else if (measuredMHz) {
                    try {
                        outcome.trim = trimToMeasurement(outcome.design, options,
                                                         *outcome.simulation, *measuredMHz, engine);
                    } catch (const NecCancelled&) {
                        throw;
                    } catch (const std::runtime_error& error) {
                        // The simulation stands: only the trim failed.
                        outcome.trimError = error.what();
                    }
                }
            } catch (const NecCancelled&) {
                outcome.cancelled = true;
            } catch (const NecDeckError& error) {
                outcome.error = error.what();
            } catch (const NecEngineError& error) {
                outcome.error = error.what();
            } catch (const SimulationSearchError& error) {
                outcome.error = error.what();
            } catch (const std::system_error& error) {
                outcome.error = "cannot start a thread: " + error.code().message();
            } catch (const std::exception& error) {
                // Nothing may leave the thread: QThread would end the program.
                outcome.error = std::string("internal error: ") + error.what();
            } catch (...) {
                outcome.error = "internal error of no known kind";
            }
        }
        const std::lock_guard<std::mutex> locked(shared->mutex);
        shared->outcome = std::move(outcome);
    });
    connect(m_thread, &QThread::finished, this, &SimulationRun::collect);
    m_thread->start();
}

void SimulationRun::cancel() {
    if (!m_shared) {
        return;
    }
    const std::lock_guard<std::mutex> locked(m_shared->mutex);
    m_shared->cancelRequested = true;
    if (m_shared->engine != nullptr) {
        m_shared->engine->cancel();
    }
}

int SimulationRun::solves() const {
    if (!m_shared) {
        return 0;
    }
    const std::lock_guard<std::mutex> locked(m_shared->mutex);
    return m_shared->engine != nullptr ? m_shared->engine->solveCount() : 0;
}

void SimulationRun::collect() {
    // Its finished() is still being sent: the thread object goes later.
    m_thread->wait();
    m_thread->deleteLater();
    m_thread = nullptr;
    {
        const std::lock_guard<std::mutex> locked(m_shared->mutex);
        m_outcome = std::move(m_shared->outcome);
    }
    emit finished();
}

} // namespace tarvix
