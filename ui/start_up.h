// What the program settles before its window opens: whether the toolkit will
// need a display server, the names by which the desktop links the running
// window to its menu entry and icon, and the application's font.
#pragma once

#include <QtGlobal>

#include <functional>
#include <string_view>

namespace tarvix {

enum class HostSystem { Windows, MacOS, OtherUnix };

#if defined(Q_OS_WIN)
inline constexpr HostSystem kThisHost = HostSystem::Windows;
#elif defined(Q_OS_MACOS)
inline constexpr HostSystem kThisHost = HostSystem::MacOS;
#else
inline constexpr HostSystem kThisHost = HostSystem::OtherUnix;
#endif

// True when every platform Qt may pick needs an X11 or Wayland server.
// requestedPlatforms is QT_QPA_PLATFORM as set ("" when unset): platform names
// separated by ";", each with optional ":options"; Qt tries them in order.
// Unset, Qt uses the host's own: the Windows and macOS window systems, which
// need no server, and X11 or Wayland elsewhere.
bool needsDisplayServer(HostSystem host, std::string_view requestedPlatforms);

// The desktop entry's name without ".desktop" (Wayland's application id),
// and the application name, which X11 gives the window as its class.
inline constexpr std::string_view kDesktopFileName = "org.example.Tarvix";
inline constexpr std::string_view kApplicationName = "Tarvix";

// Gives the running application those two names. Call once the application
// object exists, before the window is shown.
void setApplicationIdentity();

// Makes the window's dialog font the application's, for the message boxes,
// the lists' drop-downs, menus and tooltips as much as for the window. Call
// once the application object exists, before the window is made.
void useDialogFont();

// Runs the program's body; an exception that reaches it (none should: the
// window reports its own failures) ends the program with one line on
// standard error that names it, "<program>: internal error: ...", and status
// 1, rather than with std::terminate.
int runReportingFailures(const char* program, const std::function<int()>& body);

} // namespace tarvix
