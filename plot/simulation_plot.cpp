// The plot module: the shared painter draws into an SVG generator or a PNG
// image of a fixed 960 x 640 canvas, and the build sheet into a PDF or SVG
// page, in memory; the program writes the file.
#include "plot/simulation_plot.h"

#include "plot/build_sheet_painter.h"
#include "plot/simulation_painter.h"

#include <QGuiApplication>

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace tarvix {

namespace {

// Runs draw with the toolkit ready to paint text, and gives back its bytes.
template <typename Draw> std::string withToolkit(Draw draw) {
    // Text needs the toolkit's font database, which needs an application; the
    // offscreen platform needs no display. What the toolkit says on the way
    // (no runtime folder, ...) is no concern of the user's: failures show in
    // what painting and saving return.
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    struct RestoreHandler {
        QtMessageHandler handler;
        ~RestoreHandler() { qInstallMessageHandler(handler); }
    } restore{previous};
    // The toolkit wants a runtime folder and makes one in the temporary
    // folder when the session has none; this one is private and removed.
    std::filesystem::path runtime;
    struct RemoveRuntime {
        std::filesystem::path& folder;
        ~RemoveRuntime() {
            if (!folder.empty()) {
                std::error_code ignored;
                std::filesystem::remove_all(folder, ignored);
                unsetenv("XDG_RUNTIME_DIR");
            }
        }
    } removeRuntime{runtime};
    if (std::getenv("XDG_RUNTIME_DIR") == nullptr) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tarvix-plot-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            runtime = pattern;
            setenv("XDG_RUNTIME_DIR", pattern.c_str(), 1);
        }
    }
    std::unique_ptr<QGuiApplication> app;
    int argc = 3;
    char name[] = "tarvix-design";
    char platformOption[] = "-platform";
    char platform[] = "offscreen";
    char* argv[] = {name, platformOption, platform, nullptr};
    if (QGuiApplication::instance() == nullptr) {
        app = std::make_unique<QGuiApplication>(argc, argv);
    }
    // The application takes the user's locale for the whole process; the
    // plot's numbers and the report written after it keep the decimal point,
    // as every number tarvix-design writes.
    std::setlocale(LC_NUMERIC, "C");

    const std::optional<QByteArray> bytes = draw();
    if (!bytes) {
        throw PlotError("the picture could not be drawn");
    }
    return std::string(bytes->constData(), static_cast<std::size_t>(bytes->size()));
}

void requireSweeps(const SimulationResult& result) {
    if (result.formula.sweep.empty() || result.corrected.sweep.empty()) {
        throw PlotError("the simulation has no sweep to draw");
    }
}

std::string drawPlot(bool png, double freqMHz, const SimulationOptions& options,
                     const SimulationResult& result) {
    requireSweeps(result);
    return withToolkit([&] { return simulationPlotPicture(png, freqMHz, options, result); });
}

std::string drawSheet(bool pdf, const DesignResult& design, const SimulationOptions& options,
                      const SimulationResult& result) {
    requireSweeps(result);
    if (!result.build || !options.build) {
        throw PlotError("there is no winding to build" +
                        (result.buildFault ? ": " + *result.buildFault : std::string()));
    }
    return withToolkit([&] { return buildSheetDocument(pdf, design, options, result); });
}

} // namespace

} // namespace tarvix

extern "C" __attribute__((visibility("default"))) const char*
tarvix_draw_simulation_plot(bool png, double freqMHz, const tarvix::SimulationOptions& options,
                            const tarvix::SimulationResult& result, std::string& picture) {
    static std::string failure;
    try {
        picture = tarvix::drawPlot(png, freqMHz, options, result);
        return nullptr;
    } catch (const std::exception& error) {
        failure = error.what();
        return failure.c_str();
    }
}

extern "C" __attribute__((visibility("default"))) const char*
tarvix_draw_build_sheet(bool pdf, const tarvix::DesignResult& design,
                        const tarvix::SimulationOptions& options,
                        const tarvix::SimulationResult& result, std::string& document) {
    static std::string failure;
    try {
        document = tarvix::drawSheet(pdf, design, options, result);
        return nullptr;
    } catch (const std::exception& error) {
        failure = error.what();
        return failure.c_str();
    }
}
