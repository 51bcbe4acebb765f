// Runs a program to completion and keeps its exit status and both outputs.
// The tests run the built tarvix-design (and nec2c) this way, as a user would.
#pragma once

#include "scratch_dir.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tarvix::test {

struct ProgramRun {
    int status = -1; // exit status; -1 when the program did not exit normally
    std::string out;
    std::string err;
};

// environment: "NAME=value" entries that are added to this process's
// environment or replace what it has under that name.
ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::vector<std::string>& environment = {});

std::string readFile(const std::filesystem::path& path);

// A command line written as one text, split at blanks: "--freq 7 --json".
std::vector<std::string> words(const std::string& text);

} // namespace tarvix::test
