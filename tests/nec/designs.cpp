#include "designs.h"

namespace tarvix::test {

DesignResult designOf(double freqMHz, double totalLengthFt, double centreToCoilFt,
                      const std::string& antennaSwg, const std::optional<WindingInputs>& winding) {
    DesignInputs inputs;
    inputs.freqMHz = freqMHz;
    inputs.totalLengthFt = totalLengthFt;
    inputs.centreToCoilFt = centreToCoilFt;
    inputs.antennaSwgText = antennaSwg;
    inputs.winding = winding;
    return runDesign(inputs);
}

} // namespace tarvix::test
