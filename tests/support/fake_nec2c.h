// A stand-in for nec2c, for the tests of what the runner and tarvix-design do
// with what an engine lists, prints and exits with.
#pragma once

#include "scratch_dir.h"

#include <string>

namespace tarvix::test {

// Two frequencies as nec2c lists them, the second without its power budget.
extern const char* const kListing;

// A shell script named nec2c in the scratch directory that writes listing to
// the -o file and message to standard error, and exits with status; its path.
std::string fakeEngine(const ScratchDir& scratch, const std::string& message, int status,
                       const std::string& listing = kListing);

} // namespace tarvix::test
