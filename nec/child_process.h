// The engine's process: started with its files for standard streams and the
// ending signals at their defaults, waited for up to its time limit, reaped.
// Internal to nec/.
#pragma once

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <sys/types.h>

namespace tarvix::nec_detail {

// Starts program (found on PATH when it has no slash) on the deck in input,
// its listing to output, its standard output and error to messages, standard
// input from /dev/null; the signals in defaultSignals at their default action
// and none blocked, as a program started anew has them. Throws NecEngineError
// when it cannot be started.
pid_t startEngine(const std::string& program, const std::filesystem::path& input,
                  const std::filesystem::path& output, const std::filesystem::path& messages,
                  const sigset_t& defaultSignals);

// Waits until the child has ended, without reaping it, or the time is up.
// True when it ended.
bool waitForEnd(pid_t pid, std::chrono::milliseconds limit);

// Reaps the child, waiting for it to end; its wait status.
int reap(pid_t pid);

} // namespace tarvix::nec_detail
