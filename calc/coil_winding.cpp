// The winding's geometry and its inductance at low frequency, in closed form.
#include "calc/coil_winding.h"

#include "calc/physical_constants.h"
#include "calc/units.h"

#include <algorithm>
#include <boost/math/special_functions/ellint_1.hpp>
#include <boost/math/special_functions/ellint_2.hpp>
#include <cmath>
#include <numbers>

namespace tarvix {

namespace {

constexpr double kPi = std::numbers::pi;

// ln(g / s) of two coplanar strips of equal width s at centre distance m s, g
// their geometric mean distance (Maxwell 1873): exact below 8, its series beyond,
// where the exact form loses its digits to cancellation.
double stripLogRatio(int m) {
    if (m < 8) {
        const auto xLnX = [](double x) { return x > 0 ? x * x * std::log(x) : 0.0; };
        return 0.5 * (xLnX(m + 1.0) + xLnX(m - 1.0) - 2 * xLnX(m)) - 1.5 - std::log(m);
    }
    double sum = 0;
    const double inverseSquare = 1.0 / (double(m) * m);
    double power = inverseSquare;
    for (int k = 2; k <= 7; ++k, power *= inverseSquare) {
        sum -= power / (k * (2.0 * k - 1) * (2.0 * k - 2));
    }
    return sum;
}

double rosaMutualTermWhole(int turns) {
    double sum = 0;
    for (int m = 1; m < turns; ++m) {
        sum += (turns - m) * stripLogRatio(m);
    }
    return -2.0 / turns * sum;
}

} // namespace

const char* coilFormerName(CoilFormer former) {
    return kCoilFormerNames.at(static_cast<std::size_t>(former));
}

std::optional<CoilFormer> coilFormerNamed(std::string_view name) {
    for (std::size_t i = 0; i < kCoilFormerNames.size(); ++i) {
        if (name == kCoilFormerNames[i]) {
            return static_cast<CoilFormer>(i);
        }
    }
    return std::nullopt;
}

double enamelledDiameterIn(double bareDiaIn) {
    const double bareMm = bareDiaIn * 25.4;
    return bareDiaIn + 0.045 * std::sqrt(std::max(bareMm, 0.0)) / 25.4;
}

double windingWireLengthIn(const CoilWinding& coil) {
    const double turnCircumferenceIn = kPi * (coil.formerDiaIn + coil.wireDiaIn);
    return coil.turns * std::hypot(turnCircumferenceIn, coil.pitchIn);
}

double nagaokaCoefficient(double diameterToLength) {
    const double k2 =
        diameterToLength * diameterToLength / (1 + diameterToLength * diameterToLength);
    const double k = std::sqrt(k2);
    const double kp = 1 / std::sqrt(1 + diameterToLength * diameterToLength);
    const double ellipticK = boost::math::ellint_1(k);
    const double ellipticE = boost::math::ellint_2(k);
    return 4 / (3 * kPi * kp) * (kp * kp / k2 * (ellipticK - ellipticE) + ellipticE - k);
}

double rosaSelfTerm(double pitchToWireDia, bool thinSkin) {
    return (thinSkin ? 1.5 : 1.25) - std::log(2 * pitchToWireDia);
}

double rosaMutualTerm(double turns) {
    if (!(turns > 1)) {
        return 0;
    }
    const double below = std::floor(turns);
    const double fraction = turns - below;
    const double atBelow = rosaMutualTermWhole(int(below));
    if (fraction == 0) {
        return atBelow;
    }
    return atBelow + fraction * (rosaMutualTermWhole(int(below) + 1) - atBelow);
}

double lowFrequencyInductanceUH(const CoilWinding& coil) {
    const double radiusM = 0.5 * (coil.formerDiaIn + coil.wireDiaIn) * kMetresPerInch;
    const double lengthM = coil.turns * coil.pitchIn * kMetresPerInch;
    const double sheetH = kMu0HPerM * kPi * radiusM * radiusM * coil.turns * coil.turns *
                          nagaokaCoefficient(2 * radiusM / lengthM) / lengthM;
    const double roundWireH =
        kMu0HPerM * radiusM * coil.turns *
        (rosaSelfTerm(coil.pitchIn / coil.wireDiaIn, false) + rosaMutualTerm(coil.turns));
    return (sheetH - roundWireH) * 1e6;
}

} // namespace tarvix
