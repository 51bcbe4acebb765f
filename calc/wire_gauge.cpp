// SWG lookups: exact comparison with each even gauge, in ascending order. AWG
// by its formula.
#include "calc/wire_gauge.h"

#include <cmath>
#include <string>

namespace tarvix {

std::vector<std::string> swgGaugeTexts() {
    std::vector<std::string> texts;
    for (const GaugeRow& row : kGaugeTable) {
        texts.push_back(std::to_string(row.swg));
    }
    return texts;
}

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

std::optional<double> awgWireDiameter(double awg) {
    if (!(awg >= kMinAwg && awg <= kMaxAwg) || awg != std::floor(awg)) {
        return std::nullopt;
    }
    // AWG 36 is 0.005 in and AWG 0000 (-3) is 0.46 in, 92 times as thick,
    // with 39 gauges in geometric steps between them.
    return 0.005 * std::pow(92.0, (36 - awg) / 39);
}

std::string notAwgGaugeText() {
    return "is not a whole gauge from " + std::to_string(kMinAwg) + " to " +
           std::to_string(kMaxAwg);
}

} // namespace tarvix
