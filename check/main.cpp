// Entry point of tarvix-check. It reads no arguments of its own: argc and
// argv go to QApplication only for the toolkit's options.
#include "check/check_application.h"
#include "check/check_window.h"
#include "nec/nec2c.h"
#include "ui/start_up.h"

#include <QApplication>
#include <QMetaObject>
#include <QSettings>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <thread>

namespace {

// Ctrl+C or a kill must not leave nec2c running or its folder behind. The
// ending signals are blocked here, before any thread starts, so every thread
// inherits the block; one thread of the program's own waits for them and
// closes the window as a user would, which cancels a run and removes its
// folder, and the signal then ends the program. While an engine runs, the
// runner's own thread may take the signal instead and clean up itself.
class EndingSignals {
public:
    EndingSignals() {
        m_signals = tarvix::endingSignalsAtDefault();
        pthread_sigmask(SIG_BLOCK, &m_signals, nullptr);
    }

    // Quits the application on the first ending signal.
    void listen(QApplication& app) {
        std::thread([this, &app] {
            int signal = 0;
            while (sigwait(&m_signals, &signal) != 0) {
            }
            m_caught = signal;
            QMetaObject::invokeMethod(
                &app, [] { QApplication::quit(); }, Qt::QueuedConnection);
        }).detach();
    }

    // After the window is gone: end by the signal that came, if one did.
    void endBySignal() const {
        if (const int signal = m_caught.load(); signal != 0) {
            tarvix::endBySignal(signal);
        }
    }

private:
    sigset_t m_signals;
    std::atomic<int> m_caught{0};
};

} // namespace

int main(int argc, char* argv[]) {
    // Qt aborts with a core dump when it finds no display server; say so
    // plainly instead.
    if (tarvix::needsDisplayServer(tarvix::kThisHost, qgetenv("QT_QPA_PLATFORM").toStdString()) &&
        qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::fputs("tarvix-check: no display available (set DISPLAY or QT_QPA_PLATFORM)\n", stderr);
        return 1;
    }
    EndingSignals endingSignals;
    // The application outlives the window and stays while the program ends:
    // the signals' thread may still post to it.
    QApplication app(argc, argv);
    endingSignals.listen(app);
    const int status = tarvix::runReportingFailures("tarvix-check", [] {
        tarvix::prepareCheckApplication();
        QApplication::setWindowIcon(tarvix::checkIcon());
        QSettings settings;
        tarvix::CheckWindow window(settings);
        window.show();
        return QApplication::exec();
    });
    endingSignals.endBySignal();
    return status;
}
