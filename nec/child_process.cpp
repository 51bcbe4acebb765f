// The engine's process: starting, waiting for and reaping it.
#include "nec/child_process.h"

#include "nec/nec2c.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <poll.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace tarvix::nec_detail {

namespace {

int pidfdOpen(pid_t pid) {
#ifdef SYS_pidfd_open
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    errno = ENOSYS;
    return -1;
#endif
}

} // namespace

pid_t startEngine(const std::string& program, const std::filesystem::path& input,
                  const std::filesystem::path& output, const std::filesystem::path& messages,
                  const sigset_t& defaultSignals) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, messages.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    // The engine gets the signals this program blocks as a program started
    // anew would have them.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaultSignals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    std::string name = program;
    const std::string inputArg = "-i" + input.string();
    const std::string outputArg = "-o" + output.string();
    std::vector<char*> argv{name.data(), const_cast<char*>(inputArg.c_str()),
                            const_cast<char*>(outputArg.c_str()), nullptr};
    pid_t pid = 0;
    const int spawned =
        posix_spawnp(&pid, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned == ENOENT) {
        throw NecEngineError(program +
                             " was not found: --simulate needs the NEC-2 engine of the Debian "
                             "package nec2c (apt install nec2c)");
    }
    if (spawned != 0) {
        throw NecEngineError("cannot run " + program + ": " + std::strerror(spawned));
    }
    return pid;
}

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

} // namespace tarvix::nec_detail
