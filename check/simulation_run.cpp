// The run's thread makes the engine and destroys it: nec2c's runner blocks
// the ending signals in the thread that makes it and must be destroyed there,
// which also removes its temporary folder before the outcome is reported.
#include "check/simulation_run.h"

#include "nec/nec2c.h"
#include "nec/simulation_outcome.h"

#include <mutex>

namespace tarvix {

// Between the window's thread and the run's: the engine while it lives, and
// a cancel that came before it existed.
struct SimulationRun::Shared {
    std::mutex mutex;
    Nec2c* engine = nullptr;
    bool cancelRequested = false;
    RunOutcome outcome;
};

namespace {

// The engine is made here, on the run's thread, and seen by cancel() while
// it lives.
void run(SimulationRun::Shared& shared, const std::string& program,
         const SimulationRequest& request, RunOutcome& outcome) {
    outcome.design = runDesign(request.design);
    if (outcome.design.fault) {
        outcome.error =
            std::string(stageName(outcome.design.fault->stage)) + ": " + outcome.design.fault->text;
        return;
    }
    Nec2c engine(program);
    {
        const std::lock_guard<std::mutex> locked(shared.mutex);
        shared.engine = &engine;
        if (shared.cancelRequested) {
            engine.cancel();
        }
    }
    struct Unregister {
        SimulationRun::Shared& shared;
        ~Unregister() {
            const std::lock_guard<std::mutex> locked(shared.mutex);
            shared.engine = nullptr;
        }
    } unregister{shared};
    SimulationOutcome simulated = runSimulation(outcome.design, request, engine);
    outcome.cancelled = simulated.cancelled;
    outcome.simulation = std::move(simulated.simulation);
    outcome.trim = std::move(simulated.trim);
    if (simulated.failure) {
        outcome.error = simulated.failure->message;
    }
    if (simulated.trimFailure) {
        outcome.trimError = simulated.trimFailure->message;
    }
}

} // namespace

SimulationRun::SimulationRun(std::string engine, QObject* parent)
    : QObject(parent), m_engine(std::move(engine)) {}

SimulationRun::~SimulationRun() {
    if (m_thread != nullptr) {
        cancel();
        m_thread->wait();
        delete m_thread;
    }
}

void SimulationRun::start(const SimulationRequest& request) {
    if (m_thread != nullptr) {
        return;
    }
    m_shared = std::make_shared<Shared>();
    m_thread = QThread::create([shared = m_shared, program = m_engine, request] {
        RunOutcome outcome;
        try {
            run(*shared, program, request, outcome);
        } catch (...) {
            // Nothing may leave the thread: QThread would end the program.
            outcome = RunOutcome{};
            try {
                outcome.error = currentRunFailure().message;
            } catch (const NecCancelled&) {
                outcome.cancelled = true;
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
