// The nec2c runner and the reader of its listings.
#include "nec/nec2c.h"

#include "calc/conversions.h"
#include "calc/number_parse.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <istream>
#include <limits>
#include <mutex>
#include <poll.h>
#include <pthread.h>
#include <spawn.h>
#include <sstream>
#include <string_view>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace tarvix {

namespace {

// Listing lines are some 130 characters; anything past this is never read.
constexpr std::size_t kLineRoom = 1024;
// An engine's message or a folder's name quoted in an error is cut here.
constexpr std::size_t kQuotedRoom = 200;

// The next line of the stream, cut to kLineRoom characters; false at the end.
bool nextLine(std::istream& in, std::string& line) {
    std::array<char, kLineRoom + 1> buffer;
    in.getline(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    if (in.gcount() == 0 && in.fail()) {
        return false;
    }
    line.assign(buffer.data());
    if (in.fail() && !in.eof()) {
        // The line is longer than the room: its rest is skipped.
        in.clear();
        in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
    }
    return true;
}

std::string cut(std::string text) {
    if (text.size() > kQuotedRoom) {
        text.resize(kQuotedRoom);
        text += "...";
    }
    return text;
}

std::string_view skipBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

// Reads a number at the start of the text, in the C notation whatever the
// locale; the text is left after it. False when there is none.
template <typename Number> bool readNumber(std::string_view& text, Number& value) {
    text = skipBlanks(text);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc()) {
        return false;
    }
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return true;
}

// The number after the first ':' or '=' of a listing line.
double valueAfterMark(std::string_view line) {
    const auto mark = line.find_first_of(":=");
    double value = 0;
    if (mark != std::string_view::npos) {
        line.remove_prefix(mark + 1);
        readNumber(line, value);
    }
    return value;
}

bool contains(std::string_view line, std::string_view text) {
    return line.find(text) != std::string_view::npos;
}

std::string trimmed(std::string_view line) {
    return std::string(trim(line, " \t\r"));
}

// The line that tells the user what went wrong: the engine's first message on
// its own output streams, else the first line of the listing naming an error.
std::string firstErrorLine(const std::filesystem::path& messages,
                           const std::filesystem::path& listing) {
    std::ifstream said(messages, std::ios::binary);
    for (std::string line; nextLine(said, line);) {
        if (std::string text = trimmed(line); !text.empty()) {
            return cut(std::move(text));
        }
    }
    std::ifstream listed(listing, std::ios::binary);
    for (std::string line; nextLine(listed, line);) {
        if (contains(line, "ERROR")) {
            return cut(trimmed(line));
        }
    }
    return {};
}

// What a deck asks of the engine, from its GW, FR and GN cards.
struct DeckSize {
    long long segments = 0;
    long long frequencies = 0;
    bool overGround = false;
};

DeckSize deckSize(const std::string& deck) {
    DeckSize size;
    std::istringstream cards(deck);
    for (std::string card; std::getline(cards, card);) {
        std::string_view fields(card);
        long long first = 0;
        long long second = 0;
        if (card.rfind("GW", 0) == 0) {
            fields.remove_prefix(2);
            if (readNumber(fields, first) && readNumber(fields, second)) {
                size.segments += std::max(0LL, second);
            }
        } else if (card.rfind("FR", 0) == 0) {
            fields.remove_prefix(2);
            if (readNumber(fields, first) && readNumber(fields, second)) {
                size.frequencies += std::max(1LL, second);
            }
        } else if (card.rfind("GN", 0) == 0) {
            fields.remove_prefix(2);
            size.overGround = readNumber(fields, first) && first != -1;
        }
    }
    size.frequencies = std::max(1LL, size.frequencies);
    return size;
}

// The seconds of a slow machine for one frequency: per pair of segments in
// the matrix fill, and per segment cubed in its factorisation.
constexpr double kFillSecondsFreeSpace = 1e-6;
constexpr double kFillSecondsOverGround = 1e-5;
constexpr double kFactorSeconds = 1e-9;
constexpr double kTimeMargin = 10;
constexpr double kLeastSeconds = 60;

int pidfdOpen(pid_t pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    errno = ENOSYS;
    return -1;
#endif
}

// Waits until the child has ended, without reaping it, or the time is up.
// True when it ended.
bool waitForEnd(pid_t pid, std::chrono::milliseconds limit) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + limit;
    auto remainingMs = [&deadline] {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        return static_cast<int>(
            std::clamp<long long>(left, 0, std::numeric_limits<int>::max() / 2));
    };
    if (const int pidfd = pidfdOpen(pid); pidfd >= 0) {
        for (;;) {
            pollfd watched{pidfd, POLLIN, 0};
            const int ready = poll(&watched, 1, remainingMs());
            if (ready > 0 || (ready == 0 && remainingMs() == 0)) {
                close(pidfd);
                return ready > 0;
            }
            if (ready < 0 && errno != EINTR) {
                break; // waited for as below
            }
        }
        close(pidfd);
    }
    // Kernels without pidfd: a look every 10 ms.
    for (;;) {
        siginfo_t info{};
        if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
            info.si_pid != 0) {
            return true;
        }
        const int left = remainingMs();
        if (left == 0) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min(left, 10)));
    }
}

int reap(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

} // namespace

// The engines running now, and the thread that takes the ending signals: it
// kills and reaps them all, removes the folder, and then lets the signal end
// the program. A solve makes its files and starts its engine under the same
// lock, so nothing is left that the thread did not see.
class Nec2c::Children {
public:
    explicit Children(std::filesystem::path dir) : m_dir(std::move(dir)) {
        m_signals = endingSignalsAtDefault();
        m_stopSignal = SIGRTMIN;
        sigset_t blocked = m_signals;
        sigaddset(&blocked, m_stopSignal);
        pthread_sigmask(SIG_BLOCK, &blocked, &m_previousMask);
        if (const int error = pthread_create(&m_thread, nullptr, &Children::run, this);
            error != 0) {
            pthread_sigmask(SIG_SETMASK, &m_previousMask, nullptr);
            throw NecEngineError(std::string("cannot start a thread for nec2c: ") +
                                 std::strerror(error));
        }
    }

    ~Children() {
        pthread_kill(m_thread, m_stopSignal);
        pthread_join(m_thread, nullptr);
    }

    // The mask of the thread that made the object, before it was made.
    const sigset_t& previousMask() const { return m_previousMask; }

    const sigset_t& signals() const { return m_signals; }
    std::mutex& lock() { return m_mutex; }

    // All under lock().
    void add(pid_t pid) { m_pids.push_back(pid); }
    void remove(pid_t pid) { m_pids.erase(std::find(m_pids.begin(), m_pids.end(), pid)); }
    bool cancelled() const { return m_cancelled; }

    // The engines are killed, not reaped: each solve reaps its own.
    void cancel() {
        const std::lock_guard<std::mutex> locked(m_mutex);
        m_cancelled = true;
        for (const pid_t pid : m_pids) {
            kill(pid, SIGKILL);
        }
    }

private:
    static void* run(void* self) {
        static_cast<Children*>(self)->takeSignals();
        return nullptr;
    }

    void takeSignals() {
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

    std::filesystem::path m_dir;
    sigset_t m_signals;
    sigset_t m_previousMask;
    int m_stopSignal = 0;
    pthread_t m_thread{};
    std::mutex m_mutex;
    std::vector<pid_t> m_pids;
    bool m_cancelled = false;
};

std::vector<FeedPoint> readNecOutput(std::istream& lines) {
    std::vector<FeedPoint> points;
    FeedPoint point;
    bool haveImpedance = false;
    for (std::string line; nextLine(lines, line);) {
        if (contains(line, "FREQUENCY :")) {
            point = FeedPoint{};
            point.freqMHz = valueAfterMark(line);
            haveImpedance = false;
        } else if (contains(line, "ANTENNA INPUT PARAMETERS")) {
            // Two header lines, then a row per source: tag, segment, voltage,
            // current, impedance (real, imaginary), ...; a blank line ends them.
            std::string row;
            nextLine(lines, row);
            nextLine(lines, row);
            point.sources.clear();
            haveImpedance = false;
            while (nextLine(lines, row)) {
                std::string_view fields(row);
                NecSource source;
                double vr = 0, vi = 0, ir = 0, ii = 0, r = 0, x = 0;
                if (!(readNumber(fields, source.tag) && readNumber(fields, source.segment) &&
                      readNumber(fields, vr) && readNumber(fields, vi) && readNumber(fields, ir) &&
                      readNumber(fields, ii) && readNumber(fields, r) && readNumber(fields, x))) {
                    break;
                }
                if (!haveImpedance) {
                    point.resistanceOhm = r;
                    point.reactanceOhm = x;
                    haveImpedance = true;
                }
                if (point.sources.size() < kMostSourcesRead) {
                    source.voltage = {vr, vi};
                    source.current = {ir, ii};
                    point.sources.push_back(source);
                }
            }
        } else if (contains(line, "INPUT POWER")) {
            point.inputPowerW = valueAfterMark(line);
        } else if (contains(line, "RADIATED POWER")) {
            point.radiatedPowerW = valueAfterMark(line);
        } else if (contains(line, "EFFICIENCY") && haveImpedance) {
            // The last line of the power budget.
            points.push_back(point);
            haveImpedance = false;
        }
    }
    return points;
}

std::vector<FeedPoint> readNecOutput(const std::string& listing) {
    std::istringstream lines(listing);
    return readNecOutput(lines);
}

std::chrono::milliseconds solveTimeLimit(const std::string& deck) {
    const DeckSize size = deckSize(deck);
    const auto segments = static_cast<double>(size.segments);
    const double fill = size.overGround ? kFillSecondsOverGround : kFillSecondsFreeSpace;
    const double perFrequency =
        segments * segments * fill + segments * segments * segments * kFactorSeconds;
    const double seconds =
        kLeastSeconds + kTimeMargin * static_cast<double>(size.frequencies) * perFrequency;
    // A year is as good as for ever, and keeps the milliseconds in range.
    return std::chrono::milliseconds(static_cast<long long>(std::min(seconds, 3.2e7) * 1000));
}

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
        m_children = std::make_unique<Children>(m_dir);
    } catch (...) {
        rmdir(m_dir.c_str());
        throw;
    }
}

Nec2c::~Nec2c() {
    const sigset_t previousMask = m_children->previousMask();
    m_children.reset();
    std::error_code ignored; // a folder that cannot be removed is no reason to fail a result
    std::filesystem::remove_all(m_dir, ignored);
    // Only now, with the folder gone, may a signal that came meanwhile act.
    pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
}

void Nec2c::cancel() {
    m_children->cancel();
}

std::vector<FeedPoint> Nec2c::solve(const std::string& deck) {
    const std::string name = std::to_string(m_next.fetch_add(1));
    m_frequencies.fetch_add(static_cast<int>(
        std::min<long long>(deckSize(deck).frequencies, std::numeric_limits<int>::max() / 2)));
    const std::filesystem::path input = m_dir / (name + ".nec");
    const std::filesystem::path output = m_dir / (name + ".out");
    const std::filesystem::path messages = m_dir / (name + ".log");
    const std::chrono::milliseconds limit = m_timeLimit ? *m_timeLimit : solveTimeLimit(deck);

    pid_t pid = 0;
    {
        const std::lock_guard<std::mutex> locked(m_children->lock());
        if (m_children->cancelled()) {
            throw NecCancelled("the simulation was cancelled");
        }
        {
            std::ofstream file(input, std::ios::binary);
            file << deck;
            if (!file.flush()) {
                throw NecEngineError("cannot write the deck to " + input.string());
            }
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, messages.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
        // The engine gets the signals this program blocks as a program
        // started anew would have them.
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&attributes, &none);
        posix_spawnattr_setsigdefault(&attributes, &m_children->signals());
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
        const std::string inputArg = "-i" + input.string();
        const std::string outputArg = "-o" + output.string();
        std::vector<char*> argv{m_program.data(), const_cast<char*>(inputArg.c_str()),
                                const_cast<char*>(outputArg.c_str()), nullptr};
        const int spawned =
            posix_spawnp(&pid, m_program.c_str(), &actions, &attributes, argv.data(), environ);
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
        if (spawned == ENOENT) {
            throw NecEngineError(m_program +
                                 " was not found: --simulate needs the NEC-2 engine of the Debian "
                                 "package nec2c (apt install nec2c)");
        }
        if (spawned != 0) {
            throw NecEngineError("cannot run " + m_program + ": " + std::strerror(spawned));
        }
        m_children->add(pid);
    }

    const bool ended = waitForEnd(pid, limit);
    if (!ended) {
        kill(pid, SIGKILL);
    }
    int status = 0;
    bool cancelled = false;
    {
        const std::lock_guard<std::mutex> locked(m_children->lock());
        status = reap(pid);
        m_children->remove(pid);
        cancelled = m_children->cancelled();
    }
    if (cancelled) {
        throw NecCancelled("the simulation was cancelled");
    }
    if (!ended) {
        const DeckSize size = deckSize(deck);
        throw NecEngineError(m_program + " was stopped after " +
                             numberText(static_cast<double>(limit.count()) / 1000) +
                             " s, the time limit for " +
                             numberText(static_cast<double>(size.segments)) + " segments at " +
                             numberText(static_cast<double>(size.frequencies)) +
                             (size.frequencies == 1 ? " frequency" : " frequencies"));
    }

    const std::string error = firstErrorLine(messages, output);
    const bool exitedWell = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!exitedWell || !error.empty()) {
        if (!error.empty()) {
            throw NecEngineError(m_program + " failed: " + error);
        }
        throw NecEngineError(
            m_program + " failed with status " +
            numberText(static_cast<double>(WIFEXITED(status) ? WEXITSTATUS(status)
                                                             : 128 + WTERMSIG(status))));
    }
    std::vector<FeedPoint> points;
    {
        std::ifstream listing(output, std::ios::binary);
        points = readNecOutput(listing);
    }
    if (points.empty()) {
        throw NecEngineError(m_program + " printed no feed-point impedance");
    }
    std::error_code ignored; // the folder goes with the object in any case
    std::filesystem::remove(input, ignored);
    std::filesystem::remove(output, ignored);
    std::filesystem::remove(messages, ignored);
    return points;
}

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
