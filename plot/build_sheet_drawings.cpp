// The build sheet's drawings, in points. Dimension lines are drawn as a
// draughtsman would: thin extension lines from the part, a line with an arrow
// at each end, its length written above it.
#include "plot/build_sheet_drawings.h"

#include "calc/ground.h"
#include "calc/number_text.h"
#include "calc/units.h"
#include "plot/plot_layout.h"
#include "report/simulation_phrases.h"
#include "report/simulation_report.h"

#include <QFontMetricsF>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace tarvix {

namespace {

constexpr double kArrowPt = 4;
const QColor kInkColour(30, 30, 30);
const QColor kDimensionColour(0, 90, 181);
const QColor kCoilFill(245, 215, 170);
const QColor kFormerFill(225, 225, 225);
// The coil drawing keeps this much of its width for the words beside it.
constexpr double kCoilPictureShare = 0.5;
// More turns than this are drawn as this many, evenly over the coil's length.
constexpr int kMostTurnsDrawn = 60;

void arrowHead(QPainter& painter, QPointF tip, QPointF towards) {
    const QPointF along = towards - tip;
    const double length = std::hypot(along.x(), along.y());
    if (length <= 0) {
        return;
    }
    const QPointF unit = along / length;
    const QPointF normal(-unit.y(), unit.x());
    QPainterPath head;
    head.moveTo(tip);
    head.lineTo(tip + unit * kArrowPt + normal * kArrowPt * 0.4);
    head.lineTo(tip + unit * kArrowPt - normal * kArrowPt * 0.4);
    head.closeSubpath();
    painter.fillPath(head, painter.pen().color());
}

// A horizontal dimension from x1 to x2 at y, its extension lines from fromY,
// its label centred above it (below it when the extension lines come from
// above and the label is wider than the span) but kept within bounds.
void horizontalDimension(QPainter& painter, double x1, double x2, double y, double fromY,
                         const std::string& label, QRectF bounds) {
    painter.save();
    painter.setPen(QPen(kDimensionColour, 0.4));
    const double beyond = y > fromY ? 3 : -3;
    painter.drawLine(QPointF(x1, fromY), QPointF(x1, y + beyond));
    painter.drawLine(QPointF(x2, fromY), QPointF(x2, y + beyond));
    painter.setPen(QPen(kDimensionColour, 0.6));
    painter.drawLine(QPointF(x1, y), QPointF(x2, y));
    arrowHead(painter, QPointF(x1, y), QPointF(x2, y));
    arrowHead(painter, QPointF(x2, y), QPointF(x1, y));
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double width = metrics.horizontalAdvance(plotText(label));
    const double left = std::clamp((x1 + x2 - width) / 2, bounds.left(), bounds.right() - width);
    const bool below = fromY < y && width > std::fabs(x2 - x1);
    painter.drawText(QPointF(left, below ? y + 3 + metrics.ascent() : y - metrics.descent() - 1),
                     plotText(label));
    painter.restore();
}

// A vertical dimension from y1 to y2 at x, its extension lines from fromX,
// its label to the right of it.
void verticalDimension(QPainter& painter, double y1, double y2, double x, double fromX,
                       const std::string& label) {
    painter.save();
    painter.setPen(QPen(kDimensionColour, 0.4));
    painter.drawLine(QPointF(fromX, y1), QPointF(x + 3, y1));
    painter.drawLine(QPointF(fromX, y2), QPointF(x + 3, y2));
    painter.setPen(QPen(kDimensionColour, 0.6));
    painter.drawLine(QPointF(x, y1), QPointF(x, y2));
    arrowHead(painter, QPointF(x, y1), QPointF(x, y2));
    arrowHead(painter, QPointF(x, y2), QPointF(x, y1));
    const QFontMetricsF metrics(painter.font(), painter.device());
    painter.drawText(QPointF(x + 5, (y1 + y2) / 2 + metrics.ascent() / 2 - 1), plotText(label));
    painter.restore();
}

std::string antennaDistance(double feet, Units units) {
    return numberText(antennaUnitFromFeet(feet, units)) + " " + antennaUnitName(units);
}

} // namespace

AntennaDrawing antennaDrawing(double totalLengthFt, double centreToCoilFt, double coilLengthIn,
                              double left, double width) {
    AntennaDrawing drawing;
    drawing.pointsPerFoot = width / totalLengthFt;
    drawing.feedX = left + width / 2;
    drawing.tipX[0] = left;
    drawing.tipX[1] = left + width;
    // As in the cut list, a coil closer in than half its length starts at the
    // feed point.
    const double coilFt = std::max(std::fabs(centreToCoilFt), coilLengthIn / kInchesPerFoot / 2);
    const double coilPt = coilFt * drawing.pointsPerFoot;
    drawing.coilX[0] = drawing.feedX - coilPt;
    drawing.coilX[1] = drawing.feedX + coilPt;
    drawing.coilWidthPt =
        std::max(coilLengthIn / kInchesPerFoot * drawing.pointsPerFoot, kLeastCoilWidthPt);
    return drawing;
}

void paintAntennaDrawing(QPainter& painter, const QFont& font, QRectF area, const AntennaDrawing& d,
                         const DesignInputs& inputs, const std::optional<CutList>& cut) {
    const Units units = inputs.units;
    painter.save();
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    const double dimensionA = area.top() + metrics.height() + 4;
    const double wireY = area.top() + 44;
    const double firstRow = wireY + 26;
    const double secondRow = firstRow + metrics.height() + 8;

    // The wire, its supports beyond the insulators, the insulators.
    painter.setPen(QPen(kInkColour, 1.2));
    painter.drawLine(QPointF(d.tipX[0], wireY), QPointF(d.tipX[1], wireY));
    painter.setPen(QPen(kInkColour, 0.5, Qt::DashLine));
    painter.drawLine(QPointF(area.left(), wireY), QPointF(d.tipX[0] - 10, wireY));
    painter.drawLine(QPointF(d.tipX[1] + 10, wireY), QPointF(area.right(), wireY));
    painter.setPen(QPen(kInkColour, 0.8));
    for (const double tip : d.tipX) {
        const double outward = tip < d.feedX ? -10 : 0;
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(QRectF(tip + outward, wireY - 3, 10, 6), 3, 3);
    }
    // The coils.
    painter.setBrush(kCoilFill);
    for (const double x : d.coilX) {
        painter.drawRect(QRectF(x - d.coilWidthPt / 2, wireY - 5, d.coilWidthPt, 10));
    }
    // The feed point: a gap in the wire with a terminal each side.
    painter.fillRect(QRectF(d.feedX - 3, wireY - 2, 6, 4), Qt::white);
    painter.setBrush(kInkColour);
    painter.drawEllipse(QPointF(d.feedX - 3, wireY), 1.6, 1.6);
    painter.drawEllipse(QPointF(d.feedX + 3, wireY), 1.6, 1.6);
    painter.setBrush(Qt::NoBrush);
    const QString feed = QStringLiteral("feed point");
    painter.drawText(QPointF(d.feedX - metrics.horizontalAdvance(feed) / 2, wireY - 9), feed);
    // Each coil is named where its name clears the feed point's and the tips.
    const QString coilName = QStringLiteral("coil");
    const double nameWidth = metrics.horizontalAdvance(coilName);
    for (const double x : d.coilX) {
        const double clearance = (metrics.horizontalAdvance(feed) + nameWidth) / 2 + 6;
        if (std::fabs(x - d.feedX) > clearance && x - nameWidth / 2 > d.tipX[0] &&
            x + nameWidth / 2 < d.tipX[1]) {
            painter.drawText(QPointF(x - nameWidth / 2, wireY - 9), coilName);
        }
    }
    const QString insulator = QStringLiteral("insulator");
    painter.drawText(QPointF(d.tipX[0] - 10, wireY + 6 + metrics.ascent()), insulator);
    painter.drawText(QPointF(d.tipX[1] + 10 - metrics.horizontalAdvance(insulator),
                             wireY + 6 + metrics.ascent()),
                     insulator);

    horizontalDimension(painter, d.tipX[0], d.tipX[1], dimensionA, wireY - 4,
                        "A = " + antennaDistance(inputs.totalLengthFt, units) + " tip to tip",
                        area);
    horizontalDimension(painter, d.feedX, d.coilX[1], firstRow, wireY + 6,
                        "B = " + antennaDistance(inputs.centreToCoilFt, units) +
                            " to the coil's centre",
                        QRectF(d.feedX, area.top(), area.right() - d.feedX, area.height()));
    if (cut) {
        const QRectF leftHalf(area.left(), area.top(), d.feedX - area.left() - 4, area.height());
        const QRectF rightHalf(d.feedX + 4, area.top(), area.right() - d.feedX - 4, area.height());
        if (cut->feedToCoilFt) {
            horizontalDimension(painter, d.coilX[0] + d.coilWidthPt / 2, d.feedX, firstRow,
                                wireY + 6,
                                "cut " + simulation_phrases::wireLengthText(
                                             *cut->feedToCoilFt * kInchesPerFoot, units),
                                leftHalf);
        }
        const std::string toTip =
            "cut " + simulation_phrases::wireLengthText(cut->coilToTipFt * kInchesPerFoot, units);
        horizontalDimension(painter, d.tipX[0], d.coilX[0] - d.coilWidthPt / 2, secondRow,
                            wireY + 6, toTip, leftHalf);
        horizontalDimension(painter, d.coilX[1] + d.coilWidthPt / 2, d.tipX[1], secondRow,
                            wireY + 6, toTip, rightHalf);
    }
    painter.restore();
}

void paintHangDrawing(QPainter& painter, const QFont& font, QRectF area, const DesignInputs& inputs,
                      const ModelOptions& model, const std::optional<double>& apexAngleDeg) {
    if (!model.heightFt) {
        return;
    }
    const Units units = inputs.units;
    const double heightFt = *model.heightFt;
    const double tipsFt = model.endHeightFt.value_or(heightFt);
    const double legFt = inputs.totalLengthFt / 2;
    const double dropFt = std::clamp(heightFt - tipsFt, 0.0, legFt);
    const double spanFt = std::sqrt(legFt * legFt - dropFt * dropFt);
    painter.save();
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    // One scale across and up; the labels' room kept above and beside.
    const double labelsPt = metrics.height() + 6;
    const double scale = std::min((area.width() * 0.6) / (2 * spanFt),
                                  (area.height() - labelsPt - 4) / std::max(heightFt, 1e-9));
    const double groundY = area.bottom() - 4;
    const double feedX = area.left() + area.width() * 0.4;
    const QPointF feed(feedX, groundY - heightFt * scale);
    const QPointF tips[2] = {QPointF(feedX - spanFt * scale, groundY - tipsFt * scale),
                             QPointF(feedX + spanFt * scale, groundY - tipsFt * scale)};

    painter.setPen(QPen(kInkColour, 0.8));
    painter.drawLine(QPointF(area.left(), groundY), QPointF(area.right(), groundY));
    painter.drawText(QPointF(area.left(), groundY - metrics.descent() - 2),
                     plotText(groundText(model.ground)));
    // The support at the feed point, and the ropes from the tips.
    painter.setPen(QPen(kInkColour, 0.5, Qt::DashLine));
    painter.drawLine(feed, QPointF(feedX, groundY));
    for (const QPointF& tip : tips) {
        painter.drawLine(tip, QPointF(tip.x(), groundY));
    }
    painter.setPen(QPen(kInkColour, 1.2));
    painter.drawLine(tips[0], feed);
    painter.drawLine(feed, tips[1]);
    // The coils, at B along each leg.
    painter.setBrush(kCoilFill);
    painter.setPen(QPen(kInkColour, 0.6));
    const double along = std::clamp(std::fabs(inputs.centreToCoilFt) / legFt, 0.0, 1.0);
    for (const QPointF& tip : tips) {
        painter.drawEllipse(feed + (tip - feed) * along, 2.5, 2.5);
    }
    painter.setBrush(Qt::NoBrush);

    const double dimensionX = tips[1].x() + 10;
    verticalDimension(painter, feed.y(), groundY, dimensionX + 52, feedX,
                      "feed point " + antennaDistance(heightFt, units));
    if (model.endHeightFt) {
        verticalDimension(painter, tips[1].y(), groundY, dimensionX, tips[1].x(),
                          "tips " + antennaDistance(tipsFt, units));
    }
    painter.setPen(kInkColour);
    const std::string apex =
        model.endHeightFt && apexAngleDeg
            ? "inverted V: legs " + fixedText(*apexAngleDeg, 0) + " degrees apart"
            : "level wire";
    const double apexWidth = metrics.horizontalAdvance(plotText(apex));
    painter.drawText(QPointF(feedX - apexWidth / 2, feed.y() - 5), plotText(apex));
    painter.restore();
}

void paintCoilDrawing(QPainter& painter, const QFont& font, QRectF area, const WoundCoil& coil,
                      const CoilBuild& build, Units units) {
    const CoilWinding& w = coil.winding;
    const double lengthIn = w.turns * w.pitchIn;
    const double formerIn = lengthIn + std::max(0.3 * lengthIn, 0.5 * w.formerDiaIn);
    painter.save();
    painter.setFont(font);
    const QFontMetricsF metrics(font, painter.device());
    // Room for the length's label below and the diameter's to the right.
    const double labelRoom = metrics.horizontalAdvance(QStringLiteral("000.0 mm former")) + 12;
    const double pictureWidth = area.width() * kCoilPictureShare - labelRoom - 28;
    const double pictureHeight = area.height() - metrics.height() - 20;
    const double scale = std::min(pictureWidth / formerIn, pictureHeight / w.formerDiaIn);
    const double centreX = area.left() + 14 + pictureWidth / 2;
    const double top = area.top() + 6 + (pictureHeight - w.formerDiaIn * scale) / 2;
    const double bottom = top + w.formerDiaIn * scale;
    const double coilLeft = centreX - lengthIn * scale / 2;
    const double coilRight = centreX + lengthIn * scale / 2;

    painter.setPen(QPen(kInkColour, 0.6));
    painter.setBrush(kFormerFill);
    painter.drawRect(QRectF(centreX - formerIn * scale / 2, top, formerIn * scale, bottom - top));
    painter.setBrush(Qt::NoBrush);
    const int drawn = std::min(static_cast<int>(std::ceil(w.turns)), kMostTurnsDrawn);
    const double drawnPitch = (coilRight - coilLeft) / std::max(drawn, 1);
    const double wire = std::clamp(w.wireDiaIn * scale, 0.3, std::max(0.3, 0.6 * drawnPitch));
    painter.setPen(QPen(QColor(184, 115, 51), wire));
    for (int turn = 0; turn < drawn; ++turn) {
        const double x = coilLeft + turn * drawnPitch;
        painter.drawLine(QPointF(x, bottom), QPointF(x + drawnPitch, top));
    }
    // The leads, out to the terminals.
    painter.drawLine(QPointF(coilLeft, bottom), QPointF(coilLeft - 14, bottom + 6));
    painter.drawLine(QPointF(coilRight, top), QPointF(coilRight + 14, top - 6));

    horizontalDimension(painter, coilLeft, coilRight, bottom + metrics.height() + 8, bottom + 2,
                        simulation_phrases::coilText(lengthIn, units, 2) + " long", area);
    verticalDimension(painter, top, bottom, centreX + formerIn * scale / 2 + 8,
                      centreX + formerIn * scale / 2 + 2,
                      numberText(coilUnitFromInches(build.formerDiaIn, units)) + " " +
                          coilUnitName(units) + " former");

    const double wordsLeft = area.left() + area.width() * kCoilPictureShare;
    std::string words =
        "Wind " + simulation_phrases::turnsText(w.turns) + " turns of " +
        (build.wireName.empty() ? simulation_phrases::coilText(build.wireDiaIn, units, 3) + " wire"
                                : build.wireName) +
        " in one layer, spread evenly to " + simulation_phrases::coilText(lengthIn, units, 2) +
        " (pitch " + simulation_phrases::coilText(w.pitchIn, units, 4) +
        "), and fix both ends so the turns " + "keep their spread. Leave " +
        simulation_phrases::endLengthText(kCoilLeadIn, units) +
        " of wire at each end for the leads to the coil's terminals.";
    if (drawn < w.turns) {
        words += " Drawn with " + std::to_string(drawn) + " of its turns.";
    }
    painter.setPen(kInkColour);
    painter.drawText(QRectF(wordsLeft, area.top() + 4, area.right() - wordsLeft, area.height() - 4),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, plotText(words));
    painter.restore();
}

} // namespace tarvix
