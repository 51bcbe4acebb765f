// The coils' current, voltage and heat at a power.
#include "nec/coil_power.h"

#include "calc/coil_heating.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tarvix {

PortCurrents portCurrents(const TwoPortPoint& atF, std::complex<double> coilOhm) {
    // Each coil's voltage is -coilOhm I2: I2 = y21 V1 + y22 V2 solved for I2.
    const std::complex<double> coil = atF.y21 / (1.0 + atF.y22 * coilOhm);
    const std::complex<double> feed = atF.y11 - atF.y12 * coilOhm * coil;
    return {feed, coil};
}

CoilStress coilStress(const TwoPortPoint& atF, std::complex<double> coilOhm,
                      const CoilWinding* winding, const PowerOptions& power) {
    const PortCurrents currents = portCurrents(atF, coilOhm);
    CoilStress stress;
    const double feedResistance = (1.0 / currents.feed).real();
    if (!(feedResistance > 0) || !(power.powerW > 0)) {
        return stress;
    }
    const double feedArms = std::sqrt(power.powerW / feedResistance);
    stress.currentArms = feedArms * std::abs(currents.coil / currents.feed);
    stress.voltagePeakV = std::numbers::sqrt2 * stress.currentArms * std::abs(coilOhm);
    stress.dissipationW = stress.currentArms * stress.currentArms * coilOhm.real();
    stress.averageW = stress.dissipationW * power.dutyPercent / 100;
    if (winding != nullptr) {
        stress.turnVoltagePeakV = stress.voltagePeakV / std::max(winding->turns, 1.0);
        stress.temperatureRiseC = windingTemperatureRiseC(*winding, stress.averageW);
    }
    return stress;
}

} // namespace tarvix
