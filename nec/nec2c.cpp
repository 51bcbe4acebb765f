// The nec2c runner: its private folder, and each solve from the deck written
// to the feed points read back. The listing reader, the time budget, the
// child process and the signal guard are each in a file of their own.
#include "nec/nec2c.h"

#include "calc/conversions.h"
#include "nec/child_process.h"
#include "nec/listing_reader.h"
#include "nec/signal_guard.h"
#include "nec/time_budget.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sys/wait.h>
#include <unistd.h>

namespace tarvix {

using nec_detail::cut;

namespace {

void writeDeck(const std::filesystem::path& input, const std::string& deck) {
    std::ofstream file(input, std::ios::binary);
    file << deck;
    if (!file.flush()) {
        throw NecEngineError("cannot write the deck to " + input.string());
    }
}

} // namespace

Nec2c::Nec2c(std::string program, std::optional<std::chrono::milliseconds> timeLimit)
    : m_program(std::move(program)), m_timeLimit(timeLimit) {
    // As mkdtemp(1) and the C library find it: TMPDIR, else /tmp.
    const char* const setting = std::getenv("TMPDIR");
    std::string folder = setting != nullptr ? setting : "/tmp";
    const std::string named = setting != nullptr ? "TMPDIR " + cut(folder) : folder;
    if (folder.empty()) {
        throw NecEngineError("cannot make a temporary folder for nec2c: TMPDIR is set but empty");
    }
    std::string pattern = folder + "/tarvix-nec-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        throw NecEngineError("cannot make a temporary folder for nec2c in " + named + ": " +
                             std::strerror(errno));
    }
    m_dir = pattern;
    try {
        m_guard = std::make_unique<nec_detail::SignalGuard>(m_dir);
    } catch (...) {
        rmdir(m_dir.c_str());
        throw;
    }
}

Nec2c::~Nec2c() {
    const sigset_t previousMask = m_guard->previousMask();
    m_guard.reset();
    std::error_code ignored; // a folder that cannot be removed is no reason to fail a result
    std::filesystem::remove_all(m_dir, ignored);
    // Only now, with the folder gone, may a signal that came meanwhile act.
    pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
}

void Nec2c::cancel() {
    m_guard->cancel();
}

std::vector<FeedPoint> Nec2c::solve(const std::string& deck) {
    const std::string name = std::to_string(m_next.fetch_add(1));
    m_frequencies.fetch_add(nec_detail::countedFrequencies(deck));
    const std::filesystem::path input = m_dir / (name + ".nec");
    const std::filesystem::path output = m_dir / (name + ".out");
    const std::filesystem::path messages = m_dir / (name + ".log");
    const std::chrono::milliseconds limit = m_timeLimit ? *m_timeLimit : solveTimeLimit(deck);

    pid_t pid = 0;
    {
        const std::lock_guard<std::mutex> locked(m_guard->lock());
        if (m_guard->cancelled()) {
            throw NecCancelled("the simulation was cancelled");
        }
        writeDeck(input, deck);
        pid = nec_detail::startEngine(m_program, input, output, messages, m_guard->signals());
        m_guard->add(pid);
    }

    const bool ended = nec_detail::waitForEnd(pid, limit);
    if (!ended) {
        kill(pid, SIGKILL);
    }
    int status = 0;
    bool cancelled = false;
    {
        const std::lock_guard<std::mutex> locked(m_guard->lock());
        status = nec_detail::reap(pid);
        m_guard->remove(pid);
        cancelled = m_guard->cancelled();
    }
    if (cancelled) {
        throw NecCancelled("the simulation was cancelled");
    }
    if (!ended) {
        throw NecEngineError(timeLimitText(m_program, limit, deck));
    }
    std::vector<FeedPoint> points;
    {
        std::ifstream said(messages, std::ios::binary);
        std::ifstream listing(output, std::ios::binary);
        const int exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        points = engineAnswer(m_program, exitCode, said, listing);
    }
    std::error_code ignored; // the folder goes with the object in any case
    std::filesystem::remove(input, ignored);
    std::filesystem::remove(output, ignored);
    std::filesystem::remove(messages, ignored);
    return points;
}

} // namespace tarvix
