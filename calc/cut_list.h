// What to cut for a loaded dipole: the four pieces of antenna wire between
// the feed point, the coils and the tips, and the wire of each coil. B is the
// distance from the feed point to a coil's centre, so each coil takes half its
// own length out of the wire on either side of it; every piece is cut longer
// by what its ends need to be fastened.
#pragma once

#include "calc/coil_winding.h"

#include <optional>

namespace tarvix {

// At each end of a piece of antenna wire: the loop through an insulator or
// round a coil's terminal, wrapped back on itself.
inline constexpr double kWireEndAllowanceIn = 3;
// Each lead of a coil, beyond its winding, to reach its terminal.
inline constexpr double kCoilLeadIn = 3;

struct CutList {
    // Each of the two pieces from the feed point to a coil; none where the
    // coils sit at the feed point (B within half a coil's length of it: each
    // coil then starts there).
    std::optional<double> feedToCoilFt;
    double coilToTipFt = 0;  // each of the two from a coil to a tip
    double allowanceIn = 0;  // in each piece above: both its ends
    double coilLengthIn = 0; // each coil's own length along the wire
    double coilWireIn = 0;   // to cut for each coil, its leads included
};

// The wire of a coil wound as given, its two leads included.
double coilWireToCutIn(const CoilWinding& coil);

// The pieces for an antenna of total length A (tip to tip) with the coils'
// centres at B from the feed point; none where a coil would reach past the
// tip.
std::optional<CutList> cutList(double totalLengthFt, double centreToCoilFt,
                               const CoilWinding& coil);

} // namespace tarvix
