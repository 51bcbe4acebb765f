// Measures, from outside, how long a program takes from its start to its
// first frame on an X display, and its peak memory. It needs no help from the
// program: it watches the display for a new top-level window being mapped and
// then drawn into (the X DAMAGE extension reports the first drawing), closes
// that window as a window manager would (WM_DELETE_WINDOW), and reads the
// program's peak resident set size from the kernel when it has exited.
//
//   tarvix_first_frame [--timeout-ms=N] -- PROGRAM [ARGUMENT...]
//
// Prints one line: "first_frame_us=N max_rss_kb=N exit_status=N". The display
// is the one named by DISPLAY; nothing else may be drawing on it.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <set>
#include <signal.h>
#include <string_view>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tarvix::bench {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::string_view kTimeoutFlag = "--timeout-ms=";
constexpr int kDefaultTimeoutMs = 20000;

struct Options {
    int timeoutMs = kDefaultTimeoutMs;
    char** program = nullptr; // argv of the program, null-terminated
};

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument == "--") {
            if (i + 1 >= argc) {
                return false;
            }
            options.program = argv + i + 1;
            return true;
        }
        if (!argument.starts_with(kTimeoutFlag)) {
            return false;
        }
        const std::string_view number = argument.substr(kTimeoutFlag.size());
        const auto [end, error] =
            std::from_chars(number.data(), number.data() + number.size(), options.timeoutMs);
        if (error != std::errc() || end != number.data() + number.size() || options.timeoutMs < 1) {
            return false;
        }
    }
    return false;
}

// A window may be gone by the time a request about it arrives (the program
// may create and destroy helper windows quickly); such errors are expected and
// say nothing about the measurement.
int ignoreXError(Display* /*display*/, XErrorEvent* /*error*/) {
    return 0;
}

// Where the program stands as seen from the display.
struct Watch {
    std::set<Window> mapped;
    Window firstFrameWindow = 0;
};

// Handles one event; true when it is the program's first frame.
bool handleEvent(Display* display, int damageEventBase, const XEvent& event, Watch& watch) {
    if (event.type == CreateNotify) {
        // Watched from its creation, before it can be mapped, so that no
        // drawing can slip past unseen.
        XDamageCreate(display, event.xcreatewindow.window, XDamageReportNonEmpty);
        return false;
    }
    if (event.type == MapNotify && !event.xmap.override_redirect) {
        watch.mapped.insert(event.xmap.window);
        return false;
    }
    if (event.type == damageEventBase + XDamageNotify) {
        const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
        XDamageSubtract(display, damage.damage, None, None);
        if (watch.mapped.contains(damage.drawable)) {
            watch.firstFrameWindow = damage.drawable;
            return true;
        }
    }
    return false;
}

// Asks the window to close, as a window manager does for its close button.
void requestClose(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
}

// Waits for the child to end, killing it after the timeout; fills the usage.
int reap(pid_t child, Clock::time_point deadline, rusage& usage) {
    int status = 0;
    while (true) {
        const pid_t ended = wait4(child, &status, WNOHANG, &usage);
        if (ended == child) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (ended < 0) {
            return -1;
        }
        if (Clock::now() > deadline) {
            kill(child, SIGKILL);
            wait4(child, &status, 0, &usage);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

int run(const Options& options) {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("tarvix_first_frame: cannot open the display named by DISPLAY\n", stderr);
        return 2;
    }
    int damageEventBase = 0;
    int damageErrorBase = 0;
    if (!XDamageQueryExtension(display, &damageEventBase, &damageErrorBase)) {
        std::fputs("tarvix_first_frame: the display has no DAMAGE extension\n", stderr);
        return 2;
    }
    XSetErrorHandler(ignoreXError);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    const Clock::time_point deadline = start + std::chrono::milliseconds(options.timeoutMs);
    const pid_t child = fork();
    if (child < 0) {
        std::perror("tarvix_first_frame: fork");
        return 2;
    }
    if (child == 0) {
        close(ConnectionNumber(display));
        execvp(options.program[0], options.program);
        std::perror("tarvix_first_frame: exec");
        _exit(127);
    }

    Watch watch;
    bool framed = false;
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (!framed && Clock::now() < deadline) {
        while (!framed && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            framed = handleEvent(display, damageEventBase, event, watch);
        }
        if (framed) {
            break;
        }
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "tarvix_first_frame: %s ended before showing a window\n",
                         options.program[0]);
            return 1;
        }
        // Short slices, so that a program that dies is noticed soon; an event
        // wakes the poll at once.
        poll(&connection, 1, 50);
    }
    const Clock::time_point firstFrame = Clock::now();

    if (framed) {
        requestClose(display, watch.firstFrameWindow);
    } else {
        std::fprintf(stderr, "tarvix_first_frame: no frame from %s within %d ms\n",
                     options.program[0], options.timeoutMs);
        kill(child, SIGKILL);
    }
    rusage usage{};
    const int exitStatus =
        reap(child, Clock::now() + std::chrono::milliseconds(options.timeoutMs), usage);
    XCloseDisplay(display);
    if (!framed) {
        return 1;
    }
    const auto micros =
        std::chrono::duration_cast<std::chrono::microseconds>(firstFrame - start).count();
    std::printf("first_frame_us=%lld max_rss_kb=%ld exit_status=%d\n",
                static_cast<long long>(micros), usage.ru_maxrss, exitStatus);
    return exitStatus == 0 ? 0 : 1;
}

} // namespace

} // namespace tarvix::bench

int main(int argc, char** argv) {
    tarvix::bench::Options options;
    if (!tarvix::bench::parseOptions(argc, argv, options)) {
        std::fputs("usage: tarvix_first_frame [--timeout-ms=N] -- PROGRAM [ARGUMENT...]\n", stderr);
        return 2;
    }
    return tarvix::bench::run(options);
}
