// The check window's run: Simulate starts nec2c on its own thread, the bar
// counts the solves, and the end shows the report and the plot, or why there
// are none.
#include "check/check_text.h"
#include "check/check_window.h"
#include "check/plot_view.h"
#include "report/build_sheet.h"
#include "report/design_report.h"
#include "report/simulation_report.h"
#include "report/trim_report.h"

#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <sstream>

namespace tarvix {

void CheckWindow::simulate() {
    if (m_run.running()) {
        return;
    }
    CheckRequest request = readCheckInputs(texts());
    if (request.stop) {
        refresh();
        return;
    }
    if (m_engine.find('/') == std::string::npos &&
        QStandardPaths::findExecutable(qt(m_engine)).isEmpty()) {
        setStatus(tr("%1, the NEC-2 engine, is not installed: install the Debian package nec2c "
                     "(apt install nec2c).")
                      .arg(qt(m_engine)));
        return;
    }
    storeSettings();
    m_request = request;
    m_ranTexts = texts();
    // The last result stays, greyed if the inputs changed, until a new one
    // comes: a cancelled or failed run leaves it in sight.
    if (!m_shown) {
        m_results->setPlainText(tr("Simulating..."));
    }
    m_progress->setRange(0,
                         m_settings.value(QStringLiteral("run/solves"), kSolvesExpected).toInt());
    m_progress->setValue(0);
    m_simulate->setEnabled(false);
    m_cancel->setEnabled(true);
    m_failedTexts.reset();
    m_status->setProperty("stopShown", false);
    setStatus(tr("Simulating in nec2c..."));
    m_run.start(request);
    m_progressTimer.start();
}

void CheckWindow::cancel() {
    if (m_run.running()) {
        m_run.cancel();
        setStatus(tr("Cancelling..."));
    }
}

void CheckWindow::showProgress() {
    const int solves = m_run.solves();
    if (solves > m_progress->maximum()) {
        m_progress->setMaximum(solves);
    }
    m_progress->setValue(solves);
}

void CheckWindow::runFinished() {
    m_progressTimer.stop();
    m_cancel->setEnabled(false);
    const RunOutcome& outcome = m_run.outcome();
    if (outcome.cancelled) {
        if (!m_shown) {
            m_results->clear();
        }
        setStatus(tr("Cancelled: the engines were stopped and their files removed."));
    } else if (!outcome.simulation) {
        // The design's sentences, where there is no earlier result to keep.
        if (!m_shown) {
            std::ostringstream report;
            if (!outcome.design.fault) {
                writeDesignText(report, outcome.design);
            }
            m_results->setPlainText(qt(report.str()));
        }
        m_failedTexts = m_ranTexts;
        setStatus(tr("No simulation: %1").arg(qt(outcome.error)));
    } else {
        showSimulation(outcome);
    }
    refresh();
    announceStatus();
    emit runEnded();
}

// The sentences tarvix-design prints (the build sheet first), the plot, and the solves the run
// took, which the next run's bar expects.
void CheckWindow::showSimulation(const RunOutcome& outcome) {
    std::ostringstream report;
    writeSimulatedReportText(report, outcome.design, m_request->options, *outcome.simulation,
                             outcome.trim ? &*outcome.trim : nullptr, m_request->readings,
                             "\"" + m_overGround->text().remove(QLatin1Char('&')).toStdString() +
                                 "\"");
    m_shown = Shown{outcome.design, m_request->options, *outcome.simulation,
                    outcome.trim,   report.str(),       m_ranTexts};
    m_shownStale = false;
    m_results->setPalette(palette());
    m_plotFade->setEnabled(false);
    m_results->setPlainText(qt(m_shown->text));
    m_plot->showSimulation(outcome.design.record.freqMHz, m_shown->options, m_shown->result);
    const int solves = outcome.simulation->solves + (outcome.trim ? outcome.trim->solves : 0);
    m_progress->setMaximum(std::max(solves, 1));
    m_progress->setValue(solves);
    m_settings.setValue(QStringLiteral("run/solves"), solves);
    for (QPushButton* button : {m_saveDeck, m_savePlot, m_saveReport, m_copyReport}) {
        button->setEnabled(true);
    }
    m_saveSheet->setEnabled(m_shown->result.build.has_value());
    m_printSheet->setEnabled(m_shown->result.build.has_value());
    if (outcome.trimError.empty()) {
        setStatus(tr("Done in %1 solves.").arg(solves));
    } else {
        setStatus(tr("Done in %1 solves; no trim: %2").arg(solves).arg(qt(outcome.trimError)));
    }
}

} // namespace tarvix
