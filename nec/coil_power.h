// What each loading coil must carry at a transmitter's power: the current
// through it, the voltage across it, the power it turns to heat and how hot
// that makes it, from the antenna's two-port at F (no engine run of its own).
#pragma once

#include "calc/coil_winding.h"
#include "nec/two_port.h"

#include <complex>

namespace tarvix {

struct CoilStress {
    double currentArms = 0;      // through each coil
    double voltagePeakV = 0;     // across it
    double turnVoltagePeakV = 0; // between neighbouring turns, the voltage shared evenly
    double dissipationW = 0;     // key down
    double averageW = 0;         // over the mode's duty
    double temperatureRiseC = 0; // at the average, in still air
};

// powerW delivered at the feed point at atF's frequency, each coil coilOhm
// across its terminals, the mode keeping dutyPercent of the peak on average.
// Current and voltage are rms and peak of a steady carrier at powerW.
CoilStress coilStress(const TwoPortPoint& atF, std::complex<double> coilOhm,
                      const CoilWinding& winding, double powerW, double dutyPercent);

// The current through each coil and the feed current, for 1 V at the feed
// (any convention of peak or rms, the same for both).
struct PortCurrents {
    std::complex<double> feed;
    std::complex<double> coil;
};
PortCurrents portCurrents(const TwoPortPoint& atF, std::complex<double> coilOhm);

} // namespace tarvix
