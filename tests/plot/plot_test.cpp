// The plot on made-up sweeps of a loaded dipole, with and without a parallel
// resonance: the reactance panel keeps to the reactance near F, marks the
// parallel resonance, labels stay off the curves, the picture names every
// mark; and the check window's plot zooms, pans and resets.
#include "check/plot_view.h"
#include "plot/plot_layout.h"
#include "plot/simulation_painter.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

using namespace tarvix;

namespace {

// A made-up antenna: a series resonance near resonanceMHz, of reactance slope
// like a short loaded dipole's, with a parallel resonance at parallelMHz
// (none: 0) whose pole reaches tens of thousands of ohms beside it.
struct Antenna {
    double resonanceMHz;
    double resistanceOhm;
    double parallelMHz;
};

SimulatedAntenna sweepOf(const Antenna& made, double freqMHz) {
    SimulatedAntenna antenna;
    constexpr int kPoints = 161;
    for (int i = 0; i < kPoints; ++i) {
        const double f = freqMHz * (0.8 + 0.4 * i / (kPoints - 1));
        double reactance = 1500 * (f / made.resonanceMHz - made.resonanceMHz / f);
        if (made.parallelMHz > 0) {
            // About half a step off the pole, as a sweep meets it: +-60,000 ohm.
            reactance += 60 * made.parallelMHz / (made.parallelMHz - f);
        }
        antenna.sweep.push_back({f, made.resistanceOhm, reactance,
                                 standingWaveRatio(made.resistanceOhm, reactance, 50)});
    }
    // The solved points: every tenth.
    for (std::size_t i = 0; i < antenna.sweep.size(); i += 10) {
        antenna.solved.push_back(antenna.sweep[i]);
    }
    // The resonance where the reactance rises through zero, nearest F.
    for (std::size_t i = 1; i < antenna.sweep.size(); ++i) {
        const SimulatedPoint& below = antenna.sweep[i - 1];
        const SimulatedPoint& above = antenna.sweep[i];
        if (below.reactanceOhm < 0 && above.reactanceOhm >= 0) {
            const double f = below.freqMHz + below.reactanceOhm /
                                                 (below.reactanceOhm - above.reactanceOhm) *
                                                 (above.freqMHz - below.freqMHz);
            if (!antenna.resonanceMHz ||
                std::fabs(f - freqMHz) < std::fabs(*antenna.resonanceMHz - freqMHz)) {
                antenna.resonanceMHz = f;
            }
        }
    }
    antenna.atF = antenna.sweep[kPoints / 2];
    antenna.coilUH = 20;
    return antenna;
}

// Where the SWR of a sweep crosses 2 either side of its lowest point.
std::optional<SwrBand> bandOf(const SimulatedAntenna& antenna) {
    const auto& sweep = antenna.sweep;
    const auto lowest = std::min_element(sweep.begin(), sweep.end(),
                                         [](auto& a, auto& b) { return a.swr < b.swr; });
    if (lowest->swr > 2) {
        return std::nullopt;
    }
    SwrBand band;
    for (auto at = lowest; at != sweep.begin(); --at) {
        if ((at - 1)->swr > 2) {
            band.lowMHz = at->freqMHz;
            break;
        }
    }
    for (auto at = lowest; at + 1 != sweep.end(); ++at) {
        if ((at + 1)->swr > 2) {
            band.highMHz = at->freqMHz;
            break;
        }
    }
    return band;
}

SimulationResult resultOf(double freqMHz, const Antenna& formula, const Antenna& corrected) {
    SimulationResult result;
    result.formula = sweepOf(formula, freqMHz);
    result.corrected = sweepOf(corrected, freqMHz);
    result.swr2Band = bandOf(result.corrected);
    return result;
}

struct Row {
    const char* name;
    double freqMHz;
    Antenna formula;
    Antenna corrected;
};

const Row kRows[] = {
    {"SeriesResonancesOnly", 7, {7.3, 40, 0}, {7.02, 40, 0}},
    {"ParallelResonance20PercentAboveF", 1.85, {1.9, 35, 0}, {1.86, 35, 1.85 * 1.1812}},
    {"FormulaParallelResonanceBelowF", 3.6, {3.4, 30, 3.6 * 0.8613}, {3.61, 30, 0}},
    {"NoBandNearAParallelResonance", 7, {7.5, 300, 7 * 1.1013}, {7.2, 300, 7 * 1.1013}},
};

// The corrected antenna's reactance within its 2:1 band, or within 5 % of F.
std::pair<double, double> nearF(const SimulationResult& result, double freqMHz) {
    double low = 0;
    double high = 0;
    const double from = result.swr2Band ? *result.swr2Band->lowMHz : 0.95 * freqMHz;
    const double to = result.swr2Band ? *result.swr2Band->highMHz : 1.05 * freqMHz;
    for (const SimulatedPoint& point : result.corrected.sweep) {
        if (point.freqMHz >= from && point.freqMHz <= to && std::fabs(point.reactanceOhm) < 1e4) {
            low = std::min(low, point.reactanceOhm);
            high = std::max(high, point.reactanceOhm);
        }
    }
    return {low, high};
}

void addRows() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < static_cast<int>(std::size(kRows)); ++i) {
        QTest::newRow(kRows[i].name) << i;
    }
}

} // namespace

class PlotTest : public QObject {
    Q_OBJECT

private slots:
    void reactanceKeepsToNearF_data() { addRows(); }
    void reactanceKeepsToNearF();
    void labelsStayOffTheCurves_data() { addRows(); }
    void labelsStayOffTheCurves();
    void pictureNamesEveryMark_data() { addRows(); }
    void pictureNamesEveryMark();
    void zoomPanAndReset_data();
    void zoomPanAndReset();
};

// A parallel resonance's +-60,000 ohm would squash the panel to a line: the
// range stays within ten times the reactance near F, still shows all of
// it and zero, and the parallel resonance is found where it is.
void PlotTest::reactanceKeepsToNearF() {
    QFETCH(int, row);
    const Row& made = kRows[row];
    const SimulationResult result = resultOf(made.freqMHz, made.formula, made.corrected);
    const ReactanceRange range = reactanceRange(result, made.freqMHz);
    const auto [low, high] = nearF(result, made.freqMHz);
    QVERIFY2(range.lowOhm <= low && range.highOhm >= high, "reactance near F cut off");
    QVERIFY(range.lowOhm <= 0 && range.highOhm >= 0);
    QVERIFY2(range.highOhm - range.lowOhm <= 10 * std::max(high - low, 20.0),
             qPrintable(QStringLiteral("%1 to %2 ohm for %3 to %4 near F")
                            .arg(range.lowOhm)
                            .arg(range.highOhm)
                            .arg(low)
                            .arg(high)));

    std::vector<double> expected;
    for (const Antenna* antenna : {&made.formula, &made.corrected}) {
        if (antenna->parallelMHz > 0) {
            expected.push_back(antenna->parallelMHz);
        }
    }
    const auto found = parallelResonances(result);
    QCOMPARE(found.size(), expected.size());
    for (std::size_t i = 0; i < found.size(); ++i) {
        QVERIFY(std::fabs(found[i].freqMHz - expected[i]) < 0.0025 * made.freqMHz);
    }
}

// Each mark's label stands beside its line, clear of every curve, at the
// files' canvas and at a smaller window's.
void PlotTest::labelsStayOffTheCurves() {
    QFETCH(int, row);
    const Row& made = kRows[row];
    const SimulationResult result = resultOf(made.freqMHz, made.formula, made.corrected);
    for (const QSizeF size : {QSizeF(kPlotWidth, kPlotHeight), QSizeF(720, 520)}) {
        const PlotLayout layout = plotLayout(size, QFontMetricsF(plotFont()), made.freqMHz, result);
        for (const PlotMark& mark : layout.marks) {
            QVERIFY2(!mark.box.isEmpty(), qPrintable(mark.label));
            for (const QPolygonF& curve : layout.curves) {
                QVERIFY2(!crossesBox(curve, mark.box), qPrintable(mark.label));
            }
            for (const PlotMark& other : layout.marks) {
                QVERIFY2(&other == &mark || !other.box.intersects(mark.box),
                         qPrintable(mark.label + " / " + other.label));
            }
        }
    }
}

// The SVG holds the band's edges with their frequencies, the parallel
// resonances, and a legend entry for each kind of mark drawn.
void PlotTest::pictureNamesEveryMark() {
    QFETCH(int, row);
    const Row& made = kRows[row];
    const SimulationResult result = resultOf(made.freqMHz, made.formula, made.corrected);
    const auto picture = simulationPlotPicture(false, made.freqMHz, SimulationOptions{}, result);
    QVERIFY(picture.has_value());
    const QString svg = QString::fromUtf8(*picture);
    QStringList expected{QStringLiteral("formula coils 20.000 uH"),
                         QStringLiteral("corrected coils 20.000 uH"),
                         QStringLiteral("solved by nec2c"), QStringLiteral("SWR 2:1, reactance 0"),
                         QStringLiteral(">F = %1 MHz<").arg(made.freqMHz)};
    if (result.swr2Band) {
        expected << QStringLiteral("2:1 band of the corrected antenna")
                 << QStringLiteral("%1 MHz<").arg(*result.swr2Band->lowMHz, 0, 'f', 3)
                 << QStringLiteral("%1 MHz<").arg(*result.swr2Band->highMHz, 0, 'f', 3);
    } else {
        QVERIFY(!svg.contains(QStringLiteral("2:1 at")));
    }
    for (const ParallelResonance& parallel : parallelResonances(result)) {
        expected << QStringLiteral("parallel resonance")
                 << QStringLiteral("%1 MHz<").arg(parallel.freqMHz, 0, 'f', 3);
    }
    if (reactanceRange(result, made.freqMHz).clipped) {
        expected << QStringLiteral("beyond the scale");
    }
    for (const QString& words : expected) {
        QVERIFY2(svg.contains(words), qPrintable(words));
    }
}

void PlotTest::zoomPanAndReset_data() {
    QTest::addColumn<int>("reset"); // 0: double click, else the key
    QTest::newRow("DoubleClick") << 0;
    QTest::newRow("Escape") << static_cast<int>(Qt::Key_Escape);
    QTest::newRow("Zero") << static_cast<int>(Qt::Key_0);
}

// Two notches in keep the frequency under the mouse where it was; a drag to
// the right shows lower frequencies; zooming far out stops at the sweep; the
// reset shows the whole sweep again.
void PlotTest::zoomPanAndReset() {
    QFETCH(int, reset);
    const Row& made = kRows[0];
    PlotView view;
    view.resize(kPlotWidth, kPlotHeight);
    view.showSimulation(made.freqMHz, SimulationOptions{},
                        resultOf(made.freqMHz, made.formula, made.corrected));
    const FrequencyView whole = *view.viewRange();
    const QPointF at(300, 200);
    const double before = *plotFrequencyAt(QSizeF(view.size()), at, made.freqMHz,
                                           resultOf(made.freqMHz, made.formula, made.corrected));

    const auto wheel = [&](int notches) {
        QWheelEvent event(at, view.mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &event);
    };
    const auto mouse = [&](QEvent::Type type, QPointF where, Qt::MouseButtons buttons) {
        QMouseEvent event(type, where, view.mapToGlobal(where),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(&view, &event);
    };
    wheel(2);
    const FrequencyView zoomed = *view.viewRange();
    const double width = whole.highMHz - whole.lowMHz;
    QVERIFY(std::fabs((zoomed.highMHz - zoomed.lowMHz) - 0.64 * width) < 1e-9 * width);
    const double after =
        *plotFrequencyAt(QSizeF(view.size()), at, made.freqMHz,
                         resultOf(made.freqMHz, made.formula, made.corrected), zoomed);
    QVERIFY(std::fabs(after - before) < 1e-9 * width);

    mouse(QEvent::MouseButtonPress, at, Qt::LeftButton);
    mouse(QEvent::MouseMove, at + QPointF(100, 0), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, at + QPointF(100, 0), Qt::NoButton);
    const FrequencyView panned = *view.viewRange();
    QVERIFY(panned.lowMHz < zoomed.lowMHz);
    QVERIFY(std::fabs((panned.highMHz - panned.lowMHz) - (zoomed.highMHz - zoomed.lowMHz)) <
            1e-9 * width);

    wheel(-10);
    const FrequencyView out = *view.viewRange();
    QVERIFY(out.lowMHz >= whole.lowMHz - 1e-12 && out.highMHz <= whole.highMHz + 1e-12);

    wheel(3);
    QVERIFY(view.viewRange()->highMHz - view.viewRange()->lowMHz < 0.9 * width);
    if (reset == 0) {
        mouse(QEvent::MouseButtonDblClick, at, Qt::LeftButton);
    } else {
        QTest::keyClick(&view, static_cast<Qt::Key>(reset));
    }
    QCOMPARE(view.viewRange()->lowMHz, whole.lowMHz);
    QCOMPARE(view.viewRange()->highMHz, whole.highMHz);
}

QTEST_MAIN(PlotTest)
#include "plot_test.moc"
