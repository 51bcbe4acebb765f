// The coils' current, voltage and heat at a power.
#include "nec/coil_power.h"

#include "calc/coil_heating.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tarvix {

CoilStress coilStress(const TwoPortPoint& atF, std::complex<double> coilOhm,
                      const CoilWinding* winding, const PowerOptions& power) {
    // For 1 V at the feed: each coil's voltage is -coilOhm I2, so I2 = y21 V1
    // + y22 V2 gives the coil's current; the feed's is 1 / its impedance.
    const std::complex<double> coilPerVolt = atF.y21 / (1.0 + atF.y22 * coilOhm);
    const std::complex<double> feedOhm = loadedImpedance(atF, coilOhm);
    CoilStress stress;
    if (!(feedOhm.real() > 0) || !(power.powerW > 0)) {
        return stress;
    }
    const double feedArms = std::sqrt(power.powerW / feedOhm.real());
    stress.currentArms = feedArms * std::abs(coilPerVolt * feedOhm);
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
