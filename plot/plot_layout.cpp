// The plot's layout is computed whole before drawing, so that labels can be
// placed clear of everything drawn, and so that the tests can check it.
#include "plot/plot_layout.h"

#include "calc/number_text.h"

#include <QLineF>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace tarvix {

namespace {

constexpr double kLeft = 90;
constexpr double kRight = 30;
constexpr double kTitleHeight = 34;
constexpr double kPanelGap = 36;
constexpr double kBottom = 64;
// SWR on a logarithmic scale from 1 to 10; higher values stay on the top edge.
constexpr double kSwrTop = 10;
// The gap between a mark's line and its label, and around a ring.
constexpr double kLabelGap = 4;
constexpr double kRingClearance = 4.5;

QString mhz(double freqMHz) {
    return plotText(fixedText(freqMHz, 3) + " MHz");
}

// The legend's rows, flowed across the width under the title; returns the
// bottom of the last row.
double flowLegend(std::vector<LegendEntry>& legend, const QFontMetricsF& metrics, double width) {
    constexpr double kSample = 28;
    constexpr double kSampleGap = 6;
    constexpr double kEntryGap = 18;
    // The legend takes the whole width, not only the panels': on a narrow
    // plot that halves its rows and leaves the panels their height.
    constexpr double kMargin = 12;
    const double rowHeight = metrics.height() + 4;
    double x = kMargin;
    double top = kTitleHeight;
    for (LegendEntry& entry : legend) {
        const double sample = entry.sample == LegendEntry::Sample::None ? 0 : kSample + kSampleGap;
        const double entryWidth = sample + metrics.horizontalAdvance(entry.text);
        if (x > kMargin && x + entryWidth > width - kMargin) {
            x = kMargin;
            top += rowHeight;
        }
        entry.box = QRectF(x, top, entryWidth, metrics.height());
        x += entryWidth + kEntryGap;
    }
    return top + rowHeight;
}

std::vector<LegendEntry> legendFor(const SimulationResult& result, const ReactanceRange& range,
                                   bool rings) {
    using Sample = LegendEntry::Sample;
    std::vector<LegendEntry> legend{
        {Sample::DashedCurve,
         kFormulaColour,
         plotText("formula coils " + fixedText(result.formula.coilUH, 3) + " uH"),
         {}},
        {Sample::SolidCurve,
         kCorrectedColour,
         plotText("corrected coils " + fixedText(result.corrected.coilUH, 3) + " uH"),
         {}},
    };
    if (rings) {
        legend.push_back(
            {Sample::Ring, kCorrectedColour, QStringLiteral("solved by nec2c, between: fit"), {}});
    }
    legend.push_back(
        {Sample::DottedLine, QColor(120, 120, 120), QStringLiteral("SWR 2:1, reactance 0"), {}});
    if (result.swr2Band) {
        legend.push_back(
            {Sample::Band, kBandColour, QStringLiteral("2:1 band of the corrected antenna"), {}});
    }
    if (range.clipped) {
        legend.push_back({Sample::None,
                          kTextColour,
                          QStringLiteral("(reactance beyond the scale runs along its edge)"),
                          {}});
    }
    return legend;
}

QPolygonF curvePoints(const PlotPanel& panel, const std::vector<SimulatedPoint>& points,
                      double SimulatedPoint::*value) {
    QPolygonF curve;
    for (const SimulatedPoint& point : points) {
        curve << QPointF(panel.x(point.freqMHz), panel.y(point.*value));
    }
    return curve;
}

// The rings of the solved points within a panel's range: one on its edge
// would stand for a value that is not there.
QPolygonF ringPoints(const PlotPanel& panel, const std::vector<SimulatedPoint>& points,
                     double SimulatedPoint::*value) {
    QPolygonF rings;
    for (const SimulatedPoint& point : points) {
        if (point.*value >= panel.yLow && point.*value <= panel.yHigh) {
            rings << QPointF(panel.x(point.freqMHz), panel.y(point.*value));
        }
    }
    return rings;
}

std::vector<PlotMark> marksFor(double freqMHz, const SimulationResult& result) {
    using Kind = PlotMark::Kind;
    std::vector<PlotMark> marks{{Kind::DesignFrequency,
                                 freqMHz,
                                 kTextColour,
                                 plotText("F = " + shortestNumber(freqMHz) + " MHz"),
                                 {}}};
    if (result.formula.resonanceMHz) {
        marks.push_back({Kind::Resonance,
                         *result.formula.resonanceMHz,
                         kFormulaColour,
                         QStringLiteral("formula resonance ") + mhz(*result.formula.resonanceMHz),
                         {}});
    }
    if (result.corrected.resonanceMHz) {
        marks.push_back(
            {Kind::Resonance,
             *result.corrected.resonanceMHz,
             kCorrectedColour,
             QStringLiteral("corrected resonance ") + mhz(*result.corrected.resonanceMHz),
             {}});
    }
    if (result.swr2Band) {
        for (const auto& edge : {result.swr2Band->lowMHz, result.swr2Band->highMHz}) {
            if (edge) {
                marks.push_back({Kind::BandEdge,
                                 *edge,
                                 kBandColour,
                                 QStringLiteral("2:1 at ") + mhz(*edge),
                                 {}});
            }
        }
    }
    for (const ParallelResonance& parallel : parallelResonances(result)) {
        marks.push_back({Kind::ParallelResonance,
                         parallel.freqMHz,
                         parallel.corrected ? kCorrectedColour : kFormulaColour,
                         (parallel.corrected ? QStringLiteral("corrected: parallel resonance ")
                                             : QStringLiteral("formula: parallel resonance ")) +
                             mhz(parallel.freqMHz),
                         {}});
    }
    return marks;
}

// What a label's box would cover: each curve or dotted line it crosses and
// each ring counts one, another label a hundred. Other marks' lines may pass
// behind a label: it is drawn on white ground after every line, and marks near
// F stand closer than a label is wide.
struct Obstacles {
    std::vector<QPolygonF> lines;
    std::vector<QPointF> rings;
    std::vector<QRectF> labels;

    int cost(const QRectF& box) const {
        int covered = 0;
        for (const QPolygonF& line : lines) {
            covered += crossesBox(line, box) ? 1 : 0;
        }
        const QRectF ringBox =
            box.adjusted(-kRingClearance, -kRingClearance, kRingClearance, kRingClearance);
        covered +=
            static_cast<int>(std::count_if(rings.begin(), rings.end(), [&](const QPointF& ring) {
                return ringBox.contains(ring);
            }));
        return covered + 100 * static_cast<int>(std::count_if(
                                   labels.begin(), labels.end(), [&](const QRectF& other) {
                                       return other.adjusted(-3, -1, 3, 1).intersects(box);
                                   }));
    }
};

struct Spot {
    QRectF box;
    int cost = std::numeric_limits<int>::max();
};

// The first spot of least cost for a label of the given size beside the line
// at x: nearest the line first, from the top of the SWR panel down and then
// the reactance panel's, right of the line before left.
Spot cheapestSpot(const PlotLayout& layout, const Obstacles& obstacles, double x, QSizeF label,
                  double rowStep) {
    Spot best;
    for (const double away : {0.0, 24.0, 48.0}) {
        for (const PlotPanel* panel : {&layout.swr, &layout.reactance}) {
            const QRectF inside = panel->area.adjusted(2, 2, -2, -2);
            for (double top = inside.top(); top + label.height() <= inside.bottom();
                 top += rowStep) {
                for (const double left :
                     {x + kLabelGap + away, x - kLabelGap - away - label.width()}) {
                    const QRectF box(QPointF(left, top), label);
                    if (!inside.contains(box)) {
                        continue;
                    }
                    const int cost = obstacles.cost(box);
                    if (cost < best.cost) {
                        best = {box, cost};
                    }
                }
            }
        }
        if (best.cost == 0) {
            break;
        }
    }
    return best;
}

// Places each mark's label beside its line, on one line and else, narrower, on
// two (its name over its frequency), where it covers least; where every spot
// covers something, the label still stands on its own white ground.
void placeLabels(PlotLayout& layout, const QFontMetricsF& metrics) {
    Obstacles obstacles;
    obstacles.lines.assign(std::begin(layout.curves), std::end(layout.curves));
    for (const PlotPanel* panel : {&layout.swr, &layout.reactance}) {
        const double level = panel == &layout.swr ? panel->y(2) : panel->y(0);
        obstacles.lines.push_back(
            QPolygonF{QPointF(panel->area.left(), level), QPointF(panel->area.right(), level)});
    }
    for (const QPolygonF& rings : layout.rings) {
        obstacles.rings.insert(obstacles.rings.end(), rings.begin(), rings.end());
    }
    for (PlotMark& mark : layout.marks) {
        if (mark.freqMHz < layout.view.lowMHz || mark.freqMHz > layout.view.highMHz) {
            continue;
        }
        QString twoLines = mark.label;
        const qsizetype split = twoLines.lastIndexOf(QLatin1Char(' '), twoLines.size() - 5);
        if (split > 4) {
            twoLines[split] = QLatin1Char('\n');
        }
        Spot best;
        for (const QString& label : {mark.label, twoLines}) {
            const QStringList rows = label.split(QLatin1Char('\n'));
            double width = 0;
            for (const QString& row : rows) {
                width = std::max(width, metrics.horizontalAdvance(row) + 4);
            }
            const Spot spot =
                cheapestSpot(layout, obstacles, layout.swr.x(mark.freqMHz),
                             QSizeF(width, metrics.height() * static_cast<double>(rows.size())),
                             metrics.height() / 2);
            if (spot.cost < best.cost) {
                best = spot;
                mark.label = label;
            }
            if (best.cost == 0) {
                break;
            }
        }
        mark.box = best.box;
        obstacles.labels.push_back(mark.box);
    }
}

} // namespace

QFont plotFont() {
    QFont font;
    font.setFamilies({"DejaVu Sans", "Liberation Sans", "Sans Serif"});
    font.setPixelSize(13);
    return font;
}

double PlotPanel::x(double f) const {
    return area.left() + (f - fLow) / (fHigh - fLow) * area.width();
}

double PlotPanel::y(double value) const {
    const double clamped = std::clamp(value, yLow, yHigh);
    const double share = logarithmic ? std::log(clamped / yLow) / std::log(yHigh / yLow)
                                     : (clamped - yLow) / (yHigh - yLow);
    return area.bottom() - share * area.height();
}

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

bool crossesBox(const QPolygonF& curve, const QRectF& box) {
    const std::array<QLineF, 4> edges{
        QLineF(box.topLeft(), box.topRight()), QLineF(box.topRight(), box.bottomRight()),
        QLineF(box.bottomRight(), box.bottomLeft()), QLineF(box.bottomLeft(), box.topLeft())};
    for (qsizetype i = 0; i < curve.size(); ++i) {
        if (box.contains(curve[i])) {
            return true;
        }
        if (i == 0) {
            continue;
        }
        const QLineF segment(curve[i - 1], curve[i]);
        for (const QLineF& edge : edges) {
            if (segment.intersects(edge, nullptr) == QLineF::BoundedIntersection) {
                return true;
            }
        }
    }
    return false;
}

PlotLayout plotLayout(QSizeF size, const QFontMetricsF& metrics, double freqMHz,
                      const SimulationResult& result, const std::optional<FrequencyView>& view) {
    PlotLayout layout;
    layout.view = view.value_or(sweepSpan(result));
    layout.reactanceRange = reactanceRange(result, freqMHz);
    layout.band = result.swr2Band;
    const auto solvedApart = [](const SimulatedAntenna& antenna) {
        // Where every point of the curve was solved, rings would only crowd it.
        return antenna.solved.size() < antenna.sweep.size();
    };
    const bool rings = solvedApart(result.formula) || solvedApart(result.corrected);
    layout.legend = legendFor(result, layout.reactanceRange, rings);
    const double top = flowLegend(layout.legend, metrics, size.width()) + 8;

    const double panelHeight = (size.height() - top - kPanelGap - kBottom) / 2;
    const double panelWidth = size.width() - kLeft - kRight;
    const auto [fLow, fHigh] = layout.view;
    layout.swr = {QRectF(kLeft, top, panelWidth, panelHeight), fLow, fHigh, 1, kSwrTop, true};
    layout.reactanceTicks =
        niceTicks(layout.reactanceRange.lowOhm, layout.reactanceRange.highOhm, 6);
    const double step =
        layout.reactanceTicks.size() > 1 ? layout.reactanceTicks[1] - layout.reactanceTicks[0] : 1;
    layout.reactance = {QRectF(kLeft, top + panelHeight + kPanelGap, panelWidth, panelHeight), fLow,
                        fHigh, std::floor(layout.reactanceRange.lowOhm / step) * step,
                        std::ceil(layout.reactanceRange.highOhm / step) * step};
    layout.reactanceTicks = niceTicks(layout.reactance.yLow, layout.reactance.yHigh, 6);
    layout.fTicks = niceTicks(fLow, fHigh, 8);

    const SimulatedAntenna* antennas[2] = {&result.formula, &result.corrected};
    for (int i = 0; i < 2; ++i) {
        layout.curves[i] = curvePoints(layout.swr, antennas[i]->sweep, &SimulatedPoint::swr);
        layout.curves[2 + i] =
            curvePoints(layout.reactance, antennas[i]->sweep, &SimulatedPoint::reactanceOhm);
        if (solvedApart(*antennas[i])) {
            layout.rings[i] =
                ringPoints(layout.swr, antennas[i]->solved, &SimulatedPoint::swr) +
                ringPoints(layout.reactance, antennas[i]->solved, &SimulatedPoint::reactanceOhm);
        }
    }
    layout.marks = marksFor(freqMHz, result);
    placeLabels(layout, metrics);
    return layout;
}

QString plotText(const std::string& words) {
    return QString::fromStdString(words);
}

std::string shortestNumber(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    return buffer;
}

} // namespace tarvix
