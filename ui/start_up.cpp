// The display decision, the application's names and its font.
#include "ui/start_up.h"

#include "ui/fonts.h"

#include <QApplication>
#include <QGuiApplication>
#include <QString>

#include <cstdio>
#include <exception>
#include <ranges>

namespace tarvix {

namespace {

QString toQString(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

bool needsDisplayServer(HostSystem host, std::string_view requestedPlatforms) {
    bool named = false;
    for (const auto entry : requestedPlatforms | std::views::split(';')) {
        std::string_view platform(entry.begin(), entry.end());
        // Options follow the name after a colon ("xcb:nomitshm").
        platform = platform.substr(0, platform.find(':'));
        if (platform.empty()) {
            continue;
        }
        named = true;
        // Qt falls back along the list: one platform without a server will do.
        if (!platform.starts_with("xcb") && !platform.starts_with("wayland")) {
            return false;
        }
    }
    return named || host == HostSystem::OtherUnix;
}

void setApplicationIdentity() {
    QGuiApplication::setApplicationName(toQString(kApplicationName));
    QGuiApplication::setDesktopFileName(toQString(kDesktopFileName));
}

void useDialogFont() {
    // Everything the program shows is then set in one font, the one the
    // window's layout was drawn for, as the classic dialogs were; and the
    // start-up, which lays out text from the first control on, loads no
    // second font.
    QApplication::setFont(defaultFont());
}

int runReportingFailures(const char* program, const std::function<int()>& body) {
    try {
        return body();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s: internal error: %s\n", program, error.what());
    } catch (...) {
        std::fprintf(stderr, "%s: internal error of no known kind\n", program);
    }
    return 1;
}

} // namespace tarvix
