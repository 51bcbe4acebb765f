// Entry point of the tarvix window program. It reads no arguments of its own:
// argc and argv go to QApplication only for the toolkit's options.
#include "ui/frm_tarvix1.h"

#include <QApplication>

#include <cstdio>

namespace {

// Qt aborts with a core dump when it finds no display; say so plainly instead.
bool displayAvailable() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

} // namespace

int main(int argc, char* argv[]) {
    if (!displayAvailable()) {
        std::fputs("tarvix: no display available (set DISPLAY or QT_QPA_PLATFORM)\n", stderr);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvix"));

    tarvix::frmTarvix1 window;
    // The message boxes take the window's icon; it is built once, with the window.
    QApplication::setWindowIcon(window.windowIcon());
    window.show();
    return QApplication::exec();
}
