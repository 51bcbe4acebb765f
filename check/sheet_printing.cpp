// The build sheet on a printer: the page is laid out in points, as in the
// saved PDF, and the printer is set to count in points too, so that the
// sheet's fonts and lines come out at the sizes of the saved page.
#include "check/sheet_printing.h"

#include "calc/number_text.h"
#include "plot/build_sheet_painter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace tarvix {

namespace {

constexpr int kPointsPerInch = 72;

} // namespace

void prepareSheetPrinter(QPrinter& printer, const DesignResult& design) {
    printer.setPageSize(
        QPageSize(design.inputs.units == Units::Metric ? QPageSize::A4 : QPageSize::Letter));
    printer.setPageOrientation(QPageLayout::Portrait);
    // The job's name is also the file name the dialog offers for printing to
    // a file: no colon in it.
    printer.setDocName(QStringLiteral("Build sheet, loaded dipole for %1 MHz")
                           .arg(QString::fromStdString(numberText(design.inputs.freqMHz))));
    printer.setCreator(QStringLiteral("tarvix-check"));
}

bool printBuildSheet(QPrinter& printer, const DesignResult& design,
                     const SimulationOptions& options, const SimulationResult& result) {
    // The sheet keeps a margin of its own, wider than any printer's edge it
    // cannot print on: it is painted on the whole paper.
    printer.setFullPage(true);
    printer.setResolution(kPointsPerInch);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    const QSizeF page = buildSheetPageSize(design.inputs.units);
    const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
    // Never enlarged: on a larger paper the sheet keeps its sizes, at the
    // top left; on a smaller one it shrinks to fit.
    const double scale =
        std::min({1.0, paper.width() / page.width(), paper.height() / page.height()});
    painter.scale(scale, scale);
    paintBuildSheet(painter, design, options, result);
    return painter.end();
}

} // namespace tarvix
