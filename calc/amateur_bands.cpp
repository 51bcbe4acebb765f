// The amateur band a frequency lies in.
#include "calc/amateur_bands.h"

namespace tarvix {

std::optional<BandAtFrequency> amateurBandAt(double freqMHz) {
    for (const AmateurBand& band : kAmateurBands) {
        const bool inRegion1 = freqMHz >= band.region1LowMHz && freqMHz <= band.region1HighMHz;
        const bool inRegion2 = freqMHz >= band.region2LowMHz && freqMHz <= band.region2HighMHz;
        if (!inRegion1 && !inRegion2) {
            continue;
        }
        const double width1 = band.region1HighMHz - band.region1LowMHz;
        const double width2 = band.region2HighMHz - band.region2LowMHz;
        if (inRegion1 && (!inRegion2 || width1 <= width2)) {
            return BandAtFrequency{band.name, band.region1LowMHz, band.region1HighMHz};
        }
        return BandAtFrequency{band.name, band.region2LowMHz, band.region2HighMHz};
    }
    return std::nullopt;
}

} // namespace tarvix
