// The coils' current, voltage and heat at a power.
#include "nec/coil_power.h"

#include "calc/coil_heating.h"

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
                      const CoilWinding& winding, double powerW, double dutyPercent) {
    const PortCurrents currents = portCurrents(atF, coilOhm);
    CoilStress stress;
    const double feedResistance = (1.0 / currents.feed).real();
    if (!(feedResistance > 0) || !(powerW > 0)) {
        return stress;
    }
    const double feedArms = std::sqrt(powerW / feedResistance);
    stress.currentArms = feedArms * std::abs(currents.coil / currents.feed);
    stress.voltagePeakV = std::numbers::sqrt2 * stress.currentArms * std::abs(coilOhm);
    stress.turnVoltagePeakV = winding.turns > 1 ? stress.voltagePeakV / winding.turns : 0;
    stress.dissipationW = stress.currentArms * stress.currentArms * coilOhm.real();
    stress.averageW = stress.dissipationW * dutyPercent / 100;
    stress.temperatureRiseC = windingTemperatureRiseC(winding, stress.averageW);
    return stress;
}

} // namespace tarvix
