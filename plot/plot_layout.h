// Where everything of the simulation's plot goes on a canvas, before a line is
// drawn: the legend, the two panels and their scales, the curves as points of
// the canvas, and the labels of the vertical marks placed where no curve,
// other mark or label is. The painter draws this; the tests read it.
#pragma once

#include "nec/simulation.h"
#include "plot/plot_scale.h"

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <optional>
#include <string>
#include <vector>

namespace tarvix {

// A text of the report's as Qt draws it.
QString plotText(const std::string& words);
// A number as the plot's titles write it: its shortest form to 15 digits
// ("7", "7.1", "50").
std::string shortestNumber(double value);

inline const QColor kFormulaColour(214, 96, 0);
inline const QColor kCorrectedColour(0, 90, 181);
inline const QColor kBandColour(0, 140, 70);
inline const QColor kTextColour(30, 30, 30);

// The font of every caption but the title.
QFont plotFont();

// One panel: a frequency stretch across, a value up (SWR on a logarithmic
// scale); values beyond it sit on its edge.
struct PlotPanel {
    QRectF area;
    double fLow = 0, fHigh = 1, yLow = 0, yHigh = 1;
    bool logarithmic = false;

    double x(double f) const;
    double y(double value) const;
};

// A vertical mark through both panels, with its label's box.
struct PlotMark {
    enum class Kind { DesignFrequency, Resonance, ParallelResonance, BandEdge };
    Kind kind = Kind::DesignFrequency;
    double freqMHz = 0;
    QColor colour;
    QString label; // on two lines where one found no clear spot
    QRectF box;    // empty when the mark is outside the view
};

// One row of the legend: its sample's kind, its colour, its words and where.
struct LegendEntry {
    enum class Sample { DashedCurve, SolidCurve, Ring, DottedLine, Band, None };
    Sample sample = Sample::None;
    QColor colour;
    QString text;
    QRectF box; // sample and text
};

struct PlotLayout {
    FrequencyView view;
    PlotPanel swr;
    PlotPanel reactance;
    ReactanceRange reactanceRange;
    std::vector<double> fTicks;
    std::vector<double> reactanceTicks;
    std::vector<LegendEntry> legend;
    // Formula SWR, corrected SWR, formula reactance, corrected reactance, in
    // canvas points; the rings of what nec2c solved, formula then corrected.
    QPolygonF curves[4];
    QPolygonF rings[2];
    std::optional<SwrBand> band;
    std::vector<PlotMark> marks;
};

// The layout on a canvas of the given size, for the frequencies of view (the
// whole sweep without one). Both sweeps must have points.
PlotLayout plotLayout(QSizeF size, const QFontMetricsF& metrics, double freqMHz,
                      const SimulationResult& result,
                      const std::optional<FrequencyView>& view = std::nullopt);

// Ticks 1, 2 or 5 times a power of ten apart, about count of them.
std::vector<double> niceTicks(double low, double high, int count);

// Whether a polyline of a curve enters a box.
bool crossesBox(const QPolygonF& curve, const QRectF& box);

} // namespace tarvix
