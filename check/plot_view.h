// The simulation's plot in the check window: the shared painter draws it at
// the widget's size, and the point under the mouse is read out below it. The
// wheel zooms the frequency axis about the mouse, a drag pans it, and a
// double click, Escape or 0 shows the whole sweep again.
#pragma once

#include "nec/simulation.h"
#include "plot/plot_scale.h"

#include <QWidget>

#include <optional>

namespace tarvix {

// The corrected antenna's feed point at a frequency of its sweep, between its
// points in a straight line; none outside the sweep.
std::optional<SimulatedPoint> sweepPointAt(const SimulatedAntenna& antenna, double freqMHz,
                                           double z0Ohm);

class PlotView : public QWidget {
    Q_OBJECT

public:
    explicit PlotView(QWidget* parent = nullptr);

    // Shows a plot, or none.
    void showSimulation(double freqMHz, const SimulationOptions& options,
                        const SimulationResult& result);
    void clear();

    // What the readout shows at a point of the widget: "7.0812 MHz: SWR 1.42,
    // 48.3 -j12.0 ohm", or empty outside the panels.
    QString readoutAt(QPointF at) const;

    // The frequencies shown across, MHz: the whole sweep until zoomed or
    // panned; none without a plot.
    std::optional<FrequencyView> viewRange() const;

signals:
    void readoutChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Shown {
        double freqMHz = 0;
        SimulationOptions options;
        SimulationResult result;
    };
    // Keeps a view within the sweep and no narrower than a small share of it.
    FrequencyView fitted(FrequencyView view) const;
    void resetView();

    std::optional<Shown> m_shown;
    std::optional<FrequencyView> m_view; // none: the whole sweep
    std::optional<QPointF> m_dragFrom;
    FrequencyView m_dragView;
};

} // namespace tarvix
