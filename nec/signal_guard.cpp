// The signal guard of the engines, and the ending signals it takes.
#include "nec/signal_guard.h"

#include "nec/child_process.h"
#include "nec/nec2c.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <system_error>
#include <unistd.h>

namespace tarvix {

namespace nec_detail {

SignalGuard::SignalGuard(std::filesystem::path dir) : m_dir(std::move(dir)) {
    m_signals = endingSignalsAtDefault();
    m_stopSignal = SIGRTMIN;
    sigset_t blocked = m_signals;
    sigaddset(&blocked, m_stopSignal);
    pthread_sigmask(SIG_BLOCK, &blocked, &m_previousMask);
    if (const int error = pthread_create(&m_thread, nullptr, &SignalGuard::run, this); error != 0) {
        pthread_sigmask(SIG_SETMASK, &m_previousMask, nullptr);
        throw NecEngineError(std::string("cannot start a thread for nec2c: ") +
                             std::strerror(error));
    }
}

SignalGuard::~SignalGuard() {
    pthread_kill(m_thread, m_stopSignal);
    pthread_join(m_thread, nullptr);
}

void SignalGuard::remove(pid_t pid) {
    m_pids.erase(std::find(m_pids.begin(), m_pids.end(), pid));
}

void SignalGuard::cancel() {
    const std::lock_guard<std::mutex> locked(m_mutex);
    m_cancelled = true;
    for (const pid_t pid : m_pids) {
        kill(pid, SIGKILL);
    }
}

void* SignalGuard::run(void* self) {
    static_cast<SignalGuard*>(self)->takeSignals();
    return nullptr;
}

void SignalGuard::takeSignals() {
    sigset_t waited = m_signals;
    sigaddset(&waited, m_stopSignal);
    int signal = 0;
    while (sigwait(&waited, &signal) != 0 || signal == m_stopSignal) {
        if (signal == m_stopSignal) {
            return;
        }
    }
    // Held to the end: no solve starts another engine or makes a file.
    m_mutex.lock();
    for (const pid_t pid : m_pids) {
        kill(pid, SIGKILL);
    }
    for (const pid_t pid : m_pids) {
        reap(pid);
    }
    std::error_code ignored; // the program is ending by the signal anyway
    std::filesystem::remove_all(m_dir, ignored);
    endBySignal(signal);
}

} // namespace nec_detail

sigset_t endingSignalsAtDefault() {
    sigset_t signals;
    sigemptyset(&signals);
    for (const int signal : kEndingSignals) {
        struct sigaction action {};
        if (sigaction(signal, nullptr, &action) == 0 && action.sa_handler == SIG_DFL) {
            sigaddset(&signals, signal);
        }
    }
    return signals;
}

void endBySignal(int signal) {
    std::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    raise(signal);
    _exit(128 + signal); // not reached: each of the signals ends the program
}

} // namespace tarvix
