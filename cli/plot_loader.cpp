// Finds the plot module beside the running program (the build tree) or in the
// program's library folder relative to it (an installed or unpacked package).
#include "cli/plot_loader.h"

#include "plot/simulation_plot.h"
#include "report/file_output.h"

#include <algorithm>
#include <cctype>
#include <dlfcn.h>
#include <filesystem>
#include <ostream>
#include <system_error>
#include <vector>

namespace tarvix {

namespace {

// The module stays loaded once found; each entry is looked up by its name.
void* loadModule() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    std::vector<std::filesystem::path> places;
    if (!error) {
        places.push_back(program.parent_path() / kPlotModuleName);
        places.push_back(program.parent_path() / TARVIX_PLOT_MODULE_DIR / kPlotModuleName);
    }
    std::string why = "the plot module " + std::string(kPlotModuleName) + " was not found";
    for (const std::filesystem::path& place : places) {
        if (!std::filesystem::exists(place, error)) {
            continue;
        }
        // Kept loaded to the end: the toolkit it brings does not expect to be
        // unloaded.
        void* module = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) {
            why = dlerror();
            continue;
        }
        return module;
    }
    throw PlotError(why);
}

void* loadEntry(const char* name) {
    static void* const module = loadModule();
    if (void* entry = dlsym(module, name)) {
        return entry;
    }
    throw PlotError(std::string("the plot module ") + kPlotModuleName + " has no entry " + name);
}

// Replaces the file whole with what the module drew.
void writeDrawing(const std::string& path, const std::string& drawing) {
    try {
        replaceFile(path, drawing);
    } catch (const std::system_error& error) {
        throw PlotError(error.what());
    }
}

// The name's last four characters in lower case: ".svg", ".pdf".
std::string endingOf(const std::string& path) {
    std::string ending = path.size() >= 4 ? path.substr(path.size() - 4) : std::string();
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ending;
}

} // namespace

void writeSimulationPlot(const std::string& path, double freqMHz, const SimulationOptions& options,
                         const SimulationResult& result, std::ostream& standardOutput) {
    static const auto entry = reinterpret_cast<PlotEntry>(loadEntry(kPlotEntryName));
    std::string picture;
    if (const char* failure = entry(endingOf(path) == ".png", freqMHz, options, result, picture)) {
        throw PlotError(failure);
    }
    if (path == "-") {
        standardOutput << picture;
        return;
    }
    writeDrawing(path, picture);
}

bool isBuildSheetName(const std::string& path) {
    const std::string ending = endingOf(path);
    return ending == ".pdf" || ending == ".svg";
}

void writeBuildSheet(const std::string& path, const DesignResult& design,
                     const SimulationOptions& options, const SimulationResult& result) {
    static const auto entry = reinterpret_cast<SheetEntry>(loadEntry(kSheetEntryName));
    std::string document;
    if (const char* failure = entry(endingOf(path) == ".pdf", design, options, result, document)) {
        throw PlotError(failure);
    }
    writeDrawing(path, document);
}

} // namespace tarvix
