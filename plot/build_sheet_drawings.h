// The build sheet's two drawings, the antenna to scale with its dimension
// lines and one coil on its former, and the lengths they are labelled with,
// in the units of the design as the text report writes them.
#pragma once

#include "calc/cut_list.h"
#include "calc/design_run.h"
#include "nec/simulation.h"

#include <QFont>
#include <QPainter>
#include <QRectF>

#include <optional>
#include <string>

namespace tarvix {

// Room left of the left tip and right of the right one for the insulators.
inline constexpr double kInsulatorRoomPt = 16;
// A coil shorter than this on the antenna's scale is drawn this wide, so that
// it stays visible.
inline constexpr double kLeastCoilWidthPt = 8;

// Where the antenna drawing puts the feed point, the coils' centres and the
// tips across a strip of the page: one scale for the whole wire, so that B
// and A keep their proportion.
struct AntennaDrawing {
    double pointsPerFoot = 0;
    double feedX = 0;
    double coilX[2] = {0, 0}; // left and right coil centres
    double tipX[2] = {0, 0};  // left and right tips
    double coilWidthPt = 0;
};

// The antenna of total length A with its coils' centres at B (or half a coil
// out, where B is less) and each coil coilLengthIn long, tip to tip across
// [left, left + width].
AntennaDrawing antennaDrawing(double totalLengthFt, double centreToCoilFt, double coilLengthIn,
                              double left, double width);

// The level wire with the feed point, the coils and the insulators, A above
// it, B and the pieces to cut below it.
void paintAntennaDrawing(QPainter& painter, const QFont& font, QRectF area,
                         const AntennaDrawing& drawing, const DesignInputs& inputs,
                         const std::optional<CutList>& cut);

// The antenna as hung, seen from the side to one scale: the ground, the
// feed point at its height, the legs level or sloping down to the tips at
// theirs, the coils on them, the heights dimensioned and, for an inverted V,
// the angle between the legs. Needs the model's height.
void paintHangDrawing(QPainter& painter, const QFont& font, QRectF area, const DesignInputs& inputs,
                      const ModelOptions& model, const std::optional<double>& apexAngleDeg);

// One coil on its former from the side, its length and diameter dimensioned,
// with how to wind it beside.
void paintCoilDrawing(QPainter& painter, const QFont& font, QRectF area, const WoundCoil& coil,
                      const CoilBuild& build, Units units);

} // namespace tarvix
