#include "calc/cut_list.h"

#include "calc/units.h"

#include <algorithm>
#include <cmath>

namespace tarvix {

double coilWireToCutIn(const CoilWinding& coil) {
    return windingWireLengthIn(coil) + 2 * kCoilLeadIn;
}

std::optional<CutList> cutList(double totalLengthFt, double centreToCoilFt,
                               const CoilWinding& coil) {
    CutList cut;
    cut.coilLengthIn = coil.turns * coil.pitchIn;
    cut.allowanceIn = 2 * kWireEndAllowanceIn;
    cut.coilWireIn = coilWireToCutIn(coil);
    const double halfCoilFt = cut.coilLengthIn / 2 / kInchesPerFoot;
    // Closer in than half its length, a coil starts at the feed point.
    const double b = std::max(std::fabs(centreToCoilFt), halfCoilFt);
    const double toTipFt = totalLengthFt / 2 - b - halfCoilFt;
    if (!(toTipFt > 0)) {
        return std::nullopt;
    }
    const double allowanceFt = cut.allowanceIn / kInchesPerFoot;
    cut.coilToTipFt = toTipFt + allowanceFt;
    if (b - halfCoilFt > 0) {
        cut.feedToCoilFt = b - halfCoilFt + allowanceFt;
    }
    return cut;
}

} // namespace tarvix
