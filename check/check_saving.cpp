// The check window's keeping of a result: the NEC deck, the plot as SVG or
// PNG and the report as text or JSON saved where the user says, the build
// sheet saved or printed, and the report copied to the clipboard. A file not
// saved or a page not printed is said in a message.
#include "check/check_text.h"
#include "check/check_window.h"
#include "check/sheet_printing.h"
#include "nec/nec_deck.h"
#include "plot/build_sheet_painter.h"
#include "plot/simulation_painter.h"
#include "report/file_output.h"
#include "report/simulation_report.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QSettings>

#include <stdexcept>
#include <system_error>

namespace tarvix {

void CheckWindow::writeFile(const QString& title, const QString& name, const QString& filters,
                            const std::function<std::string(const QString& path)>& contents) {
    const QString path = askPath(m_askSavePath, title, name, filters);
    if (path.isEmpty()) {
        return;
    }
    QString failure;
    try {
        replaceFile(path.toStdString(), contents(path));
        setStatus(tr("Saved %1.").arg(path));
        return;
    } catch (const std::system_error& error) {
        failure = qt(error.what());
    } catch (const std::runtime_error& error) {
        failure = qt(error.what());
    }
    setStatus(tr("Not saved: %1").arg(failure));
    m_showMessage(title, tr("%1 was not saved: %2").arg(path, failure));
}

QString CheckWindow::askPath(const SavePathAsker& asker, const QString& title, const QString& name,
                             const QString& filters) {
    const QString folder = m_settings.value(QStringLiteral("files/folder")).toString();
    const QString path =
        asker(title, folder.isEmpty() ? name : QDir(folder).filePath(name), filters);
    if (!path.isEmpty()) {
        m_settings.setValue(QStringLiteral("files/folder"), QFileInfo(path).absolutePath());
    }
    return path;
}

void CheckWindow::saveDeck() {
    if (!m_shown) {
        return;
    }
    writeFile(tr("Save the NEC deck"), QStringLiteral("dipole.nec"), tr("NEC decks (*.nec)"),
              [this](const QString&) {
                  return simulatedDeck(m_shown->design, m_shown->options, m_shown->result);
              });
}

void CheckWindow::savePlot() {
    if (!m_shown) {
        return;
    }
    writeFile(tr("Save the plot"), QStringLiteral("dipole.svg"),
              tr("SVG pictures (*.svg);;PNG pictures (*.png)"), [this](const QString& path) {
                  const bool png = path.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive);
                  const auto picture = simulationPlotPicture(png, m_shown->design.record.freqMHz,
                                                             m_shown->options, m_shown->result);
                  if (!picture) {
                      throw std::runtime_error("the picture could not be drawn");
                  }
                  return picture->toStdString();
              });
}

void CheckWindow::saveReport() {
    if (!m_shown) {
        return;
    }
    writeFile(tr("Save the report"), QStringLiteral("dipole.txt"),
              tr("Text (*.txt);;JSON (*.json)"), [this](const QString& path) {
                  if (path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)) {
                      return reportJsonText(m_shown->design, m_shown->options, &m_shown->result,
                                            m_shown->trim ? &*m_shown->trim : nullptr);
                  }
                  return m_shown->text;
              });
}

void CheckWindow::saveSheet() {
    if (!m_shown || !m_shown->result.build) {
        return;
    }
    writeFile(tr("Save the build sheet"), QStringLiteral("dipole.pdf"),
              tr("PDF documents (*.pdf);;SVG pictures (*.svg)"), [this](const QString& path) {
                  const bool svg = path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
                  const auto document =
                      buildSheetDocument(!svg, m_shown->design, m_shown->options, m_shown->result);
                  if (!document) {
                      throw std::runtime_error("the build sheet could not be drawn");
                  }
                  return document->toStdString();
              });
}

void CheckWindow::printSheet() {
    if (!m_shown || !m_shown->result.build) {
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    prepareSheetPrinter(printer, m_shown->design);
    if (!m_askPrinter(printer)) {
        return;
    }
    if (printBuildSheet(printer, m_shown->design, m_shown->options, m_shown->result)) {
        setStatus(tr("The build sheet was sent to %1.")
                      .arg(printer.outputFileName().isEmpty() ? printer.printerName()
                                                              : printer.outputFileName()));
        return;
    }
    const QString failure = tr("The build sheet could not be printed on %1.")
                                .arg(printer.printerName().isEmpty() ? printer.outputFileName()
                                                                     : printer.printerName());
    setStatus(failure);
    m_showMessage(tr("Print the build sheet"), failure);
}

void CheckWindow::copyReport() {
    if (m_shown) {
        QApplication::clipboard()->setText(qt(m_shown->text));
        setStatus(tr("The report is on the clipboard."));
    }
}

} // namespace tarvix
