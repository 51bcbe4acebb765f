// Natural convection and radiation from a coil's winding.
#include "calc/coil_heating.h"

#include "calc/units.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace tarvix {

namespace {

constexpr double kGravity = 9.80665;
constexpr double kStefanBoltzmann = 5.670374e-8;
constexpr double kKelvin = 273.15;

struct AirAt {
    double kelvin;
    double viscosity;   // kinematic, m^2/s
    double diffusivity; // thermal, m^2/s
    double conductivity;
};
// Incropera and DeWitt, Fundamentals of Heat and Mass Transfer, table A.4,
// air at atmospheric pressure.
constexpr std::array<AirAt, 3> kAir{{
    {300, 15.89e-6, 22.5e-6, 26.3e-3},
    {350, 20.92e-6, 29.9e-6, 30.0e-3},
    {400, 26.41e-6, 38.3e-6, 33.8e-3},
}};

AirAt airAt(double kelvin) {
    const double t = std::clamp(kelvin, kAir.front().kelvin, kAir.back().kelvin);
    const auto high = std::upper_bound(kAir.begin() + 1, kAir.end() - 1, t,
                                       [](double x, const AirAt& a) { return x < a.kelvin; });
    const AirAt& hi = *high;
    const AirAt& lo = *(high - 1);
    const double share = (t - lo.kelvin) / (hi.kelvin - lo.kelvin);
    const auto mix = [share](double a, double b) { return a + share * (b - a); };
    return {t, mix(lo.viscosity, hi.viscosity), mix(lo.diffusivity, hi.diffusivity),
            mix(lo.conductivity, hi.conductivity)};
}

// What a cylinder at rise above the ambient sheds per metre of its length.
double shedPerMetre(double diameterM, double rise) {
    const double ambient = kAmbientC + kKelvin;
    const double surface = ambient + rise;
    const AirAt air = airAt((ambient + surface) / 2);
    // An ideal gas expands as 1/T at the film temperature.
    const double rayleigh = kGravity / ((ambient + surface) / 2) * rise * std::pow(diameterM, 3) /
                            (air.viscosity * air.diffusivity);
    const double convection = horizontalCylinderNusselt(rayleigh, air.viscosity / air.diffusivity) *
                              air.conductivity * std::numbers::pi * rise;
    const double radiation = kWindingEmissivity * kStefanBoltzmann * std::numbers::pi * diameterM *
                             (std::pow(surface, 4) - std::pow(ambient, 4));
    return convection + radiation;
}

} // namespace

double horizontalCylinderNusselt(double rayleigh, double prandtl) {
    const double shape = std::pow(1 + std::pow(0.559 / prandtl, 9.0 / 16), 8.0 / 27);
    const double root = 0.60 + 0.387 * std::pow(std::max(rayleigh, 0.0), 1.0 / 6) / shape;
    return root * root;
}

double cylinderTemperatureRiseC(double diameterM, double lengthM, double watts) {
    if (!(diameterM > 0) || !(lengthM > 0) || !(watts > 0)) {
        return 0;
    }
    const double perMetre = watts / lengthM;
    // What is shed grows with the rise: bisect it.
    double low = 0;
    double high = 1;
    while (shedPerMetre(diameterM, high) < perMetre && high < 1e4) {
        high *= 2;
    }
    for (int step = 0; step < 60; ++step) {
        const double mid = (low + high) / 2;
        (shedPerMetre(diameterM, mid) < perMetre ? low : high) = mid;
    }
    return (low + high) / 2;
}

double windingTemperatureRiseC(const CoilWinding& coil, double watts) {
    const double outsideIn = coil.formerDiaIn + 2 * coil.wireDiaIn;
    const double lengthIn = std::max(coil.turns * coil.pitchIn, coil.wireDiaIn);
    return cylinderTemperatureRiseC(outsideIn * kMetresPerInch, lengthIn * kMetresPerInch, watts);
}

} // namespace tarvix
