// The picture of a simulation painted with QPainter: SWR and feed-point
// reactance against frequency over the sweep, for the formula's antenna and
// the corrected one, with the design frequency, both resonances, the 2:1
// band and any parallel resonance marked and the points nec2c solved ringed.
// The plot module draws it into files, the check window onto the screen.
#pragma once

#include "nec/simulation.h"
#include "plot/plot_scale.h"

#include <QByteArray>
#include <QPainter>
#include <QPointF>
#include <QSizeF>

#include <optional>

namespace tarvix {

// The canvas of the SVG and PNG files.
inline constexpr int kPlotWidth = 960;
inline constexpr int kPlotHeight = 640;

// Paints the whole picture into a canvas of the given size (at least a few
// hundred pixels each way), its background included. Both sweeps must have
// points. The frequency axis spans view, or without one both sweeps.
void paintSimulationPlot(QPainter& painter, QSizeF size, double freqMHz,
                         const SimulationOptions& options, const SimulationResult& result,
                         const std::optional<FrequencyView>& view = std::nullopt);

// The picture in a file's bytes on the canvas of kPlotWidth x kPlotHeight:
// PNG, or else SVG. None when it could not be drawn.
std::optional<QByteArray> simulationPlotPicture(bool png, double freqMHz,
                                                const SimulationOptions& options,
                                                const SimulationResult& result);

// The frequency under a point of a canvas of the given size, when the point
// is within the panels' width and height, the axis spanning view or else both
// sweeps.
std::optional<double> plotFrequencyAt(QSizeF size, QPointF at, double freqMHz,
                                      const SimulationResult& result,
                                      const std::optional<FrequencyView>& view = std::nullopt);

} // namespace tarvix
