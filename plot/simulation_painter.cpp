// Draws the plot of a simulation with QPainter into any paint device: the
// plot module's SVG and PNG and the check window's plot all come from here.
// The curves are the search's model of each antenna (or its directly solved
// sweep); the points nec2c solved are ringed.
#include "plot/simulation_painter.h"

#include "calc/number_text.h"
#include "plot/plot_layout.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainterPath>
#include <QSvgGenerator>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace tarvix {

namespace {

const QColor kGridColour(225, 225, 225);
const QColor kDottedColour(120, 120, 120);
const QColor kBandShade(0, 140, 70, 28);
constexpr double kRingRadius = 3.2;

int decimalsFor(double step) {
    return std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
}

void drawFrame(QPainter& p, const PlotPanel& panel, const std::vector<double>& yTicks,
               const std::vector<double>& fTicks, const QString& yLabel, bool frequencyLabels) {
    const QFontMetricsF metrics(p.font());
    const int fDecimals = fTicks.size() > 1 ? decimalsFor(fTicks[1] - fTicks[0]) : 1;
    for (const double f : fTicks) {
        p.setPen(QPen(kGridColour, 1));
        p.drawLine(QPointF(panel.x(f), panel.area.top()), QPointF(panel.x(f), panel.area.bottom()));
        if (frequencyLabels) {
            p.setPen(kTextColour);
            const QString label = plotText(fixedText(f, fDecimals));
            p.drawText(QPointF(panel.x(f) - metrics.horizontalAdvance(label) / 2,
                               panel.area.bottom() + metrics.height() + 2),
                       label);
        }
    }
    for (const double value : yTicks) {
        p.setPen(QPen(kGridColour, 1));
        p.drawLine(QPointF(panel.area.left(), panel.y(value)),
                   QPointF(panel.area.right(), panel.y(value)));
        p.setPen(kTextColour);
        const int decimals = value == std::floor(value) ? 0 : 1;
        const QString label = plotText(fixedText(value, decimals));
        p.drawText(QPointF(panel.area.left() - metrics.horizontalAdvance(label) - 6,
                           panel.y(value) + metrics.ascent() / 2 - 1),
                   label);
    }
    p.setPen(QPen(kTextColour, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(panel.area);
    // Along the panel's edge, cut to its first word where the panel is too
    // short for the whole ("SWR", "Reactance").
    const QString shown = metrics.horizontalAdvance(yLabel) <= panel.area.height()
                              ? yLabel
                              : yLabel.section(QLatin1Char(' '), 0, 0);
    p.save();
    p.translate(panel.area.left() - 62,
                panel.area.center().y() + metrics.horizontalAdvance(shown) / 2);
    p.rotate(-90);
    p.drawText(QPointF(0, 0), shown);
    p.restore();
}

// The 2:1 band shaded in both panels, under the grid's lines and the curves.
void drawBand(QPainter& p, const PlotLayout& layout) {
    if (!layout.band) {
        return;
    }
    for (const PlotPanel* panel : {&layout.swr, &layout.reactance}) {
        const double low = panel->x(layout.band->lowMHz.value_or(layout.view.lowMHz));
        const double high = panel->x(layout.band->highMHz.value_or(layout.view.highMHz));
        const QRectF shade =
            QRectF(QPointF(low, panel->area.top()), QPointF(high, panel->area.bottom()))
                .intersected(panel->area);
        if (!shade.isEmpty()) {
            p.fillRect(shade, kBandShade);
        }
    }
}

// Both panels' grids, scales and names, the frequency's name below, the 2:1
// line and the zero of reactance.
void drawAxes(QPainter& p, const PlotLayout& layout, double z0Ohm, double height) {
    const PlotPanel& swr = layout.swr;
    const PlotPanel& reactance = layout.reactance;
    drawFrame(p, swr, {1, 1.5, 2, 3, 5, 10}, layout.fTicks,
              plotText("SWR on " + shortestNumber(z0Ohm) + " ohm"), false);
    drawFrame(p, reactance, layout.reactanceTicks, layout.fTicks, QStringLiteral("Reactance (ohm)"),
              true);
    const QFontMetricsF metrics(p.font());
    p.setPen(kTextColour);
    const QString fLabel = QStringLiteral("Frequency (MHz)");
    p.drawText(QPointF(swr.area.center().x() - metrics.horizontalAdvance(fLabel) / 2, height - 18),
               fLabel);
    p.setPen(QPen(kDottedColour, 1.2, Qt::DotLine));
    p.drawLine(QPointF(swr.area.left(), swr.y(2)), QPointF(swr.area.right(), swr.y(2)));
    p.drawLine(QPointF(reactance.area.left(), reactance.y(0)),
               QPointF(reactance.area.right(), reactance.y(0)));
}

void drawCurve(QPainter& p, const PlotPanel& panel, const QPolygonF& points, const QColor& colour,
               Qt::PenStyle style) {
    QPainterPath path;
    path.addPolygon(points);
    p.setPen(QPen(colour, 2.2, style, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.save();
    p.setClipRect(panel.area);
    p.drawPath(path);
    p.restore();
}

void drawCurves(QPainter& p, const PlotLayout& layout) {
    const QColor colours[2] = {kFormulaColour, kCorrectedColour};
    const Qt::PenStyle styles[2] = {Qt::DashLine, Qt::SolidLine};
    for (int i = 0; i < 2; ++i) {
        drawCurve(p, layout.swr, layout.curves[i], colours[i], styles[i]);
    }
    for (int i = 0; i < 2; ++i) {
        drawCurve(p, layout.reactance, layout.curves[2 + i], colours[i], styles[i]);
    }
    // The points nec2c solved, as small rings on the curve they belong to.
    for (int i = 0; i < 2; ++i) {
        p.setPen(QPen(colours[i], 1.4));
        p.setBrush(Qt::white);
        for (const PlotPanel* panel : {&layout.swr, &layout.reactance}) {
            p.save();
            p.setClipRect(panel->area);
            for (const QPointF& ring : layout.rings[i]) {
                if (panel->area.adjusted(-1, -1, 1, 1).contains(ring)) {
                    p.drawEllipse(ring, kRingRadius, kRingRadius);
                }
            }
            p.restore();
        }
    }
}

// Every mark's line first, then the labels on white ground, so that no line
// strikes through a label.
void drawMarks(QPainter& p, const PlotLayout& layout) {
    for (const PlotMark& mark : layout.marks) {
        if (mark.box.isEmpty()) {
            continue;
        }
        const bool edge = mark.kind == PlotMark::Kind::BandEdge;
        p.setPen(QPen(mark.colour, edge ? 1 : 1.4,
                      mark.kind == PlotMark::Kind::ParallelResonance ? Qt::DashDotLine
                      : edge                                         ? Qt::SolidLine
                                                                     : Qt::DashLine));
        for (const PlotPanel* panel : {&layout.swr, &layout.reactance}) {
            const double x = panel->x(mark.freqMHz);
            p.drawLine(QPointF(x, panel->area.top()), QPointF(x, panel->area.bottom()));
        }
    }
    const QFontMetricsF metrics(p.font());
    for (const PlotMark& mark : layout.marks) {
        if (mark.box.isEmpty()) {
            continue;
        }
        p.fillRect(mark.box, QColor(255, 255, 255, 235));
        p.setPen(mark.colour);
        double baseline = mark.box.top() + metrics.ascent();
        for (const QString& line : mark.label.split(QLatin1Char('\n'))) {
            p.drawText(QPointF(mark.box.left() + 2, baseline), line);
            baseline += metrics.height();
        }
    }
}

void drawLegend(QPainter& p, const PlotLayout& layout) {
    using Sample = LegendEntry::Sample;
    const QFontMetricsF metrics(p.font());
    for (const LegendEntry& entry : layout.legend) {
        const double middle = entry.box.center().y();
        const QRectF sample(entry.box.left(), entry.box.top(), 28, entry.box.height());
        switch (entry.sample) {
        case Sample::DashedCurve:
        case Sample::SolidCurve:
            p.setPen(QPen(entry.colour, 2.2,
                          entry.sample == Sample::DashedCurve ? Qt::DashLine : Qt::SolidLine));
            p.drawLine(QPointF(sample.left(), middle), QPointF(sample.right(), middle));
            break;
        case Sample::Ring:
            p.setPen(QPen(kFormulaColour, 1.4));
            p.setBrush(Qt::white);
            p.drawEllipse(QPointF(sample.left() + 7, middle), kRingRadius, kRingRadius);
            p.setPen(QPen(entry.colour, 1.4));
            p.drawEllipse(QPointF(sample.left() + 21, middle), kRingRadius, kRingRadius);
            break;
        case Sample::DottedLine:
            p.setPen(QPen(entry.colour, 1.2, Qt::DotLine));
            p.drawLine(QPointF(sample.left(), middle), QPointF(sample.right(), middle));
            break;
        case Sample::Band:
            p.fillRect(sample, kBandShade);
            p.setPen(QPen(entry.colour, 1));
            p.drawLine(sample.topLeft(), sample.bottomLeft());
            p.drawLine(sample.topRight(), sample.bottomRight());
            break;
        case Sample::None:
            break;
        }
        const double textLeft =
            entry.sample == Sample::None ? entry.box.left() : entry.box.left() + 34;
        p.setPen(kTextColour);
        p.drawText(QPointF(textLeft, entry.box.top() + metrics.ascent()), entry.text);
    }
}

} // namespace

void paintSimulationPlot(QPainter& p, QSizeF size, double freqMHz, const SimulationOptions& options,
                         const SimulationResult& result, const std::optional<FrequencyView>& view) {
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(0, 0, size.width(), size.height()), Qt::white);
    const QFont font = plotFont();
    const PlotLayout layout = plotLayout(size, QFontMetricsF(font), freqMHz, result, view);

    QFont bold = font;
    bold.setBold(true);
    bold.setPixelSize(15);
    p.setFont(bold);
    p.setPen(kTextColour);
    p.drawText(
        QPointF(layout.swr.area.left(), 24),
        plotText("Loaded dipole for " + shortestNumber(freqMHz) + " MHz, simulated in NEC-2"));
    p.setFont(font);
    drawBand(p, layout);
    drawAxes(p, layout, options.z0Ohm, size.height());
    drawCurves(p, layout);
    drawMarks(p, layout);
    drawLegend(p, layout);
}

std::optional<double> plotFrequencyAt(QSizeF size, QPointF at, double freqMHz,
                                      const SimulationResult& result,
                                      const std::optional<FrequencyView>& view) {
    if (result.formula.sweep.empty() || result.corrected.sweep.empty()) {
        return std::nullopt;
    }
    const PlotLayout layout = plotLayout(size, QFontMetricsF(plotFont()), freqMHz, result, view);
    const QRectF& top = layout.swr.area;
    const QRectF& bottom = layout.reactance.area;
    if (top.width() <= 0 || at.x() < top.left() || at.x() > top.right() || at.y() < top.top() ||
        at.y() > bottom.bottom()) {
        return std::nullopt;
    }
    return layout.view.lowMHz +
           (at.x() - top.left()) / top.width() * (layout.view.highMHz - layout.view.lowMHz);
}

std::optional<QByteArray> simulationPlotPicture(bool png, double freqMHz,
                                                const SimulationOptions& options,
                                                const SimulationResult& result) {
    QBuffer device;
    device.open(QIODevice::WriteOnly);
    bool painted = false;
    if (png) {
        QImage image(kPlotWidth, kPlotHeight, QImage::Format_ARGB32_Premultiplied);
        {
            QPainter painter(&image);
            paintSimulationPlot(painter, QSizeF(kPlotWidth, kPlotHeight), freqMHz, options, result);
        }
        painted = image.save(&device, "PNG");
    } else {
        QSvgGenerator svg;
        svg.setOutputDevice(&device);
        svg.setSize(QSize(kPlotWidth, kPlotHeight));
        svg.setViewBox(QRect(0, 0, kPlotWidth, kPlotHeight));
        svg.setTitle(QStringLiteral("Loaded dipole: SWR and reactance against frequency"));
        svg.setDescription(QStringLiteral("Drawn by tarvix-design --simulate"));
        QPainter painter;
        painted = painter.begin(&svg);
        if (painted) {
            paintSimulationPlot(painter, QSizeF(kPlotWidth, kPlotHeight), freqMHz, options, result);
            painted = painter.end();
        }
    }
    if (!painted) {
        return std::nullopt;
    }
    return device.data();
}

} // namespace tarvix
