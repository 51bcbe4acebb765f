// What tarvix-check settles once its application object exists, before the
// window is made; the tests settle the same.
#pragma once

#include <QIcon>

#include <string_view>

namespace tarvix {

// The desktop entry's name without ".desktop", and the application's.
inline constexpr std::string_view kCheckDesktopFileName = "org.example.Tarvix.Check";
inline constexpr std::string_view kCheckApplicationName = "tarvix-check";

// Names the application for the desktop and for its settings, and keeps the C
// library's numbers in the C locale: the reports are written with a point,
// as tarvix-design writes them, while the boxes read the user's separator.
void prepareCheckApplication();

// The window's icon, 32 pixels, from the pixels compiled into the program; a
// desktop's menu and task bar take other sizes from the installed icon theme.
QIcon checkIcon();

} // namespace tarvix
