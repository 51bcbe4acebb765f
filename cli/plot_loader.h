// Draws the plot of a simulation and the build sheet through the plot module,
// loaded on first use.
#pragma once

#include "calc/design_run.h"
#include "nec/simulation.h"
#include "plot/simulation_plot.h"

#include <iosfwd>
#include <string>

namespace tarvix {

// SVG, or PNG when the name ends in ".png" (any case), replacing the file whole
// as --nec does; "-" is SVG on standardOutput. Throws PlotError when the
// module cannot be loaded or the file not written.
void writeSimulationPlot(const std::string& path, double freqMHz, const SimulationOptions& options,
                         const SimulationResult& result, std::ostream& standardOutput);

// Whether a name is one --sheet writes: ending in ".pdf" or ".svg" (any case).
bool isBuildSheetName(const std::string& path);

// The build sheet of a simulation with a winding to build: PDF when the name
// ends in ".pdf" (any case), else SVG, replacing the file whole. Throws
// PlotError when the module cannot be loaded, the page not drawn or the file
// not written.
void writeBuildSheet(const std::string& path, const DesignResult& design,
                     const SimulationOptions& options, const SimulationResult& result);

} // namespace tarvix
