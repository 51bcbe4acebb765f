// Entry point of tarvix-check. It reads no arguments of its own: argc and
// argv go to QApplication only for the toolkit's options.
#include "check/check_application.h"
#include "check/check_window.h"
#include "ui/start_up.h"

#include <QApplication>
#include <QIcon>
#include <QSettings>

#include <cstdio>

int main(int argc, char* argv[]) {
    // Qt aborts with a core dump when it finds no display server; say so
    // plainly instead.
    if (tarvix::needsDisplayServer(tarvix::kThisHost, qgetenv("QT_QPA_PLATFORM").toStdString()) &&
        qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fputs("tarvix-check: no display available (set DISPLAY or QT_QPA_PLATFORM)\n", stderr);
        return 1;
    }
    QApplication app(argc, argv);
    tarvix::prepareCheckApplication();
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("tarvix")));
    QSettings settings;
    tarvix::CheckWindow window(settings);
    window.show();
    return QApplication::exec();
}
