// The nec2c runner and the reader of its listings.
#include "nec/nec2c.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tarvix {

namespace {

std::string readWhole(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The number after the first ':' or '=' of a listing line.
double valueAfterMark(const std::string& line) {
    const auto mark = line.find_first_of(":=");
    return mark == std::string::npos ? 0 : std::strtod(line.c_str() + mark + 1, nullptr);
}

bool contains(const std::string& line, const char* text) {
    return line.find(text) != std::string::npos;
}

std::string trimmed(const std::string& line) {
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return {};
    }
    return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

// The line that tells the user what went wrong: the engine's first message on
// its own output streams, else the first line of the listing naming an error.
std::string firstErrorLine(const std::string& messages, const std::string& listing) {
    std::istringstream lines(messages);
    for (std::string line; std::getline(lines, line);) {
        if (std::string text = trimmed(line); !text.empty()) {
            return text;
        }
    }
    std::istringstream listed(listing);
    for (std::string line; std::getline(listed, line);) {
        if (contains(line, "ERROR")) {
            return trimmed(line);
        }
    }
    return {};
}

// An interrupted run (Ctrl-C, a terminal closed, kill) must not leave the
// engine's files behind either. A signal handler can only use what was set
// up before it, so the folder of the engine alive now is kept here as plain
// characters; the program makes one engine at a time.
constexpr int kCleanedSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr std::size_t kFolderSpace = 4096;
char g_folder[kFolderSpace];
std::atomic<int>* g_solves = nullptr;
volatile std::sig_atomic_t g_engineAlive = 0;
using SignalHandler = void (*)(int);
SignalHandler g_previousHandlers[std::size(kCleanedSignals)];

// Appends text at end, within the folder buffer's room; returns the new end.
char* append(char* end, char* limit, const char* text) {
    while (*text != '\0' && end < limit) {
        *end++ = *text++;
    }
    return end;
}

extern "C" void removeEngineFilesAndStop(int signal) {
    if (g_engineAlive != 0 && g_solves != nullptr) {
        char path[kFolderSpace + 32];
        char* const limit = path + sizeof path - 1;
        const int count = g_solves->load();
        for (int solve = 0; solve < count; ++solve) {
            for (const char* ending : {".nec", ".out", ".log"}) {
                char number[16];
                int digits = 0;
                for (int rest = solve; rest > 0 || digits == 0; rest /= 10) {
                    number[digits++] = static_cast<char>('0' + rest % 10);
                }
                char* end = append(path, limit, g_folder);
                end = append(end, limit, "/");
                while (digits > 0 && end < limit) {
                    *end++ = number[--digits];
                }
                end = append(end, limit, ending);
                *end = '\0';
                unlink(path);
            }
        }
        rmdir(g_folder);
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

} // namespace

std::vector<FeedPoint> readNecOutput(const std::string& listing) {
    std::vector<FeedPoint> points;
    std::istringstream lines(listing);
    FeedPoint point;
    bool haveImpedance = false;
    for (std::string line; std::getline(lines, line);) {
        if (contains(line, "FREQUENCY :")) {
            point = FeedPoint{};
            point.freqMHz = valueAfterMark(line);
            haveImpedance = false;
        } else if (contains(line, "ANTENNA INPUT PARAMETERS")) {
            // Two header lines, then tag, segment, voltage, current,
            // impedance (real, imaginary), ...
            std::string row;
            std::getline(lines, row);
            std::getline(lines, row);
            std::getline(lines, row);
            std::istringstream fields(row);
            int tag = 0;
            int segment = 0;
            double vr = 0, vi = 0, ir = 0, ii = 0;
            haveImpedance = static_cast<bool>(fields >> tag >> segment >> vr >> vi >> ir >> ii >>
                                              point.resistanceOhm >> point.reactanceOhm);
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

Nec2c::Nec2c(std::string program) : m_program(std::move(program)) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tarvix-nec-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw NecEngineError(std::string("cannot make a temporary folder: ") +
                             std::strerror(errno));
    }
    m_dir = pattern;
    if (pattern.size() < kFolderSpace) {
        std::memcpy(g_folder, pattern.c_str(), pattern.size() + 1);
        g_solves = &m_next;
        g_engineAlive = 1;
        for (std::size_t i = 0; i < std::size(kCleanedSignals); ++i) {
            g_previousHandlers[i] = std::signal(kCleanedSignals[i], removeEngineFilesAndStop);
            // A signal the program was started to ignore stays ignored.
            if (g_previousHandlers[i] == SIG_IGN) {
                std::signal(kCleanedSignals[i], SIG_IGN);
            }
        }
    }
}

Nec2c::~Nec2c() {
    if (g_solves == &m_next) {
        g_engineAlive = 0;
        for (std::size_t i = 0; i < std::size(kCleanedSignals); ++i) {
            std::signal(kCleanedSignals[i], g_previousHandlers[i]);
        }
        g_solves = nullptr;
    }
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
}

std::vector<FeedPoint> Nec2c::solve(const std::string& deck) {
    const std::string name = std::to_string(m_next.fetch_add(1));
    const std::filesystem::path input = m_dir / (name + ".nec");
    const std::filesystem::path output = m_dir / (name + ".out");
    const std::filesystem::path messages = m_dir / (name + ".log");
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
    const std::string inputArg = "-i" + input.string();
    const std::string outputArg = "-o" + output.string();
    std::vector<char*> argv{m_program.data(), const_cast<char*>(inputArg.c_str()),
                            const_cast<char*>(outputArg.c_str()), nullptr};
    pid_t pid = 0;
    const int spawned =
        posix_spawnp(&pid, m_program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned == ENOENT) {
        throw NecEngineError(m_program +
                             " was not found: --simulate needs the NEC-2 engine of the Debian "
                             "package nec2c (apt install nec2c)");
    }
    if (spawned != 0) {
        throw NecEngineError("cannot run " + m_program + ": " + std::strerror(spawned));
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            throw NecEngineError("lost the " + m_program + " process: " + std::strerror(errno));
        }
    }

    const std::string listing = readWhole(output);
    const std::string error = firstErrorLine(readWhole(messages), listing);
    const bool exitedWell = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (!exitedWell || !error.empty()) {
        if (!error.empty()) {
            throw NecEngineError(m_program + " failed: " + error);
        }
        throw NecEngineError(
            m_program + " failed with status " +
            std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status)));
    }
    std::vector<FeedPoint> points = readNecOutput(listing);
    if (points.empty()) {
        throw NecEngineError(m_program + " printed no feed-point impedance");
    }
    std::filesystem::remove(input);
    std::filesystem::remove(output);
    std::filesystem::remove(messages);
    return points;
}

} // namespace tarvix
