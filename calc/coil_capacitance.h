// The loading coil's self-capacitance: Medhurst's measured table, corrected for
// what the coil is wound on by Knight's account of the permittivity inside the
// winding.
#pragma once

#include "calc/coil_winding.h"

namespace tarvix {

// Medhurst (1947, Wireless Engineer 24, pp. 35-43 and 80-92), measured on single-layer coils
// wound on solid polystyrene rods: C = H(l/D) x D[cm] pF, D the mean diameter
// (former + wire), l = turns x pitch, H from his table for l/D 0.1 to 50, linear
// between its entries (the worked coil of 84 turns of 0.032 in wire at 0.0337 in
// on 1.6 in, l/D 1.73, gets 2.0 pF). Beyond 50, the table's last entry scaled by
// Knight's length dependence (below), which grows as l like Medhurst's; below 0.1
// (a coil of a few turns, which he did not measure), his entry at 0.1 held. For a
// coil on a rod of relative permittivity 2.5 this is its self-capacitance; for
// any other former an upper bound.
double medhurstCapacitancePF(const CoilWinding& coil);

// The relative permittivity inside the winding that the self-capacitance sees:
// 1 for air, 2.5 for a solid polystyrene rod (Medhurst's coils), and for a PVC
// pipe the mean over its cross-section of PVC (relative permittivity 3, rigid
// PVC at HF) and air. Inside a coil the field that sets this term runs along the
// axis, the same over the whole cross-section, so wall and bore act in parallel
// and add by area. The wall is taken as schedule 40's, 0.065 of the outside
// diameter (ASTM D1785: 2 in pipe, 0.154 in on 2.375 in; 0.053 at 4 in, 0.076 at
// 1.5 in), which fills 24 % of the cross-section: 1 + 2 x 0.243 = 1.49.
double formerPermittivity(CoilFormer former);

// Self-capacitance with the former: Medhurst's table times Knight's ratio for the
// permittivity inside the winding against that of Medhurst's rods. Knight (2010-
// 2013, "The self-resonance and self-capacitance of solenoid coils", sections 4-5)
// fits Medhurst's data and air-cored coils by
//   C = (4 e0 ex / pi) l [1 + kc (1 + ei / ex) / 2] / cos^2 psi,
//   kc = 0.717439 (D/l) + 0.933048 (D/l)^1.5 + 0.106 (D/l)^2,
// ex the permittivity outside (air, 1), ei inside, psi the pitch angle; with
// ei = 2.5 it is within 1 % of Medhurst's table at l/D = 1 and 10. The ratio
// [1 + kc (1 + ei) / 2] / [1 + kc 3.5 / 2] scales the table: equal to it for a
// solid rod, less for a tube or air (0.68 of it in air at l/D = 1, 0.78 on PVC
// pipe; toward 1 for long coils, whose field is mostly outside). The pitch angle
// is the same in both, so it cancels.
double selfCapacitancePF(const CoilWinding& coil);

} // namespace tarvix
