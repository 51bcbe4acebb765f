// The window benchmarks run on Qt's offscreen platform: they measure our
// work, not a display server's, and need none.
#pragma once

namespace tarvix::bench {

// The arguments to make the application with: the program's name and
// "-platform offscreen".
struct OffscreenArguments {
    explicit OffscreenArguments(char* program)
        : argv{program, platformFlag, platformName, nullptr} {}
    OffscreenArguments(const OffscreenArguments&) = delete;
    OffscreenArguments& operator=(const OffscreenArguments&) = delete;

    char platformFlag[10] = "-platform";
    char platformName[10] = "offscreen";
    int argc = 3;
    char* argv[4];
};

} // namespace tarvix::bench
