// The build sheet sent to a printer: the page the saved PDF is painted from,
// laid on the paper the printer holds.
#pragma once

#include "calc/design_run.h"
#include "nec/simulation.h"

class QPrinter;

namespace tarvix {

// Readies a printer for the sheet before its dialog shows: the sheet's own
// paper (A4 for a metric design, Letter otherwise), upright, and a name for
// the job.
void prepareSheetPrinter(QPrinter& printer, const DesignResult& design);

// Paints the one page on the printer, scaled down to fit if the user chose a
// smaller paper; false when the printer could not be opened or the page not
// finished. The result must have a winding to build.
bool printBuildSheet(QPrinter& printer, const DesignResult& design,
                     const SimulationOptions& options, const SimulationResult& result);

} // namespace tarvix
