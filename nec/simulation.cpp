// The simulation of a design. Each question is answered with as few decks as
// it takes: a sweep finds where the reactance or the SWR crosses its mark,
// then single-frequency solves close in on the crossing (false position with
// the Illinois step, which keeps the crossing bracketed). The corrected
// inductance and the tip length are bracketed first: the reactance at F rises
// with either, so steps away from the formula's value meet the rising
// crossing, which false position then refines. Independent questions are
// solved at the same time.
#include "nec/simulation.h"

#include "calc/conversions.h"
#include "nec/nec_deck.h"
#include "nec/roots.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>
#include <future>
#include <limits>
#include <sstream>

namespace tarvix {

namespace {

constexpr double kSwrMark = 2;

// Solves one model at the frequencies of the runs. NEC prints frequencies to
// five digits only, so each point gets back the frequency it was asked for.
std::vector<SimulatedPoint> solveAt(Nec2c& engine, const AntennaModel& model,
                                    const std::vector<FrequencyRun>& runs, double z0Ohm,
                                    double* efficiencyOfLast = nullptr) {
    std::ostringstream deck;
    writeNecDeck(deck, model, {}, runs);
    const std::vector<FeedPoint> solved = engine.solve(deck.str());
    std::vector<SimulatedPoint> points;
    for (const FrequencyRun& run : runs) {
        for (int i = 0; i < run.count; ++i) {
            const std::size_t at = points.size();
            if (at >= solved.size()) {
                throw NecEngineError("nec2c solved only " + std::to_string(solved.size()) +
                                     " of the deck's frequencies");
            }
            const FeedPoint& p = solved[at];
            points.push_back({run.startMHz + i * run.stepMHz, p.resistanceOhm, p.reactanceOhm,
                              standingWaveRatio(p.resistanceOhm, p.reactanceOhm, z0Ohm)});
        }
    }
    if (efficiencyOfLast != nullptr) {
        const FeedPoint& last = solved[points.size() - 1];
        *efficiencyOfLast = last.inputPowerW > 0 ? 100 * last.radiatedPowerW / last.inputPowerW : 0;
    }
    return points;
}

void insertByFrequency(std::vector<SimulatedPoint>& sweep, const SimulatedPoint& point) {
    const auto at = std::lower_bound(
        sweep.begin(), sweep.end(), point,
        [](const SimulatedPoint& a, const SimulatedPoint& b) { return a.freqMHz < b.freqMHz; });
    sweep.insert(at, point);
}

class Simulation {
public:
    Simulation(Nec2c& engine, double freqMHz, double z0Ohm)
        : m_engine(engine), m_freqMHz(freqMHz), m_z0Ohm(z0Ohm) {}

    SimulatedPoint at(const AntennaModel& model, double freqMHz) const {
        return solveAt(m_engine, model, {{freqMHz, 0, 1}}, m_z0Ohm).front();
    }

    // The sweep with F solved on its own (for the exact feed point there), the
    // resonance nearest F, and with band the 2:1 SWR band around F.
    SimulatedAntenna characterise(const AntennaModel& model, std::optional<SwrBand>* band) const {
        SimulatedAntenna antenna;
        antenna.coilUH = model.coilUH;
        antenna.coilOhm = model.coilOhm;
        std::vector<SimulatedPoint> points = solveAt(
            m_engine, model, {designSweep(m_freqMHz, kSimulationSweepPoints), {m_freqMHz, 0, 1}},
            m_z0Ohm, &antenna.efficiencyPercent);
        antenna.atF = points.back();
        points.pop_back();
        antenna.sweep = points;
        insertByFrequency(points, antenna.atF);

        auto resonanceSearch =
            std::async(std::launch::async, [&] { return resonance(model, points); });
        if (band != nullptr) {
            *band = swrBand(model, points);
        }
        antenna.resonanceMHz = resonanceSearch.get();
        // The refined frequencies join the sweep, solved side by side.
        std::vector<double> refined;
        if (antenna.resonanceMHz) {
            refined.push_back(*antenna.resonanceMHz);
        }
        if (band != nullptr && *band) {
            for (const std::optional<double>& edge : {(*band)->lowMHz, (*band)->highMHz}) {
                if (edge) {
                    refined.push_back(*edge);
                }
            }
        }
        std::vector<std::future<SimulatedPoint>> solving;
        for (const double f : refined) {
            solving.push_back(std::async(std::launch::async, [&, f] { return at(model, f); }));
        }
        for (std::future<SimulatedPoint>& point : solving) {
            insertByFrequency(antenna.sweep, point.get());
        }
        insertByFrequency(antenna.sweep, antenna.atF);
        return antenna;
    }

    // The coil inductance that makes the reactance at F zero, the coils'
    // loss resistance growing with it at the same Q.
    double correctedInductance(const AntennaModel& model, const SimulatedPoint& atF) const {
        AntennaModel trial = model;
        const double start = model.coilUH;
        auto reactance = [&](double coilUH) {
            trial.coilUH = coilUH;
            trial.coilOhm = model.coilOhm * coilUH / start;
            return at(trial, m_freqMHz).reactanceOhm;
        };
        const auto root = risingRoot(reactance, start, atF.reactanceOhm, 1.25, kSizeTolerance);
        if (!root) {
            throw SimulationSearchError("no coil inductance makes the antenna resonate at " +
                                        numberText(m_freqMHz) + " MHz");
        }
        return *root;
    }

    // Keeping the coils: how much longer each tip must be for resonance at F.
    std::optional<double> tipChangeFt(const AntennaModel& model, const SimulatedPoint& atF) const {
        AntennaModel trial = model;
        const double coilFt = std::fabs(model.centreToCoilFt);
        const double tipFt = model.totalLengthFt / 2 - coilFt;
        auto reactance = [&](double tip) {
            trial.totalLengthFt = 2 * (coilFt + tip);
            return at(trial, m_freqMHz).reactanceOhm;
        };
        try {
            const auto root = risingRoot(reactance, tipFt, atF.reactanceOhm, 1.1, kSizeTolerance);
            if (root) {
                return *root - tipFt;
            }
        } catch (const NecDeckError&) {
            // A tip too short to model has no answer here.
        }
        return std::nullopt;
    }

private:
    std::optional<double> resonance(const AntennaModel& model,
                                    const std::vector<SimulatedPoint>& points) const {
        // The reactance rises through zero at a series resonance.
        std::optional<std::size_t> nearest;
        double nearestDistance = std::numeric_limits<double>::infinity();
        for (std::size_t i = 1; i < points.size(); ++i) {
            const SimulatedPoint& a = points[i - 1];
            const SimulatedPoint& b = points[i];
            if (a.reactanceOhm < 0 && b.reactanceOhm >= 0) {
                const double guess = a.freqMHz + (b.freqMHz - a.freqMHz) * a.reactanceOhm /
                                                     (a.reactanceOhm - b.reactanceOhm);
                if (std::fabs(guess - m_freqMHz) < nearestDistance) {
                    nearestDistance = std::fabs(guess - m_freqMHz);
                    nearest = i;
                }
            }
        }
        if (!nearest) {
            return std::nullopt;
        }
        const SimulatedPoint& a = points[*nearest - 1];
        const SimulatedPoint& b = points[*nearest];
        if (b.reactanceOhm == 0) {
            return b.freqMHz;
        }
        return bracketedRoot([&](double f) { return at(model, f).reactanceOhm; }, a.freqMHz,
                             a.reactanceOhm, b.freqMHz, b.reactanceOhm, kFrequencyTolerance);
    }

    std::optional<SwrBand> swrBand(const AntennaModel& model,
                                   const std::vector<SimulatedPoint>& points) const {
        const auto best = std::min_element(
            points.begin(), points.end(),
            [](const SimulatedPoint& a, const SimulatedPoint& b) { return a.swr < b.swr; });
        if (!(best->swr <= kSwrMark)) {
            return std::nullopt;
        }
        auto excess = [&](double f) { return at(model, f).swr - kSwrMark; };
        auto edge = [&](auto from, auto to) -> std::optional<double> {
            for (auto inside = from, outside = std::next(from); outside != to;
                 ++inside, ++outside) {
                if (outside->swr > kSwrMark) {
                    return bracketedRoot(excess, inside->freqMHz, inside->swr - kSwrMark,
                                         outside->freqMHz, outside->swr - kSwrMark,
                                         kFrequencyTolerance);
                }
            }
            return std::nullopt;
        };
        const auto bestIndex = best - points.begin();
        auto low = std::async(std::launch::async, [&] {
            return edge(points.rbegin() + (points.size() - 1 - bestIndex), points.rend());
        });
        SwrBand band;
        band.highMHz = edge(best, points.end());
        band.lowMHz = low.get();
        return band;
    }

    Nec2c& m_engine;
    double m_freqMHz;
    double m_z0Ohm;
};

} // namespace

double standingWaveRatio(double resistanceOhm, double reactanceOhm, double z0Ohm) {
    const std::complex<double> z(resistanceOhm, reactanceOhm);
    const double reflection = std::abs((z - z0Ohm) / (z + z0Ohm));
    if (!(reflection < 1)) {
        return std::numeric_limits<double>::infinity();
    }
    return (1 + reflection) / (1 - reflection);
}

SimulatedPoint solvePoint(const AntennaModel& model, double freqMHz, double z0Ohm, Nec2c& engine) {
    return Simulation(engine, freqMHz, z0Ohm).at(model, freqMHz);
}

SimulatedAntenna simulateAntenna(const AntennaModel& model, double freqMHz, double z0Ohm,
                                 Nec2c& engine, std::optional<SwrBand>* band) {
    return Simulation(engine, freqMHz, z0Ohm).characterise(model, band);
}

namespace {

WoundCoil woundCoil(const CoilWinding& winding, double freqMHz) {
    return {winding, coilAtFrequency(winding, freqMHz), lowFrequencyInductanceUH(winding),
            selfResonanceMHz(winding)};
}

// The window's turns as the user winds them: close-wound where the revised
// length is shorter than the turns side by side, spread to it otherwise.
CoilWinding windowWinding(const DesignRecord& record, const CoilBuild& build) {
    CoilWinding winding;
    winding.turns = record.turnCount;
    winding.formerDiaIn = build.formerDiaIn;
    winding.wireDiaIn = build.wireDiaIn;
    winding.pitchIn =
        std::max(enamelledDiameterIn(build.wireDiaIn), record.revisedLengthIn / record.turnCount);
    return winding;
}

} // namespace

SimulationResult simulateDesign(const DesignResult& design,
                                const std::optional<WindingInputs>& winding,
                                const SimulationOptions& options, Nec2c& engine) {
    const DesignRecord& record = design.record;
    if (!design.inductanceDone || !(record.inductanceUH > 0)) {
        throw NecDeckError("the formula gives no coil to simulate: the inductance is not above 0");
    }
    const int solvedBefore = engine.solveCount();
    const double f = record.freqMHz;
    const std::optional<CoilBuild>& build = options.build;
    const bool qFromWinding = build && !options.model.coilQGiven;

    // The formula's coils, wound as the corrected coil will be, set the Q of
    // the search for the corrected coil.
    SimulationResult result;
    result.formulaCoilQ = options.model.coilQ;
    if (qFromWinding) {
        const auto formulaWinding = windingForInductance(record.inductanceUH, f, build->formerDiaIn,
                                                         build->wireDiaIn, build->pitchIn);
        if (formulaWinding) {
            result.formulaCoilQ = coilAtFrequency(*formulaWinding, f).q;
        }
    }
    ModelOptions formulaOptions = options.model;
    formulaOptions.coilQ = result.formulaCoilQ;
    const AntennaModel formula = designModel(record, record.inductanceUH, formulaOptions);
    result.segments = buildGeometry(formula).totalSegments;

    const Simulation simulation(engine, f, options.z0Ohm);
    auto formulaAntenna =
        std::async(std::launch::async, [&] { return simulation.characterise(formula, nullptr); });
    const SimulatedPoint formulaAtF = simulation.at(formula, f);
    auto tipChange =
        std::async(std::launch::async, [&] { return simulation.tipChangeFt(formula, formulaAtF); });

    // The window's winding of the formula's coil, solved beside the rest.
    std::future<std::optional<WindowWindingCheck>> windowCheck;
    if (build && design.windingDone && record.turnCount > 0) {
        windowCheck = std::async(std::launch::async, [&]() -> std::optional<WindowWindingCheck> {
            WindowWindingCheck check;
            check.coil = woundCoil(windowWinding(record, *build), f);
            AntennaModel model = designModel(record, check.coil.atF.inductanceUH, options.model);
            if (qFromWinding) {
                model.coilOhm = check.coil.atF.resistanceOhm;
            }
            check.antenna = simulation.characterise(model, nullptr);
            return check;
        });
    }

    const double correctedUH = simulation.correctedInductance(formula, formulaAtF);
    AntennaModel corrected = designModel(record, correctedUH, formulaOptions);
    result.correctedCoilQ = result.formulaCoilQ;
    if (build) {
        const auto wound = windingForInductance(correctedUH, f, build->formerDiaIn,
                                                build->wireDiaIn, build->pitchIn);
        if (wound) {
            result.build = woundCoil(*wound, f);
            // The antenna as built: the winding's own inductance and loss.
            corrected = designModel(record, result.build->atF.inductanceUH, options.model);
            if (qFromWinding) {
                corrected.coilOhm = result.build->atF.resistanceOhm;
                result.correctedCoilQ = result.build->atF.q;
            }
        } else {
            result.buildFault =
                "no winding of that wire on that former has " + numberText(correctedUH) + " uH";
        }
    }
    result.corrected = simulation.characterise(corrected, &result.swr2Band);
    // The search's answer, whatever the winding built for it has.
    result.corrected.coilUH = correctedUH;
    if (result.corrected.efficiencyPercent > 0) {
        result.lossDb = -10 * std::log10(result.corrected.efficiencyPercent / 100);
    }

    if (winding) {
        DesignResult wound = design;
        wound.record.inductanceUH = correctedUH;
        wound.fault.reset();
        runWinding(wound, *winding);
        result.correctedWinding = std::move(wound);
    }
    if (windowCheck.valid()) {
        result.windowWinding = windowCheck.get();
        if (result.windowWinding && result.windowWinding->antenna.resonanceMHz && result.swr2Band) {
            const double resonance = *result.windowWinding->antenna.resonanceMHz;
            const SwrBand& band = *result.swr2Band;
            result.windowWinding->inSwr2Band = (!band.lowMHz || resonance >= *band.lowMHz) &&
                                               (!band.highMHz || resonance <= *band.highMHz);
        }
    }
    result.formula = formulaAntenna.get();
    result.tipChangeFt = tipChange.get();
    result.solves = engine.solveCount() - solvedBefore;
    return result;
}

} // namespace tarvix
