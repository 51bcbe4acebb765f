// Gauge lookups: exact comparison with each even gauge, in ascending order.
#include "calc/wire_gauge.h"

namespace tarvix {

std::optional<double> antennaWireDiameter(double swg) {
    for (const GaugeRow& row : kGaugeTable) {
        if (swg == row.swg) {
            return row.antennaWireDiaIn;
        }
    }
    return std::nullopt;
}

std::optional<double> coilWireDiameter(double swg) {
    for (const GaugeRow& row : kGaugeTable) {
        if (swg == row.swg) {
            return row.coilWireDiaIn;
        }
    }
    return std::nullopt;
}

} // namespace tarvix
