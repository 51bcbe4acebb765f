// The tarvix-design program as a function of its arguments and its two output
// streams; main() only hands it the process's own.
#pragma once

#include <iosfwd>

namespace tarvix {

inline constexpr int kExitDone = 0;
inline constexpr int kExitFileError = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitFault = 3;

int runTarvixDesign(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

} // namespace tarvix
