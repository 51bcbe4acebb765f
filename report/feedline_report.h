// The rig's end of the feed line: the corrected antenna's feed point carried
// through the line at F and over the simulated sweep (no further solve), the
// SWR and 2:1 band the rig sees, and the line's loss. A block of sentences
// after the feed point's, and the "feedline" object of the JSON report.
#pragma once

#include "calc/feedline.h"
#include "calc/units.h"
#include "nec/simulation.h"
#include "report/design_report.h"

#include <complex>
#include <iosfwd>
#include <optional>
#include <string>

namespace tarvix {

struct RigEnd {
    double freqMHz = 0;
    std::complex<double> impedanceOhm; // at F
    double swr = 0;                    // on the rig's Z0 (--z0)
    std::optional<SwrCrossings> swr2Band;
    double dbPer100Ft = 0; // matched, at F
    double matchedLossDb = 0;
    double lossWithSwrDb = 0;
    // The sweep's first and last frequencies, for a band edge beyond them.
    double sweepLowMHz = 0;
    double sweepHighMHz = 0;
};

// The corrected antenna of result seen through line, SWRs on z0Ohm.
RigEnd rigEnd(const FeedLine& line, const SimulationResult& result, double z0Ohm);

// What the builder's meter reads at the rig's end, for the build sheet's
// expectations: "At the rig: SWR 1.22 at 14.2 MHz, 2:1 from 14.0562 MHz to
// 14.3500 MHz."; empty without a line.
std::string rigExpectationText(const SimulationOptions& options, const SimulationResult& result,
                               double freqMHz);

// Nothing without a line.
void writeFeedLineText(std::ostream& out, const SimulationOptions& options,
                       const SimulationResult& result, Units units);

// Null without a line; its length as length_ft or length_m.
Json feedLineJson(const SimulationOptions& options, const SimulationResult& result, Units units);
// What the rig sees at F through the line: its impedance, the SWR on z0, the
// 2:1 band and the line's loss with the antenna's SWR on it; null without a
// line.
Json atRigJson(const SimulationOptions& options, const SimulationResult& result);

} // namespace tarvix
