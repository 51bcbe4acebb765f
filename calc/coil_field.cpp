// The band field solution of a row of rings, and the coil's inductance from it.
#include "calc/coil_field.h"

#include "calc/coil_field_coupling.h"
#include "calc/physical_constants.h"
#include "calc/units.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <utility>

namespace tarvix {

namespace {

using field::Bands;
using field::FarRings;
using field::kModes;
using field::makeBands;
using field::nearBlocks;

constexpr double kPi = std::numbers::pi;

// The band currents and fluxes of rings carrying turnCurrents: the windowed
// system alone, or with the far rings, x = near^-1 (b - far(x)), solved as
// (1 + near^-1 far) x = near^-1 b by GMRES. Mode 0 of the far coupling is the
// rings' currents, known from the start. A start close to the answer, when
// given (one ring fewer, solved before), is widened by doubling its middle ring.
// False beside the solution when GMRES stopped short of its tolerance.
std::pair<std::vector<double>, bool> solveRow(const field::BandedBlockLu& lu, const FarRings* far,
                                              int m, const std::vector<double>& turnCurrents,
                                              const std::vector<double>& previous) {
    const int count = int(turnCurrents.size());
    const std::size_t size = m + 1;
    std::vector<double> rhs(count * size, 0.0);
    for (int k = 0; k < count; ++k) {
        rhs[k * size + m] = turnCurrents[k];
    }
    if (far == nullptr) {
        return {lu.solve(rhs), true};
    }
    std::vector<double> uniform(rhs.size(), 0.0);
    for (int l = 0; l < count; ++l) {
        for (int j = 0; j < m; ++j) {
            uniform[l * size + j] = turnCurrents[l] / m;
        }
    }
    const std::vector<double> currentModeFlux = far->flux(uniform, 0, 0);
    for (std::size_t e = 0; e < rhs.size(); ++e) {
        rhs[e] -= currentModeFlux[e];
    }
    const std::vector<double> start = lu.solve(rhs);
    std::vector<double> solution = start;
    if (previous.size() + size == solution.size()) {
        const std::size_t middle = std::size_t(count / 2) * size;
        std::copy(previous.begin(), previous.begin() + middle, solution.begin());
        std::copy(previous.begin() + (middle - size), previous.end(),
                  solution.begin() + (middle - size) + size);
    }
    const bool converged = field::gmres(
        [&](const std::vector<double>& x) { return lu.solve(far->flux(x, 1, kModes - 1)); }, start,
        solution, 1e-5);
    return {std::move(solution), converged};
}

// The inductance and loss of a solved row, normalised to a unit current in the
// largest ring, as a series coil's.
RingRowSolution rowResult(const Bands& bands, const std::vector<double>& turnCurrents,
                          const std::vector<double>& solution) {
    const int m = bands.count;
    const std::size_t size = m + 1;
    RingRowSolution result;
    for (std::size_t k = 0; k < turnCurrents.size(); ++k) {
        result.inductanceH += turnCurrents[k] * solution[k * size + m];
        for (int b = 0; b < m; ++b) {
            const double bandA = solution[k * size + b];
            result.bandA.push_back(bandA);
            result.lossPerRsOhm += bandA * bandA * 2 * kPi * bands.rhoM[b] / bands.widthM;
        }
    }
    double largest = 0;
    for (double current : turnCurrents) {
        largest = std::max(largest, std::abs(current));
    }
    result.inductanceH /= largest * largest;
    result.lossPerRsOhm /= largest * largest;
    return result;
}

// Ring rows of up to the longest of the current sets, all with the same window:
// the coupling, its factors and the far kernels are shared.
std::vector<RingRowSolution> solveRingRows(double ringRadiusM, double wireRadiusM, double pitchM,
                                           const std::vector<std::vector<double>>& currentSets,
                                           int bandsPerTurn, int windowTurns) {
    std::size_t longest = 1;
    for (const auto& currents : currentSets) {
        longest = std::max(longest, currents.size());
    }
    const int rings = int(longest);
    const int window = std::min(std::max(windowTurns, 1), rings - 1);
    const Bands bands = makeBands(ringRadiusM, wireRadiusM, bandsPerTurn);
    const field::BandedBlockLu lu(nearBlocks(bands, window, pitchM), window, rings);
    std::optional<FarRings> far;
    if (window < rings - 1) {
        far.emplace(bands, ringRadiusM, pitchM, rings, window);
    }
    std::vector<RingRowSolution> results;
    std::vector<double> previous;
    for (const std::vector<double>& turnCurrents : currentSets) {
        const bool farHere = far && window < int(turnCurrents.size()) - 1;
        auto [solution, converged] =
            solveRow(lu, farHere ? &*far : nullptr, bandsPerTurn, turnCurrents, previous);
        results.push_back(rowResult(bands, turnCurrents, solution));
        results.back().converged = converged;
        previous = std::move(solution);
    }
    return results;
}

std::vector<RingRowSolution> solveCoilRows(const CoilWinding& coil,
                                           const std::vector<int>& turnCounts, int bandsPerTurn,
                                           int windowTurns) {
    std::vector<std::vector<double>> currentSets;
    for (int turns : turnCounts) {
        currentSets.emplace_back(std::max(turns, 1), 1.0);
    }
    return solveRingRows(0.5 * (coil.formerDiaIn + coil.wireDiaIn) * kMetresPerInch,
                         0.5 * coil.wireDiaIn * kMetresPerInch, coil.pitchIn * kMetresPerInch,
                         currentSets, bandsPerTurn, windowTurns);
}

} // namespace

RingRowSolution solveRingRow(double ringRadiusM, double wireRadiusM, double pitchM,
                             const std::vector<double>& turnCurrents, int bandsPerTurn,
                             int windowTurns) {
    return solveRingRows(ringRadiusM, wireRadiusM, pitchM, {turnCurrents}, bandsPerTurn,
                         windowTurns)
        .front();
}

CoilAtFrequency coilFieldSolution(const CoilWinding& coil, double freqMHz, int bandsPerTurn) {
    return coilFieldSolution(coil, freqMHz, bandsPerTurn, int(std::round(coil.turns)));
}

// The surface resistance of a good conductor, sqrt(pi f mu0 / sigma) (Rayleigh
// 1886, the skin effect), over the band currents; its reactive half adds R / omega.
CoilAtFrequency coilFieldSolution(const CoilWinding& coil, double freqMHz, int bandsPerTurn,
                                  int windowTurns) {
    const int turns = int(std::round(coil.turns));
    const RingRowSolution row = solveCoilRows(coil, {turns}, bandsPerTurn, windowTurns).front();
    const double omega = 2 * kPi * freqMHz * 1e6;
    const double surfaceOhm = std::sqrt(kPi * freqMHz * 1e6 * kMu0HPerM / kCopperSPerM);
    CoilAtFrequency result;
    result.resistanceOhm = surfaceOhm * row.lossPerRsOhm;
    result.inductanceUH = (row.inductanceH + result.resistanceOhm / omega) * 1e6;
    result.q = omega * result.inductanceUH * 1e-6 / result.resistanceOhm;
    return result;
}

double strongSkinInductanceUH(const CoilWinding& coil) {
    return strongSkinInductance(coil).uH;
}

StrongSkinInductance strongSkinInductance(const CoilWinding& coil) {
    const double turns = std::max(coil.turns, 1.0);
    const int below = int(std::floor(turns));
    const double fraction = turns - below;
    std::vector<int> turnCounts{below};
    if (fraction > 0) {
        turnCounts.push_back(below + 1);
    }
    const std::vector<RingRowSolution> rows =
        solveCoilRows(coil, turnCounts, kCoilBandsPerTurn, kCoilWindowTurns);
    std::vector<double> ratios;
    bool converged = true;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        converged = converged && rows[r].converged;
        CoilWinding whole = coil;
        whole.turns = turnCounts[r];
        ratios.push_back(rows[r].inductanceH * 1e6 / lowFrequencyInductanceUH(whole));
    }
    const double ratio = fraction > 0 ? ratios[0] + fraction * (ratios[1] - ratios[0]) : ratios[0];
    return {ratio * lowFrequencyInductanceUH(coil), converged};
}

} // namespace tarvix
