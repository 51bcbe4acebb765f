// The picture of a simulation: SWR and feed-point reactance against frequency
// over the sweep, for the formula's antenna and the corrected one, with the
// design frequency and both resonances marked.
//
// It is drawn with the toolkit, which takes a while to load; tarvix-design
// loads this module only when a plot is asked for, so that every other run
// starts as fast as a plain C++ program.
#pragma once

#include "calc/design_run.h"
#include "nec/simulation.h"

#include <stdexcept>
#include <string>

namespace tarvix {

// The plot could not be drawn or its file not written.
class PlotError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The module's file name, and its entry points. The plot's draws the picture
// into picture, as PNG or else SVG; the build sheet's draws the page into
// document, as PDF or else SVG. Each returns nullptr when done, else why not
// (valid until the next call).
inline constexpr const char* kPlotModuleName = "tarvix-plot.so";
inline constexpr const char* kPlotEntryName = "tarvix_draw_simulation_plot";
using PlotEntry = const char* (*)(bool png, double freqMHz, const SimulationOptions& options,
                                  const SimulationResult& result, std::string& picture);
inline constexpr const char* kSheetEntryName = "tarvix_draw_build_sheet";
using SheetEntry = const char* (*)(bool pdf, const DesignResult& design,
                                   const SimulationOptions& options, const SimulationResult& result,
                                   std::string& document);

} // namespace tarvix
