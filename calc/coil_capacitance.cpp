// Medhurst's self-capacitance table, Knight's correction for the former, and
// the coil as it floats in the antenna.
#include "calc/coil_capacitance.h"

#include "calc/units.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tarvix {

namespace {

// Medhurst's rods: polystyrene.
constexpr double kMedhurstRodPermittivity = 2.5;
constexpr double kPvcPermittivity = 3.0;
constexpr double kPvcWallToDiameter = 0.065;

struct HEntry {
    double lengthToDiameter;
    double h; // pF per cm of mean diameter
};
// Medhurst (1947), as shared/reference/coil-loss-and-capacitance.md gives it.
constexpr std::array<HEntry, 30> kMedhurstH{{
    {0.10, 0.96}, {0.15, 0.79}, {0.20, 0.70}, {0.25, 0.64}, {0.30, 0.60}, {0.35, 0.57},
    {0.40, 0.54}, {0.45, 0.52}, {0.50, 0.50}, {0.60, 0.48}, {0.70, 0.47}, {0.80, 0.46},
    {0.90, 0.46}, {1.0, 0.46},  {1.5, 0.47},  {2.0, 0.50},  {2.5, 0.56},  {3.0, 0.61},
    {3.5, 0.67},  {4.0, 0.72},  {5.0, 0.81},  {6.0, 0.92},  {7.0, 1.01},  {8.0, 1.12},
    {9.0, 1.22},  {10, 1.32},   {15, 1.86},   {20, 2.36},   {30, 3.4},    {50, 5.8},
}};

// Knight's shape factor kc by D/l.
double knightShape(double diameterToLength) {
    return 0.717439 * diameterToLength + 0.933048 * std::pow(diameterToLength, 1.5) +
           0.106 * diameterToLength * diameterToLength;
}

// Knight's C / D, without its constant factor and the pitch angle, for ex = 1,
// its external term counted externalShare times.
double knightPerDiameter(double lengthToDiameter, double insidePermittivity,
                         double externalShare = 1) {
    return lengthToDiameter *
           (externalShare + knightShape(1 / lengthToDiameter) * (1 + insidePermittivity) / 2);
}

double medhurstH(double lengthToDiameter) {
    const HEntry& first = kMedhurstH.front();
    const HEntry& last = kMedhurstH.back();
    if (!(lengthToDiameter > first.lengthToDiameter)) {
        return first.h;
    }
    if (lengthToDiameter >= last.lengthToDiameter) {
        return last.h * knightPerDiameter(lengthToDiameter, kMedhurstRodPermittivity) /
               knightPerDiameter(last.lengthToDiameter, kMedhurstRodPermittivity);
    }
    const auto above =
        std::upper_bound(kMedhurstH.begin(), kMedhurstH.end(), lengthToDiameter,
                         [](double x, const HEntry& entry) { return x < entry.lengthToDiameter; });
    const HEntry& high = *above;
    const HEntry& low = *(above - 1);
    const double fraction =
        (lengthToDiameter - low.lengthToDiameter) / (high.lengthToDiameter - low.lengthToDiameter);
    return low.h + fraction * (high.h - low.h);
}

double lengthToDiameterOf(const CoilWinding& coil) {
    return coil.turns * coil.pitchIn / (coil.formerDiaIn + coil.wireDiaIn);
}

// Knight's ratio to Medhurst's rods for the coil's former, the external term
// counted externalShare times.
double formerRatio(const CoilWinding& coil, double externalShare) {
    // Below Medhurst's shortest coils the table is held, and so is the ratio.
    const double x = std::max(lengthToDiameterOf(coil), kMedhurstH.front().lengthToDiameter);
    return knightPerDiameter(x, formerPermittivity(coil.former), externalShare) /
           knightPerDiameter(x, kMedhurstRodPermittivity);
}

} // namespace

double medhurstCapacitancePF(const CoilWinding& coil) {
    return medhurstH(lengthToDiameterOf(coil)) * (coil.formerDiaIn + coil.wireDiaIn) *
           kCentimetresPerInch;
}

double formerPermittivity(CoilFormer former) {
    switch (former) {
    case CoilFormer::air:
        return 1;
    case CoilFormer::solidRod:
        return kMedhurstRodPermittivity;
    case CoilFormer::pvcPipe:
        break;
    }
    const double bore = 1 - 2 * kPvcWallToDiameter;
    return 1 + (kPvcPermittivity - 1) * (1 - bore * bore);
}

double groundedSelfCapacitancePF(const CoilWinding& coil) {
    return medhurstCapacitancePF(coil) * formerRatio(coil, 1);
}

double selfCapacitancePF(const CoilWinding& coil) {
    return medhurstCapacitancePF(coil) * formerRatio(coil, kFloatingExternalShare);
}

} // namespace tarvix
