// The signal guard: the engines running now, and the thread that takes the
// ending signals. Internal to nec/; the ending signals themselves are
// declared in nec/nec2c.h.
#pragma once

#include <csignal>
#include <filesystem>
#include <mutex>
#include <pthread.h>
#include <sys/types.h>
#include <vector>

namespace tarvix::nec_detail {

// Blocks the ending signals still at their default action in the thread that
// makes it (and so in the threads that one starts), and takes them in a
// thread of its own: it kills and reaps the engines, removes the folder, and
// then lets the signal end the program. A solve makes its files and starts
// its engine under lock(), so nothing is left that the thread did not see.
class SignalGuard {
public:
    // Throws NecEngineError when its thread cannot be started.
    explicit SignalGuard(std::filesystem::path dir);
    ~SignalGuard();
    SignalGuard(const SignalGuard&) = delete;
    SignalGuard& operator=(const SignalGuard&) = delete;

    // The mask of the thread that made the object, before it was made.
    const sigset_t& previousMask() const { return m_previousMask; }

    const sigset_t& signals() const { return m_signals; }
    std::mutex& lock() { return m_mutex; }

    // All under lock().
    void add(pid_t pid) { m_pids.push_back(pid); }
    void remove(pid_t pid);
    bool cancelled() const { return m_cancelled; }

    // The engines are killed, not reaped: each solve reaps its own.
    void cancel();

private:
    static void* run(void* self);
    void takeSignals();

    std::filesystem::path m_dir;
    sigset_t m_signals;
    sigset_t m_previousMask;
    int m_stopSignal = 0;
    pthread_t m_thread{};
    std::mutex m_mutex;
    std::vector<pid_t> m_pids;
    bool m_cancelled = false;
};

} // namespace tarvix::nec_detail
