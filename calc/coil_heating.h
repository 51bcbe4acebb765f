// How hot a loading coil gets in still air: the power it sheds from its
// winding's outer surface by natural convection and radiation, and the
// voltage between its turns.
#pragma once

#include "calc/coil_winding.h"

namespace tarvix {

// Still air around the coil.
inline constexpr double kAmbientC = 25;
// Enamel and PVC radiate nearly as a black body in the infrared: 0.9.
inline constexpr double kWindingEmissivity = 0.9;

// The mean Nusselt number of a horizontal cylinder in free convection, by
// its Rayleigh number on the diameter and the fluid's Prandtl number:
// Churchill and Chu (1975), "Correlating equations for laminar and turbulent
// free convection from a horizontal cylinder", Int. J. Heat Mass Transfer
// 18, 1049-1053, for Ra from 1e-5 to 1e12.
double horizontalCylinderNusselt(double rayleigh, double prandtl);

// The steady rise above kAmbientC of a horizontal cylinder of the diameter
// and length (m) that sheds watts from its side: Churchill and Chu's
// convection with air's properties at the film temperature (Incropera and
// DeWitt, table A.4, 300 to 400 K, linear between) and radiation of
// kWindingEmissivity to surroundings at kAmbientC. The ends are not counted.
double cylinderTemperatureRiseC(double diameterM, double lengthM, double watts);

// The winding's rise: the cylinder over its outside, the former's diameter
// plus two wires, and the winding's length (at least one wire).
double windingTemperatureRiseC(const CoilWinding& coil, double watts);

// The least sparking voltage of air (Paschen's minimum, about 327 V): above
// it between neighbouring turns a discharge can start in the gap beside their
// contact and char the enamel or the former.
inline constexpr double kAirSparkingLeastV = 327;

} // namespace tarvix
