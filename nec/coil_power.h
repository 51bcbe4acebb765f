// What each loading coil must carry at a transmitter's power: the current
// through it, the voltage across it, the power it turns to heat and how hot
// that makes it, from the antenna's two-port at F (no engine run of its own).
#pragma once

#include "calc/coil_winding.h"
#include "calc/transmit_modes.h"
#include "nec/two_port.h"

#include <complex>
#include <optional>
#include <string>

namespace tarvix {

// The transmitter: its peak power delivered at the feed point, and the mode
// that keeps a share of it on average.
struct PowerOptions {
    double powerW = kDefaultPowerW;
    std::string mode = std::string(kDefaultTransmitMode); // "" for a duty given alone
    double dutyPercent = transmitMode(kDefaultTransmitMode)->dutyPercent;
};

// Above this rise over kAmbientC a PVC former softens (near 60 C).
inline constexpr double kMostCoilRiseC = 35;

struct CoilStress {
    double currentArms = 0;  // through each coil
    double voltagePeakV = 0; // across it
    double dissipationW = 0; // key down
    double averageW = 0;     // over the mode's duty
    // Of a winding only: between neighbouring turns (the voltage shared
    // evenly), and the rise at the average in still air.
    std::optional<double> turnVoltagePeakV;
    std::optional<double> temperatureRiseC;
};

// power.powerW delivered at the feed point at atF's frequency, each coil
// coilOhm across its terminals (winding: what it is, where known). Current and
// voltage are rms and peak of a steady carrier at that power.
CoilStress coilStress(const TwoPortPoint& atF, std::complex<double> coilOhm,
                      const CoilWinding* winding, const PowerOptions& power);

} // namespace tarvix
