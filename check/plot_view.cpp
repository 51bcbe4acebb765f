// Painting at the widget's size keeps the text at its pixel size at any
// window size and screen scale; the painter's own layout gives the frequency
// under the mouse. Zoom and pan change only the window's view: the pictures
// saved and written by tarvix-design always show the whole sweep.
#include "check/plot_view.h"

#include "plot/simulation_painter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace tarvix {

namespace {

// One notch of the wheel (120 eighths of a degree) narrows the view by this.
constexpr double kZoomPerNotch = 0.8;
// The narrowest view, as a share of the sweep.
constexpr double kNarrowestShare = 0.01;

} // namespace

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
    setMinimumSize(480, 400);
    setAccessibleName(tr("SWR and reactance plot"));
    setAccessibleDescription(tr("The results box holds the same figures as text"));
    setToolTip(tr("Wheel: zoom the frequency axis about the mouse. Drag: pan.\n"
                  "Double-click, Escape or 0: the whole sweep again."));
    // Focus by click only, for the reset keys, outside the window's tab order.
    setFocusPolicy(Qt::ClickFocus);
}

void PlotView::showSimulation(double freqMHz, const SimulationOptions& options,
                              const SimulationResult& result) {
    m_shown = Shown{freqMHz, options, result};
    m_view.reset();
    m_dragFrom.reset();
    update();
}

void PlotView::clear() {
    m_shown.reset();
    m_view.reset();
    m_dragFrom.reset();
    emit readoutChanged(QString());
    update();
}

QString PlotView::readoutAt(QPointF at) const {
    if (!m_shown) {
        return {};
    }
    const auto f = plotFrequencyAt(QSizeF(size()), at, m_shown->freqMHz, m_shown->result, m_view);
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
                        m_shown->result, m_view);
}

std::optional<FrequencyView> PlotView::viewRange() const {
    if (!m_shown) {
        return std::nullopt;
    }
    return m_view.value_or(sweepSpan(m_shown->result));
}

FrequencyView PlotView::fitted(FrequencyView view) const {
    const FrequencyView whole = sweepSpan(m_shown->result);
    const double wholeWidth = whole.highMHz - whole.lowMHz;
    const double width =
        std::clamp(view.highMHz - view.lowMHz, kNarrowestShare * wholeWidth, wholeWidth);
    const double low = std::clamp(view.lowMHz, whole.lowMHz, whole.highMHz - width);
    return {low, low + width};
}

void PlotView::resetView() {
    m_view.reset();
    m_dragFrom.reset();
    update();
}

void PlotView::wheelEvent(QWheelEvent* event) {
    const auto view = viewRange();
    const auto f = m_shown ? plotFrequencyAt(QSizeF(size()), event->position(), m_shown->freqMHz,
                                             m_shown->result, m_view)
                           : std::nullopt;
    if (!view || !f || event->angleDelta().y() == 0) {
        event->ignore();
        return;
    }
    // The frequency under the mouse stays under it.
    const double scale = std::pow(kZoomPerNotch, event->angleDelta().y() / 120.0);
    m_view = fitted({*f - (*f - view->lowMHz) * scale, *f + (view->highMHz - *f) * scale});
    update();
    emit readoutChanged(readoutAt(event->position()));
    event->accept();
}

void PlotView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_shown) {
        m_dragFrom = event->position();
        m_dragView = *viewRange();
    }
    QWidget::mousePressEvent(event);
}

void PlotView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragFrom.reset();
    }
    QWidget::mouseReleaseEvent(event);
}

void PlotView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        resetView();
    }
}

void PlotView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_0) {
        if (m_view) {
            resetView();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}

void PlotView::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragFrom && (event->buttons() & Qt::LeftButton) && m_shown) {
        // The panels' width in frequency, from the same layout the painter uses.
        const auto left = plotFrequencyAt(QSizeF(size()), QPointF(m_dragFrom->x(), height() / 2.0),
                                          m_shown->freqMHz, m_shown->result, m_dragView);
        const auto right =
            plotFrequencyAt(QSizeF(size()), QPointF(event->position().x(), height() / 2.0),
                            m_shown->freqMHz, m_shown->result, m_dragView);
        if (left && right) {
            const double shift = *left - *right;
            m_view = fitted({m_dragView.lowMHz + shift, m_dragView.highMHz + shift});
            update();
        }
    }
    emit readoutChanged(readoutAt(event->position()));
}

void PlotView::leaveEvent(QEvent* /*event*/) {
    emit readoutChanged(QString());
}

} // namespace tarvix
