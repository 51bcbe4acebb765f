// The coil-position sweep: one inductance per centre-to-coil distance B, for a
// fixed frequency, total length and antenna gauge.
#pragma once

#include "calc/design_run.h"
#include "report/design_report.h"

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace tarvix {

enum class OutputFormat; // text, JSON or CSV: see command_line.h

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

// A distance of the sweep in the user's units: the text its row shows, and
// the value that text reads back as.
struct SweepDistance {
    std::string text;
    double value = 0;
};

// The number of rows of a range parseSweepRange accepted.
std::size_t sweepRowCount(const SweepRange& range);

// The distances of the rows, FROM first, TO last when the steps reach it.
std::vector<SweepDistance> sweepDistances(const SweepRange& range);

struct SweepRow {
    SweepDistance distance;
    DesignResult design; // no warnings: sweepWarnings gives them
};

// One inductance design per distance, each distance converted to feet as if
// it had been typed; a row that faults keeps its fault and the sweep goes on.
// The winding of the inputs is not run. Each row is handed on in order, and
// not kept.
void runSweep(const DesignInputs& inputs, const SweepRange& range,
              const std::function<void(const SweepRow&)>& each);

// The warnings of a sweep: those that do not depend on B once, then each
// row's own, prefixed with its B.
std::vector<std::string> sweepWarnings(const DesignInputs& inputs);
void addRowWarnings(std::vector<std::string>& warnings, const DesignInputs& inputs,
                    const SweepRow& row);

// The table of a sweep as text, CSV or JSON, made in memory row by row and
// written at once. The distance column is headed in the given units.
class SweepReport {
public:
    SweepReport(OutputFormat format, Units units, std::size_t rows);
    void add(const SweepRow& row);
    void write(std::ostream& out) const;

private:
    static constexpr std::size_t kDistanceWidth = 10;
    static constexpr std::size_t kInductanceWidth = 24;
    static constexpr std::size_t kTextRowSize = 48; // a typical row, to size the table once

    // A column of the text table; a text as wide as the column still gets one blank.
    void column(std::string_view text, std::size_t width);

    OutputFormat m_format;
    Units m_units;
    std::string m_table; // text and CSV
    Json m_array;        // JSON
};

} // namespace tarvix
