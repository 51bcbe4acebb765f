// Argument handling and registration for the benchmark programs.
#include "bench/bench_main.h"

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string_view>

namespace tarvix::bench {

namespace {

constexpr std::string_view kIterationsFlag = "--iterations=";

// Takes --iterations=N out of the arguments so that Google Benchmark does not
// see a flag it does not know. Returns 0 when it is absent, -1 when malformed.
std::int64_t takeIterations(int& argc, char** argv) {
    std::int64_t iterations = 0;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument.starts_with(kIterationsFlag)) {
            const std::string_view number = argument.substr(kIterationsFlag.size());
            const auto [end, error] =
                std::from_chars(number.data(), number.data() + number.size(), iterations);
            if (error != std::errc() || end != number.data() + number.size() || iterations < 1) {
                return -1;
            }
            continue;
        }
        argv[kept++] = argv[i];
    }
    argc = kept;
    argv[argc] = nullptr;
    return iterations;
}

} // namespace

int runBenchmarks(int argc, char** argv, const std::vector<NamedBenchmark>& benchmarks) {
    const std::int64_t iterations = takeIterations(argc, argv);
    if (iterations < 0) {
        std::fprintf(stderr, "%s: --iterations needs a whole number above 0\n", argv[0]);
        return 2;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    for (const NamedBenchmark& entry : benchmarks) {
        benchmark::internal::Benchmark* registered =
            benchmark::RegisterBenchmark(entry.name.c_str(), entry.body);
        if (iterations > 0) {
            registered->Iterations(iterations);
        }
        if (entry.realTime) {
            registered->UseRealTime();
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

} // namespace tarvix::bench
