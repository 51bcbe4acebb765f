// Painting at the widget's size keeps the text at its pixel size at any
// window size and screen scale; the painter's own layout gives the frequency
// under the mouse.
#include "check/plot_view.h"

#include "plot/simulation_painter.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tarvix {

std::optional<SimulatedPoint> sweepPointAt(const SimulatedAntenna& antenna, double freqMHz,
                                           double z0Ohm) {
    const auto& sweep = antenna.sweep;
    if (sweep.empty() || freqMHz < sweep.front().freqMHz || freqMHz > sweep.back().freqMHz) {
        return std::nullopt;
    }
    const auto above =
        std::lower_bound(sweep.begin(), sweep.end(), freqMHz,
                         [](const SimulatedPoint& point, double f) { return point.freqMHz < f; });
    if (above == sweep.begin()) {
        return *above;
    }
    const SimulatedPoint& high = *above;
    const SimulatedPoint& low = *(above - 1);
    const double share = (freqMHz - low.freqMHz) / (high.freqMHz - low.freqMHz);
    SimulatedPoint point;
    point.freqMHz = freqMHz;
    point.resistanceOhm = low.resistanceOhm + share * (high.resistanceOhm - low.resistanceOhm);
    point.reactanceOhm = low.reactanceOhm + share * (high.reactanceOhm - low.reactanceOhm);
    point.swr = standingWaveRatio(point.resistanceOhm, point.reactanceOhm, z0Ohm);
    return point;
}

PlotView::PlotView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(480, 320);
    setAccessibleName(tr("SWR and reactance plot"));
    setAccessibleDescription(tr("The results box holds the same figures as text"));
}

void PlotView::showSimulation(double freqMHz, const SimulationOptions& options,
                              const SimulationResult& result) {
    m_shown = Shown{freqMHz, options, result};
    update();
}

void PlotView::clear() {
    m_shown.reset();
    emit readoutChanged(QString());
    update();
}

QString PlotView::readoutAt(QPointF at) const {
    if (!m_shown) {
        return {};
    }
    const auto f = plotFrequencyAt(QSizeF(size()), at, m_shown->result);
    if (!f) {
        return {};
    }
    const auto point = sweepPointAt(m_shown->result.corrected, *f, m_shown->options.z0Ohm);
    if (!point) {
        return {};
    }
    const QString reactance = QString::number(std::fabs(point->reactanceOhm), 'f', 1);
    return tr("%1 MHz: SWR %2, %3 %4j%5 ohm (corrected antenna)")
        .arg(QString::number(point->freqMHz, 'f', 4))
        .arg(std::isfinite(point->swr) ? QString::number(point->swr, 'f', 2) : tr("infinite"))
        .arg(QString::number(point->resistanceOhm, 'f', 1))
        .arg(point->reactanceOhm < 0 ? QStringLiteral("-") : QStringLiteral("+"))
        .arg(reactance);
}

void PlotView::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (!m_shown) {
        painter.fillRect(rect(), palette().base());
        painter.setPen(palette().text().color());
        painter.drawText(rect(), Qt::AlignCenter, tr("The plot appears after a simulation."));
        return;
    }
    paintSimulationPlot(painter, QSizeF(size()), m_shown->freqMHz, m_shown->options,
                        m_shown->result);
}

void PlotView::mouseMoveEvent(QMouseEvent* event) {
    emit readoutChanged(readoutAt(event->position()));
}

void PlotView::leaveEvent(QEvent* /*event*/) {
    emit readoutChanged(QString());
}

} // namespace tarvix
