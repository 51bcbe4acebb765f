// The coil at a frequency and across its terminals, and the search for a winding
// of a wanted inductance.
#include "calc/coil_model.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace tarvix {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kMaxTurns = 10000;

double inductanceAtUH(const CoilWinding& coil, double freqMHz) {
    return coilAtFrequency(coil, freqMHz).inductanceUH;
}

CoilAtFrequency atFrequencyOf(const CoilWinding& coil, double strongSkinUH, double freqMHz) {
    const double omega = 2 * kPi * freqMHz * 1e6;
    const std::complex<double> wireOhm = coilWireImpedanceOhm(coil, freqMHz);
    CoilAtFrequency result;
    result.inductanceUH = strongSkinUH + wireOhm.imag() / omega * 1e6;
    result.resistanceOhm = wireOhm.real();
    result.q = omega * result.inductanceUH * 1e-6 / result.resistanceOhm;
    return result;
}

} // namespace

CoilAtFrequency coilAtFrequency(const CoilWinding& coil, double freqMHz) {
    return atFrequencyOf(coil, strongSkinInductanceUH(coil), freqMHz);
}

std::complex<double> coilImpedanceOhm(const CoilWinding& coil, double freqMHz) {
    return CoilCircuit(coil).impedanceOhm(freqMHz);
}

CoilCircuit::CoilCircuit(const CoilWinding& winding) : m_winding(winding) {
    const StrongSkinInductance strongSkin = strongSkinInductance(winding);
    m_strongSkinInductanceUH = strongSkin.uH;
    m_fieldSolutionConverged = strongSkin.converged;
    m_capacitancePF = selfCapacitancePF(winding);
}

std::optional<std::string> CoilCircuit::warning() const {
    if (m_fieldSolutionConverged) {
        return std::nullopt;
    }
    return kFieldSolutionShortText;
}

CoilAtFrequency CoilCircuit::atFrequency(double freqMHz) const {
    return atFrequencyOf(m_winding, m_strongSkinInductanceUH, freqMHz);
}

std::complex<double> withCapacitanceAcross(std::complex<double> seriesOhm, double pF,
                                           double freqMHz) {
    const std::complex<double> capacitorAdmittance(0, 2 * kPi * freqMHz * 1e6 * pF * 1e-12);
    return seriesOhm / (1.0 + seriesOhm * capacitorAdmittance);
}

std::complex<double> CoilCircuit::impedanceOhm(double freqMHz) const {
    const CoilAtFrequency series = atFrequency(freqMHz);
    return withCapacitanceAcross(
        {series.resistanceOhm, 2 * kPi * freqMHz * series.inductanceUH}, // MHz times uH is ohms
        m_capacitancePF, freqMHz);
}

CoilAtTerminals CoilCircuit::atTerminals(double freqMHz) const {
    const std::complex<double> z = impedanceOhm(freqMHz);
    return {z.imag() / (2 * kPi * freqMHz), z.real(), z.imag()};
}

double selfResonanceMHz(const CoilWinding& coil) {
    const double inductanceH = lowFrequencyInductanceUH(coil) * 1e-6;
    const double capacitanceF = selfCapacitancePF(coil) * 1e-12;
    return 1 / (2 * kPi * std::sqrt(inductanceH * capacitanceF)) * 1e-6;
}

namespace {

struct Reaching {
    int steps;
    double atFUH; // the inductance at F with those steps
};

// The fewest steps (whole turns, or tenths of one) at the coil's pitch whose
// inductance at F reaches the target; std::nullopt past the most turns. The
// low-frequency inductance is cheap and near the one at F, so the fewest steps
// reaching it at low frequency start the search at F.
std::optional<Reaching> fewestStepsReaching(double targetUH, double freqMHz,
                                            const CoilWinding& coil, int perTurn) {
    const auto withSteps = [&](int steps) {
        CoilWinding c = coil;
        c.turns = double(steps) / perTurn;
        return c;
    };
    const int maxSteps = int(kMaxTurns) * perTurn;
    int low = perTurn; // one turn
    int high = perTurn;
    while (lowFrequencyInductanceUH(withSteps(high)) < targetUH) {
        if (high >= maxSteps) {
            return std::nullopt;
        }
        low = high;
        high = std::min(2 * high, maxSteps);
    }
    while (high - low > 1) {
        const int mid = low + (high - low) / 2;
        (lowFrequencyInductanceUH(withSteps(mid)) >= targetUH ? high : low) = mid;
    }
    int steps = high;
    double atF = inductanceAtUH(withSteps(steps), freqMHz);
    // Where the inductance at F exceeds the low-frequency one, walk down as well.
    while (steps > perTurn && atF >= targetUH) {
        const double fewerUH = inductanceAtUH(withSteps(steps - 1), freqMHz);
        if (fewerUH < targetUH) {
            break;
        }
        --steps;
        atF = fewerUH;
    }
    while (atF < targetUH) {
        if (++steps > maxSteps) {
            return std::nullopt;
        }
        atF = inductanceAtUH(withSteps(steps), freqMHz);
    }
    return Reaching{steps, atF};
}

// Spread: the inductance falls as the pitch grows. The pitch widened by half
// again to a bracket, then secant steps in ln(L) against ln(pitch) kept inside
// it, with the bracket's geometric mean where a step would leave it. False
// beside the last guess when the iterations ran out short of the target.
std::pair<CoilWinding, bool> spreadToTarget(double targetUH, double freqMHz, CoilWinding coil,
                                            double atFUH) {
    double nearPitch = coil.pitchIn;
    double nearUH = atFUH;
    double farPitch = nearPitch;
    double farUH = nearUH;
    while (farUH > targetUH) {
        nearPitch = farPitch;
        nearUH = farUH;
        farPitch *= 1.5;
        coil.pitchIn = farPitch;
        farUH = inductanceAtUH(coil, freqMHz);
    }
    if (nearUH == targetUH) {
        coil.pitchIn = nearPitch;
        return {coil, true};
    }
    for (int iteration = 0; iteration < 60; ++iteration) {
        const double slope =
            (std::log(farUH) - std::log(nearUH)) / (std::log(farPitch) - std::log(nearPitch));
        double guess =
            std::exp(std::log(nearPitch) + (std::log(targetUH) - std::log(nearUH)) / slope);
        if (!(guess > nearPitch && guess < farPitch)) {
            guess = std::sqrt(nearPitch * farPitch);
        }
        coil.pitchIn = guess;
        const double guessUH = inductanceAtUH(coil, freqMHz);
        if (std::abs(guessUH / targetUH - 1) < 1e-6) {
            return {coil, true};
        }
        (guessUH > targetUH ? nearPitch : farPitch) = guess;
        (guessUH > targetUH ? nearUH : farUH) = guessUH;
    }
    return {coil, false};
}

} // namespace

std::optional<CoilWinding> windingForInductance(double targetUH, double freqMHz, double formerDiaIn,
                                                double wireDiaIn, std::optional<double> pitchIn) {
    const std::optional<InductanceWinding> found =
        windingOfInductance(targetUH, freqMHz, formerDiaIn, wireDiaIn, pitchIn);
    return found ? std::optional(found->winding) : std::nullopt;
}

std::optional<InductanceWinding> windingOfInductance(double targetUH, double freqMHz,
                                                     double formerDiaIn, double wireDiaIn,
                                                     std::optional<double> pitchIn) {
    const auto positive = [](double v) { return std::isfinite(v) && v > 0; };
    if (!positive(targetUH) || !positive(freqMHz) || !positive(formerDiaIn) ||
        !positive(wireDiaIn)) {
        return std::nullopt;
    }
    const double closePitchIn = enamelledDiameterIn(wireDiaIn);
    if (pitchIn && !(std::isfinite(*pitchIn) && *pitchIn >= closePitchIn)) {
        return std::nullopt;
    }
    CoilWinding coil{0, pitchIn.value_or(closePitchIn), formerDiaIn, wireDiaIn};
    // The turns on a grid: whole turns, or tenths when the pitch is given.
    const int perTurn = pitchIn ? 10 : 1;
    const std::optional<Reaching> reaching = fewestStepsReaching(targetUH, freqMHz, coil, perTurn);
    if (!reaching) {
        return std::nullopt;
    }
    coil.turns = double(reaching->steps) / perTurn;
    if (!pitchIn) {
        const auto [spread, converged] = spreadToTarget(targetUH, freqMHz, coil, reaching->atFUH);
        return InductanceWinding{
            spread, converged ? std::nullopt : std::optional<std::string>(kPitchSearchShortText)};
    }
    // steps reach the target and one step fewer does not: the nearer wins.
    if (reaching->steps > perTurn) {
        CoilWinding fewer = coil;
        fewer.turns = double(reaching->steps - 1) / perTurn;
        if (targetUH - inductanceAtUH(fewer, freqMHz) < reaching->atFUH - targetUH) {
            return InductanceWinding{fewer, std::nullopt};
        }
    }
    return InductanceWinding{coil, std::nullopt};
}

} // namespace tarvix
