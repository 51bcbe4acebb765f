// Draws the plot of a simulation through the plot module, loaded on first use.
#pragma once

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

} // namespace tarvix
