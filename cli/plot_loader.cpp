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

PlotEntry loadEntry() {
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
        if (void* entry = dlsym(module, kPlotEntryName)) {
            return reinterpret_cast<PlotEntry>(entry);
        }
        why = place.string() + " has no entry " + kPlotEntryName;
    }
    throw PlotError(why);
}

} // namespace

void writeSimulationPlot(const std::string& path, double freqMHz, const SimulationOptions& options,
                         const SimulationResult& result, std::ostream& standardOutput) {
    static const PlotEntry entry = loadEntry();
    std::string ending = path.size() >= 4 ? path.substr(path.size() - 4) : std::string();
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::string picture;
    if (const char* failure = entry(ending == ".png", freqMHz, options, result, picture)) {
        throw PlotError(failure);
    }
    if (path == "-") {
        standardOutput << picture;
        return;
    }
    try {
        replaceFile(path, picture);
    } catch (const std::system_error& error) {
        throw PlotError(error.what());
    }
}

} // namespace tarvix
