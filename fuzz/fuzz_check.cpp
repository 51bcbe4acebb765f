// Failure reporting for the fuzz targets.
#include "fuzz/fuzz_check.h"

#include <cstdio>
#include <cstdlib>

namespace tarvix::fuzz {

void fail(std::string_view what, std::string_view detail) {
    std::fprintf(stderr, "property broken: %.*s\n", static_cast<int>(what.size()), what.data());
    if (!detail.empty()) {
        std::fprintf(stderr, "  %.*s\n", static_cast<int>(detail.size()), detail.data());
    }
    std::abort();
}

} // namespace tarvix::fuzz
