// One simulation of the check window, run on a thread of its own so that the
// window keeps answering: the design, then nec2c's solves, which the window
// counts while they run and can cancel at once.
#pragma once

#include "calc/design_run.h"
#include "nec/simulation.h"
#include "nec/simulation_request.h"
#include "nec/trim.h"

#include <QObject>
#include <QThread>

#include <memory>
#include <optional>
#include <string>

namespace tarvix {

// How a run ended.
struct RunOutcome {
    DesignResult design;
    std::optional<SimulationResult> simulation;
    // With a resonance measured: the trim of the simulated antenna, or why
    // there is none.
    std::optional<TrimResult> trim;
    std::string trimError;
    // Why there is no simulation, in words for the user: the design's fault,
    // the model's or the engine's error. Empty when cancelled or done.
    std::string error;
    bool cancelled = false;
};

class SimulationRun : public QObject {
    Q_OBJECT

public:
    // engine: the nec2c program to run, found on PATH when it has no slash.
    explicit SimulationRun(std::string engine = "nec2c", QObject* parent = nullptr);
    // Cancels a run still going and waits for its thread.
    ~SimulationRun() override;

    // Starts a run of the request, one at a time: the simulation, and the trim
    // when a resonance measured on the antenna built is given.
    void start(const SimulationRequest& request);
    // Kills the engines of the run at once; finished() follows shortly with
    // the outcome cancelled.
    void cancel();
    bool running() const { return m_thread != nullptr; }
    // Decks given to nec2c so far in this run.
    int solves() const;

    // The last run's outcome, valid from finished() on.
    const RunOutcome& outcome() const { return m_outcome; }

    // Between the window's thread and the run's.
    struct Shared;

signals:
    void finished();

private:
    void collect();

    std::string m_engine;
    std::shared_ptr<Shared> m_shared;
    QThread* m_thread = nullptr;
    RunOutcome m_outcome;
};

} // namespace tarvix
