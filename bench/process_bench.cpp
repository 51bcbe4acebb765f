// Whole runs of tarvix-design as a user starts them: the process started,
// run to its end and waited for, in real time (the work is the child's, so
// this process's CPU time says nothing).
#include "bench/bench_main.h"

#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// Runs the program with its output thrown away; throws when it fails.
void runToEnd(const std::vector<std::string>& words) {
    std::vector<char*> argv;
    for (const std::string& word : words) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int error = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (error != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        throw std::runtime_error("tarvix-design failed: " + words.back());
    }
}

tarvix::bench::NamedBenchmark wholeRun(const std::string& name, std::vector<std::string> args) {
    args.insert(args.begin(), TARVIX_DESIGN_PATH);
    return {name,
            [args](benchmark::State& state) {
                for (auto _ : state) {
                    runToEnd(args);
                }
            },
            true};
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> worked{"--freq", "7", "--length", "60", "--coil-distance", "20"};
    auto with = [&worked](std::vector<std::string> more) {
        more.insert(more.begin(), worked.begin(), worked.end());
        return more;
    };
    return tarvix::bench::runBenchmarks(
        argc, argv,
        {wholeRun("process/design", with({})),
         // 3,001 rows, and 1,293 warnings on standard error (B above 24 ft).
         wholeRun("process/sweep_b_3001_rows",
                  {"--freq", "7", "--length", "60", "--sweep-b", "0:30:0.01"}),
         wholeRun("process/simulate_worked_example", with({"--simulate"})),
         wholeRun("process/simulate_worked_example_at_30_ft",
                  with({"--simulate", "--height", "30"})),
         // The winding to build and the window's winding checked beside it.
         wholeRun("process/simulate_worked_example_build_sheet",
                  with({"--simulate", "--former-dia", "2", "--coil-length", "2"})),
         wholeRun(
             "process/simulate_worked_example_build_sheet_at_30_ft",
             with({"--simulate", "--former-dia", "2", "--coil-length", "2", "--height", "30"})),
         // As hung from 30 ft, the tips at 10 ft, fed by 75 ft of RG-213.
         wholeRun("process/simulate_worked_example_inverted_v_with_feed_line",
                  with({"--simulate", "--former-dia", "2", "--height", "30", "--end-height", "10",
                        "--feedline", "RG-213:75"}))});
}
