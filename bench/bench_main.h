// The entry point shared by the benchmark programs. Besides Google Benchmark's
// own flags they take --iterations=N, which runs every benchmark exactly N
// times instead of for a while: an instruction counter such as callgrind then
// sees a known number of iterations, and two runs with different N give the
// instructions of one iteration with all start-up cost cancelled out.
#pragma once

#include <benchmark/benchmark.h>
#include <functional>
#include <string>
#include <vector>

namespace tarvix::bench {

struct NamedBenchmark {
    std::string name; // layer/what, e.g. "calc/whole_design"
    std::function<void(benchmark::State&)> body;
    // Timed by the clock on the wall rather than this process's CPU time: for
    // work done by other processes.
    bool realTime = false;
};

// Registers the benchmarks, runs those selected by the flags and returns the
// process exit status.
int runBenchmarks(int argc, char** argv, const std::vector<NamedBenchmark>& benchmarks);

} // namespace tarvix::bench
