// The coil-position sweep: one inductance per centre-to-coil distance B, for a
// fixed frequency, total length and antenna gauge.
#pragma once

#include "calc/design_run.h"

#include <cstddef>
#include <iosfwd>
#include <string_view>
#include <vector>

namespace tarvix {

// Distances in the user's units: feet, or metres in a metric design.
struct SweepRange {
    double from = 0;
    double to = 0;
    double step = 0;
};

inline constexpr std::size_t kMaxSweepRows = 10000;

// "FROM:TO:STEP". A part that is not a number, a step that is not
// above 0, FROM above TO or more than kMaxSweepRows rows is a UsageError.
SweepRange parseSweepRange(std::string_view text);

// The distances of the rows, FROM first, TO last when the steps reach it.
std::vector<double> sweepDistances(const SweepRange& range);

struct SweepRow {
    double distance = 0; // B in the user's units, as the row shows it
    DesignResult design;
};

// One inductance design per distance, each distance converted to feet as if
// it had been typed; a row that faults keeps its fault and the sweep goes on.
// The winding of the inputs is not run.
std::vector<SweepRow> runSweep(const DesignInputs& inputs, const SweepRange& range);

// The warnings of the rows as standard error shows them: those that do not
// depend on B once, the others prefixed with the row's B.
std::vector<std::string> sweepWarnings(const DesignInputs& inputs,
                                       const std::vector<SweepRow>& rows);

// The distance column is headed in the given units.
void writeSweepText(std::ostream& out, const std::vector<SweepRow>& rows, Units units);
void writeSweepCsv(std::ostream& out, const std::vector<SweepRow>& rows, Units units);
void writeSweepJson(std::ostream& out, const std::vector<SweepRow>& rows, Units units);

} // namespace tarvix
