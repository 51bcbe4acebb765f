// Entry point of the tarvix window program. It reads no arguments of its own:
// argc and argv go to QApplication only for the toolkit's options.
#include "ui/frm_tarvix1.h"
#include "ui/start_up.h"

#include <QApplication>
#include <QByteArray>

#include <cstdio>

namespace {

// Qt aborts with a core dump when it finds no display server; say so plainly
// instead. Only X11 and Wayland need one: Windows and macOS start without.
bool displayAvailable() {
    return !tarvix::needsDisplayServer(tarvix::kThisHost,
                                       qgetenv("QT_QPA_PLATFORM").toStdString()) ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char* argv[]) {
    if (!displayAvailable()) {
        std::fputs("tarvix: no display available (set DISPLAY or QT_QPA_PLATFORM)\n", stderr);
        return 1;
    }
    return tarvix::runReportingFailures("tarvix", [&] {
        QApplication app(argc, argv);
        tarvix::setApplicationIdentity();
        tarvix::useDialogFont();

        tarvix::frmTarvix1 window;
        // The message boxes take the window's icon; it is built once, with the window.
        QApplication::setWindowIcon(window.windowIcon());
        window.show();
        return QApplication::exec();
    });
}
