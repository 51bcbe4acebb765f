// The amateur HF bands, 160 m to 10 m, by their edges in IARU Regions 1 and
// 2: the band a design's frequency lies in, which a loaded dipole's 2:1 SWR
// band should cover.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace tarvix {

// One band's edges (MHz). Where the two regions differ (160 m, 80 m, 40 m)
// each region's edges are kept; the others share theirs.
struct AmateurBand {
    std::string_view name; // "40 m"
    double region1LowMHz;
    double region1HighMHz;
    double region2LowMHz;
    double region2HighMHz;
};

// IARU Region 1 HF band plan (effective 16 Oct 2020) and IARU Region 2
// MF/HF band plan (effective 1 Jan 2008), the bands' outer edges; 60 m is the
// WRC-15 secondary allocation, 5351.5-5366.5 kHz, in both.
inline constexpr std::array<AmateurBand, 10> kAmateurBands{{
    {"160 m", 1.810, 2.000, 1.800, 2.000},
    {"80 m", 3.500, 3.800, 3.500, 4.000},
    {"60 m", 5.3515, 5.3665, 5.3515, 5.3665},
    {"40 m", 7.000, 7.200, 7.000, 7.300},
    {"30 m", 10.100, 10.150, 10.100, 10.150},
    {"20 m", 14.000, 14.350, 14.000, 14.350},
    {"17 m", 18.068, 18.168, 18.068, 18.168},
    {"15 m", 21.000, 21.450, 21.000, 21.450},
    {"12 m", 24.890, 24.990, 24.890, 24.990},
    {"10 m", 28.000, 29.700, 28.000, 29.700},
}};

// The band freqMHz lies in (edges included), with the edges of the narrower
// region that holds it: a 2:1 band that covers those serves the region where
// the band is smaller, and the other region's where only it holds F. None
// outside every band.
struct BandAtFrequency {
    std::string_view name;
    double lowMHz;
    double highMHz;
};
std::optional<BandAtFrequency> amateurBandAt(double freqMHz);

} // namespace tarvix
