// The check window's run of the worked example on Qt's offscreen platform,
// from Simulate to the results and the plot on screen, with the real nec2c:
// the figure to set beside process/simulate_worked_example, the same
// simulation run by tarvix-design. Wall-clock time, as the work is nec2c's.
#include "bench/bench_main.h"
#include "bench/offscreen.h"
#include "check/check_application.h"
#include "check/check_window.h"

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>
#include <stdexcept>

namespace tarvix::bench {

namespace {

constexpr int kRunTimeoutMs = 120000;

// Settings of its own, so that the window starts from its defaults: the
// worked example, 7 MHz, 60 ft, B = 20 ft, a 1.5 in former and SWG 20.
struct Window {
    QTemporaryDir dir;
    std::unique_ptr<QSettings> settings;
    std::unique_ptr<CheckWindow> window;

    Window() {
        settings = std::make_unique<QSettings>(dir.filePath(QStringLiteral("check.ini")),
                                               QSettings::IniFormat);
        window = std::make_unique<CheckWindow>(*settings);
        window->show();
    }
};

// One run to its end, the results shown.
void runOnce(CheckWindow& window) {
    QEventLoop loop;
    const auto ended = QObject::connect(&window, &CheckWindow::runEnded, &loop, &QEventLoop::quit);
    QTimer::singleShot(kRunTimeoutMs, &loop, &QEventLoop::quit);
    window.simulate();
    loop.exec();
    QObject::disconnect(ended);
    if (window.running() || window.reportText().isEmpty()) {
        throw std::runtime_error("the check window's run gave no result");
    }
}

void workedExample(benchmark::State& state, bool overGround) {
    Window shown;
    if (overGround) {
        shown.window->findChild<QRadioButton*>(QStringLiteral("overGround"))->click();
    }
    for (auto _ : state) {
        runOnce(*shown.window);
    }
}

} // namespace

} // namespace tarvix::bench

int main(int argc, char** argv) {
    tarvix::bench::OffscreenArguments qt(argv[0]);
    QApplication app(qt.argc, qt.argv);
    tarvix::prepareCheckApplication();

    using namespace tarvix::bench;
    return runBenchmarks(argc, argv,
                         {{"check/simulate_worked_example",
                           [](benchmark::State& state) { workedExample(state, false); }, true},
                          {"check/simulate_worked_example_at_30_ft",
                           [](benchmark::State& state) { workedExample(state, true); }, true}});
}
