// The build sheet: one printable page for the garden with what to cut and
// wind for the simulated antenna, a drawing of it to scale with its
// dimensions, a drawing of one coil, the SWR plot with what to expect, and
// what an analyzer across a coil reads on the bench.
#pragma once

#include "calc/design_run.h"
#include "nec/simulation.h"

#include <QByteArray>
#include <QPainter>
#include <QSizeF>

#include <optional>

namespace tarvix {

// The paper, in points (1/72 in): A4 for a metric design, Letter otherwise.
QSizeF buildSheetPageSize(Units units);

// Paints the whole page (of buildSheetPageSize) in points. The result must
// have a winding to build and both sweeps points.
void paintBuildSheet(QPainter& painter, const DesignResult& design,
                     const SimulationOptions& options, const SimulationResult& result);

// The page as a PDF or else an SVG file's bytes; none when it could not be
// drawn.
std::optional<QByteArray> buildSheetDocument(bool pdf, const DesignResult& design,
                                             const SimulationOptions& options,
                                             const SimulationResult& result);

} // namespace tarvix
