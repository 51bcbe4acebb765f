// The loading coil's self-capacitance: Medhurst's measured table, corrected for
// what the coil is wound on by Knight's account of the permittivity inside the
// winding, and for a coil whose ends both float, as in the antenna.
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

// Self-capacitance with the former, as Medhurst measured it (one end of the coil
// on the earthed side of his measuring set): his table times Knight's ratio for
// the permittivity inside the winding against that of Medhurst's rods. Knight
// (2010-2013, "The self-resonance and self-capacitance of solenoid coils",
// sections 4-5) fits Medhurst's data and air-cored coils by
//   C = (4 e0 ex / pi) l [1 + kc (1 + ei / ex) / 2] / cos^2 psi,
//   kc = 0.717439 (D/l) + 0.933048 (D/l)^1.5 + 0.106 (D/l)^2,
// ex the permittivity outside (air, 1), ei inside, psi the pitch angle; with
// ei = 2.5 it is within 1 % of Medhurst's table at l/D = 1 and 10. The ratio
// [1 + kc (1 + ei) / 2] / [1 + kc 3.5 / 2] scales the table: equal to it for a
// solid rod, less for a tube or air (0.68 of it in air at l/D = 1, 0.78 on PVC
// pipe; toward 1 for long coils, whose field is mostly outside). The pitch angle
// is the same in both, so it cancels.
double groundedSelfCapacitancePF(const CoilWinding& coil);

// The share of the external term (the 1 in Knight's bracket) that acts across
// a coil whose ends both float. That term is the winding's charge against its
// surroundings, proportional at each point to its potential there. With one
// end earthed the potential runs from 0 to V along the coil and the stored
// energy goes as the mean of (x/l)^2, 1/3; a coil in series in a wire, its
// ends at the wire's potentials on either side and its surroundings at about
// their mean, or a coil alone, runs from -V/2 to V/2 against them: the mean of
// (x/l - 1/2)^2, 1/12, a quarter as much. The kc term is the field between
// parts of the winding, set by the voltage along it alone, the same either way.
inline constexpr double kFloatingExternalShare = 0.25;

// The self-capacitance across the terminals of a coil with neither end
// earthed, as it hangs in the antenna: groundedSelfCapacitancePF with the
// external term a quarter, [1/4 + kc (1 + ei) / 2] / [1 + kc 3.5 / 2] of the
// table (0.49 of it in air at l/D = 1, 0.60 on PVC pipe, 0.82 on a rod, toward
// a quarter for long coils). Against the published: the lumped model on it puts the
// measured 30-turn air coil's self-resonance at 58 and 65 MHz stretched to
// 158.8 and 323.9 mm (measured 57.4 and 67.8; 38 and 37 on the grounded
// figure), and 44.5 MHz close-wound at 62.2 mm, where 37.0 was measured and
// the grounded figure gives 34.8: close-wound, the truth lies between the two.
double selfCapacitancePF(const CoilWinding& coil);

} // namespace tarvix
