// Draws the plot of a simulation with QPainter into any paint device: the
// plot module's SVG and PNG and the check window's plot all come from here.
// The curves are the search's model of each antenna (or its directly solved
// sweep); the points nec2c solved are ringed.
#include "plot/simulation_painter.h"

#include "calc/number_text.h"

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
#include <tuple>
#include <utility>
#include <vector>

namespace tarvix {

namespace {

constexpr double kLeft = 90;
constexpr double kRight = 30;
constexpr double kTop = 56;
constexpr double kPanelGap = 64;
constexpr double kBottom = 64;
// SWR on a logarithmic scale from 1 to 10; higher values stay on the top edge.
constexpr double kSwrTop = 10;

const QColor kFormulaColour(214, 96, 0);
const QColor kCorrectedColour(0, 90, 181);
const QColor kGridColour(225, 225, 225);
const QColor kTextColour(30, 30, 30);

// The shortest of up to 15 significant digits, as the reports write numbers.
std::string shortest(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// Tick values 1, 2 or 5 times a power of ten apart, about count of them.
std::vector<double> niceTicks(double low, double high, int count) {
    const double raw = (high - low) / count;
    const double power = std::pow(10, std::floor(std::log10(raw)));
    double step = power;
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        step = factor * power;
        if (step >= raw) {
            break;
        }
    }
    std::vector<double> ticks;
    for (double tick = std::ceil(low / step) * step; tick <= high + step * 1e-9; tick += step) {
        ticks.push_back(std::fabs(tick) < step * 1e-9 ? 0 : tick);
    }
    return ticks;
}

int decimalsFor(double step) {
    return std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
}

// The frequencies the plot spans: both sweeps.
std::pair<double, double> frequencySpan(const SimulationResult& result) {
    const auto& formula = result.formula.sweep;
    const auto& corrected = result.corrected.sweep;
    return {std::min(formula.front().freqMHz, corrected.front().freqMHz),
            std::max(formula.back().freqMHz, corrected.back().freqMHz)};
}

struct Panel {
    QRectF area;
    double fLow, fHigh, yLow, yHigh;
    bool logarithmic = false;

    double x(double f) const { return area.left() + (f - fLow) / (fHigh - fLow) * area.width(); }
    double y(double value) const {
        const double clamped = std::clamp(value, yLow, yHigh);
        const double share = logarithmic ? std::log(clamped / yLow) / std::log(yHigh / yLow)
                                         : (clamped - yLow) / (yHigh - yLow);
        return area.bottom() - share * area.height();
    }
};

void drawFrame(QPainter& p, const Panel& panel, const std::vector<double>& yTicks,
               const std::vector<double>& fTicks, const QString& yLabel, bool frequencyLabels) {
    const QFontMetricsF metrics(p.font());
    const int fDecimals = fTicks.size() > 1 ? decimalsFor(fTicks[1] - fTicks[0]) : 1;
    for (const double f : fTicks) {
        p.setPen(QPen(kGridColour, 1));
        p.drawLine(QPointF(panel.x(f), panel.area.top()), QPointF(panel.x(f), panel.area.bottom()));
        if (frequencyLabels) {
            p.setPen(kTextColour);
            const QString label = text(fixedText(f, fDecimals));
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
        const QString label = text(fixedText(value, decimals));
        p.drawText(QPointF(panel.area.left() - metrics.horizontalAdvance(label) - 6,
                           panel.y(value) + metrics.ascent() / 2 - 1),
                   label);
    }
    p.setPen(QPen(kTextColour, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(panel.area);
    p.save();
    p.translate(kLeft - 62, panel.area.center().y() + metrics.horizontalAdvance(yLabel) / 2);
    p.rotate(-90);
    p.drawText(QPointF(0, 0), yLabel);
    p.restore();
}

void drawCurve(QPainter& p, const Panel& panel, const std::vector<SimulatedPoint>& points,
               double SimulatedPoint::*value, const QColor& colour, Qt::PenStyle style) {
    QPainterPath path;
    bool first = true;
    for (const SimulatedPoint& point : points) {
        const QPointF at(panel.x(point.freqMHz), panel.y(point.*value));
        if (first) {
            path.moveTo(at);
            first = false;
        } else {
            path.lineTo(at);
        }
    }
    p.setPen(QPen(colour, 2.2, style, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.save();
    p.setClipRect(panel.area);
    p.drawPath(path);
    p.restore();
}

// The points nec2c solved, as small rings on the curve they belong to.
void drawSolved(QPainter& p, const Panel& panel, const std::vector<SimulatedPoint>& points,
                double SimulatedPoint::*value, const QColor& colour) {
    p.save();
    p.setClipRect(panel.area);
    p.setPen(QPen(colour, 1.4));
    p.setBrush(Qt::white);
    for (const SimulatedPoint& point : points) {
        p.drawEllipse(QPointF(panel.x(point.freqMHz), panel.y(point.*value)), 3.2, 3.2);
    }
    p.restore();
}

void drawMarker(QPainter& p, const Panel& top, const Panel& bottom, double f, const QColor& colour,
                const QString& label, int row) {
    p.setPen(QPen(colour, 1.4, Qt::DashLine));
    p.drawLine(QPointF(top.x(f), top.area.top()), QPointF(top.x(f), top.area.bottom()));
    p.drawLine(QPointF(bottom.x(f), bottom.area.top()), QPointF(bottom.x(f), bottom.area.bottom()));
    const QFontMetricsF metrics(p.font());
    const double width = metrics.horizontalAdvance(label);
    double x = top.x(f) + 4;
    if (x + width > top.area.right() - 4) {
        x = top.x(f) - 4 - width;
    }
    const double y = top.area.top() + 4 + metrics.ascent() + row * (metrics.height() + 2);
    p.fillRect(QRectF(x - 2, y - metrics.ascent(), width + 4, metrics.height()),
               QColor(255, 255, 255, 230));
    p.setPen(colour);
    p.drawText(QPointF(x, y), label);
}

// The two panels, SWR above reactance, sharing the frequency axis.
struct Panels {
    Panel swr;
    Panel reactance;
    std::vector<double> fTicks;
};

Panels panelsFor(QSizeF size, const SimulationResult& result) {
    const auto [fLow, fHigh] = frequencySpan(result);
    const double panelHeight = (size.height() - kTop - kPanelGap - kBottom) / 2;
    const double panelWidth = size.width() - kLeft - kRight;

    Panel swr{QRectF(kLeft, kTop, panelWidth, panelHeight), fLow, fHigh, 1, kSwrTop, true};
    double xLow = 0;
    double xHigh = 0;
    for (const auto* sweep : {&result.formula.sweep, &result.corrected.sweep}) {
        for (const SimulatedPoint& point : *sweep) {
            xLow = std::min(xLow, point.reactanceOhm);
            xHigh = std::max(xHigh, point.reactanceOhm);
        }
    }
    const std::vector<double> xTicks = niceTicks(xLow, xHigh, 6);
    const double xStep = xTicks.size() > 1 ? xTicks[1] - xTicks[0] : 1;
    Panel reactance{QRectF(kLeft, kTop + panelHeight + kPanelGap, panelWidth, panelHeight), fLow,
                    fHigh, std::floor(xLow / xStep) * xStep, std::ceil(xHigh / xStep) * xStep};
    return {swr, reactance, niceTicks(fLow, fHigh, 8)};
}

// Both panels' grids, scales and names, the frequency's name below, the 2:1
// line and the zero of reactance.
void drawAxes(QPainter& p, const Panels& panels, double z0Ohm, double height) {
    const Panel& swr = panels.swr;
    const Panel& reactance = panels.reactance;
    drawFrame(p, swr, {1, 1.5, 2, 3, 5, 10}, panels.fTicks,
              text("SWR on " + shortest(z0Ohm) + " ohm"), false);
    drawFrame(p, reactance, niceTicks(reactance.yLow, reactance.yHigh, 6), panels.fTicks,
              QStringLiteral("Reactance (ohm)"), true);
    const QFontMetricsF metrics(p.font());
    p.setPen(kTextColour);
    const QString fLabel = QStringLiteral("Frequency (MHz)");
    p.drawText(
        QPointF(kLeft + swr.area.width() / 2 - metrics.horizontalAdvance(fLabel) / 2, height - 18),
        fLabel);
    p.setPen(QPen(QColor(120, 120, 120), 1.2, Qt::DotLine));
    p.drawLine(QPointF(swr.area.left(), swr.y(2)), QPointF(swr.area.right(), swr.y(2)));
    p.drawLine(QPointF(reactance.area.left(), reactance.y(0)),
               QPointF(reactance.area.right(), reactance.y(0)));
}

void drawCurves(QPainter& p, const Panels& panels, const SimulationResult& result) {
    const auto& formula = result.formula.sweep;
    const auto& corrected = result.corrected.sweep;
    drawCurve(p, panels.swr, formula, &SimulatedPoint::swr, kFormulaColour, Qt::DashLine);
    drawCurve(p, panels.swr, corrected, &SimulatedPoint::swr, kCorrectedColour, Qt::SolidLine);
    drawCurve(p, panels.reactance, formula, &SimulatedPoint::reactanceOhm, kFormulaColour,
              Qt::DashLine);
    drawCurve(p, panels.reactance, corrected, &SimulatedPoint::reactanceOhm, kCorrectedColour,
              Qt::SolidLine);
    for (const auto& [antenna, colour] : {std::pair{&result.formula, kFormulaColour},
                                          std::pair{&result.corrected, kCorrectedColour}}) {
        // Where every point of the curve was solved, rings would only crowd it.
        if (antenna->solved.size() < antenna->sweep.size()) {
            drawSolved(p, panels.swr, antenna->solved, &SimulatedPoint::swr, colour);
            drawSolved(p, panels.reactance, antenna->solved, &SimulatedPoint::reactanceOhm, colour);
        }
    }
}

// F and both resonances, each label on a row of its own.
void drawMarkers(QPainter& p, const Panels& panels, double freqMHz,
                 const SimulationResult& result) {
    drawMarker(p, panels.swr, panels.reactance, freqMHz, kTextColour,
               text("F = " + shortest(freqMHz) + " MHz"), 0);
    if (result.formula.resonanceMHz) {
        drawMarker(p, panels.swr, panels.reactance, *result.formula.resonanceMHz, kFormulaColour,
                   text("formula resonance " + fixedText(*result.formula.resonanceMHz, 3) + " MHz"),
                   1);
    }
    if (result.corrected.resonanceMHz) {
        drawMarker(
            p, panels.swr, panels.reactance, *result.corrected.resonanceMHz, kCorrectedColour,
            text("corrected resonance " + fixedText(*result.corrected.resonanceMHz, 3) + " MHz"),
            2);
    }
}

void drawTitleAndLegend(QPainter& p, const QFont& font, double freqMHz,
                        const SimulationResult& result) {
    QFont bold = font;
    bold.setBold(true);
    bold.setPixelSize(15);
    p.setFont(bold);
    p.setPen(kTextColour);
    p.drawText(QPointF(kLeft, 24),
               text("Loaded dipole for " + shortest(freqMHz) + " MHz, simulated in NEC-2"));
    p.setFont(font);
    const QFontMetricsF metrics(p.font());
    const std::string formulaLegend =
        "formula coils " + fixedText(result.formula.coilUH, 3) + " uH";
    const std::string correctedLegend =
        "corrected coils " + fixedText(result.corrected.coilUH, 3) + " uH";
    double x = kLeft;
    for (const auto& [label, colour, style] :
         {std::tuple{formulaLegend, kFormulaColour, Qt::DashLine},
          std::tuple{correctedLegend, kCorrectedColour, Qt::SolidLine}}) {
        p.setPen(QPen(colour, 2.2, style));
        p.drawLine(QPointF(x, 42), QPointF(x + 28, 42));
        p.setPen(kTextColour);
        p.drawText(QPointF(x + 34, 46), text(label));
        x += 34 + metrics.horizontalAdvance(text(label)) + 28;
    }
}

} // namespace

void paintSimulationPlot(QPainter& p, QSizeF size, double freqMHz, const SimulationOptions& options,
                         const SimulationResult& result) {
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(0, 0, size.width(), size.height()), Qt::white);
    QFont font;
    font.setFamilies({"DejaVu Sans", "Liberation Sans", "Sans Serif"});
    font.setPixelSize(13);
    p.setFont(font);

    const Panels panels = panelsFor(size, result);
    drawAxes(p, panels, options.z0Ohm, size.height());
    drawCurves(p, panels, result);
    drawMarkers(p, panels, freqMHz, result);
    drawTitleAndLegend(p, font, freqMHz, result);
}

std::optional<double> plotFrequencyAt(QSizeF size, QPointF at, const SimulationResult& result) {
    if (result.formula.sweep.empty() || result.corrected.sweep.empty()) {
        return std::nullopt;
    }
    const double panelWidth = size.width() - kLeft - kRight;
    if (panelWidth <= 0 || at.x() < kLeft || at.x() > kLeft + panelWidth || at.y() < kTop ||
        at.y() > size.height() - kBottom) {
        return std::nullopt;
    }
    const auto [fLow, fHigh] = frequencySpan(result);
    return fLow + (at.x() - kLeft) / panelWidth * (fHigh - fLow);
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
