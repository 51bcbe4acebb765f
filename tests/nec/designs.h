// Designs for the NEC-2 tests: the calculator's result for a frequency, a
// total length A and a distance B (feet), the antenna wire's gauge and,
// optionally, the window's winding inputs.
#pragma once

#include "calc/design_run.h"

#include <optional>
#include <string>

namespace tarvix::test {

DesignResult designOf(double freqMHz, double totalLengthFt, double centreToCoilFt,
                      const std::string& antennaSwg = "14",
                      const std::optional<WindingInputs>& winding = std::nullopt);

} // namespace tarvix::test
