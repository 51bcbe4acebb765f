// The simulation of a design. The antenna is solved once as a two-port (the
// feed, and both coils driven together) at a few frequencies: the feed
// impedance with any coils is exactly bilinear in the coils' impedance, so the
// formula's antenna, the corrected one and any winding follow by circuit
// algebra, and a rational function of frequency through those points models
// each between them. Every answer the model gives is then checked by a solve
// of that antenna and a Newton step with the model's slope, and taken where
// the step is within the tolerance of a direct search. Where the model is not
// to be trusted (a check that does not settle, a crossing near the sweep's
// ends, a best SWR near 2, the coils on the feed segment), the question is
// answered directly as before: a sweep finds where the reactance or the SWR
// crosses its mark, then single-frequency solves close in on the crossing
// (false position with the Illinois step, which keeps the crossing
// bracketed). The corrected inductance and the tip length are bracketed first:
// the reactance at F rises with either, so steps away from the formula's value
// meet the rising crossing, which false position then refines. Independent
// questions are solved at the same time.
#include "nec/simulation.h"

#include "calc/conversions.h"
#include "nec/nec_deck.h"
#include "nec/roots.h"
#include "nec/two_port.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>
#include <future>
#include <limits>
#include <sstream>
#include <utility>

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

// Where the model is trusted: a crossing it finds farther than this (a
// fraction of F) inside the sweep's ends, and a best SWR farther than
// kSwrMargin from the mark. Nearer, whether the crossing lies inside the sweep
// is left to the direct search.
constexpr double kEndMargin = 0.01;
constexpr double kSwrMargin = 0.2;
// A model farther than this from a solve that checks it is not trusted to
// have found the right crossing: an ohm, and a hundredth of the impedance.
// (It is within 0.25 ohm near the answers of every design tested.)
constexpr double kLargestResidualOhm = 1;
constexpr double kLargestResidualShare = 0.01;
// The model is searched for crossings at this many points over the sweep,
// each then closed in on the model itself.
constexpr int kSearchPoints = 801;
constexpr int kModelBisections = 60;
// Solves that check one answer of the model before it is left to the direct
// search: the first steps with the model's slope, the later ones with the
// slope between the last two solves.
constexpr int kMostChecks = 3;
// The tip change is modelled by a quadratic through the formula's tips and
// tips this fraction longer and shorter, and trusted this far from them.
constexpr double kTipStep = 0.1;
constexpr double kFarthestTipChange = 0.25;

SimulatedPoint pointOf(double freqMHz, std::complex<double> z, double z0Ohm) {
    return {freqMHz, z.real(), z.imag(), standingWaveRatio(z.real(), z.imag(), z0Ohm)};
}

void insertByFrequency(std::vector<SimulatedPoint>& sweep, const SimulatedPoint& point) {
    const auto at = std::lower_bound(
        sweep.begin(), sweep.end(), point,
        [](const SimulatedPoint& a, const SimulatedPoint& b) { return a.freqMHz < b.freqMHz; });
    sweep.insert(at, point);
}

// The slope of g at x, from the model.
double slopeOf(const std::function<double(double)>& g, double x) {
    const double h = 1e-6 * std::fabs(x);
    return (g(x + h) - g(x - h)) / (2 * h);
}

// Where g changes sign between a and b, closed in on by bisection.
double bisected(const std::function<double(double)>& g, double a, double b) {
    const bool negativeAtA = g(a) < 0;
    for (int step = 0; step < kModelBisections; ++step) {
        const double mid = (a + b) / 2;
        ((g(mid) < 0) == negativeAtA ? a : b) = mid;
    }
    return (a + b) / 2;
}

// One answer being checked by solves: the next solve goes to x; after a solve
// at x where the checked quantity is gx, the step to the root is taken with
// the model's slope, or with the slope between the last two solves.
class CheckedRoot {
public:
    CheckedRoot(double x, double tolerance, std::function<double(double)> modelSlope)
        : m_x(x), m_tolerance(tolerance), m_modelSlope(std::move(modelSlope)) {}

    double next() const { return m_x; }
    bool settled() const { return m_root.has_value(); }
    double root() const { return *m_root; }

    // False when the step is no step (a slope of zero or none).
    bool take(double gx) {
        const double slope =
            m_previous ? (gx - m_previous->second) / (m_x - m_previous->first) : m_modelSlope(m_x);
        const double step = -gx / slope;
        if (!std::isfinite(step)) {
            return false;
        }
        m_previous = std::pair{m_x, gx};
        if (std::fabs(step) <= m_tolerance * std::fabs(m_x + step)) {
            m_root = m_x + step;
        }
        m_x += step;
        return true;
    }

private:
    double m_x;
    double m_tolerance;
    std::function<double(double)> m_modelSlope;
    std::optional<std::pair<double, double>> m_previous;
    std::optional<double> m_root;
};

// The reactance at F of an antenna with its tips a tenth shorter and longer.
struct TipNeighbours {
    double shorterOhm = 0;
    double longerOhm = 0;
};

AntennaModel withTip(const AntennaModel& model, double tipFt) {
    AntennaModel trial = model;
    trial.totalLengthFt = 2 * (std::fabs(model.centreToCoilFt) + tipFt);
    return trial;
}

// Solved side by side; none where such a tip cannot be modelled.
std::optional<TipNeighbours> tipNeighbours(const AntennaModel& model, double freqMHz, double z0Ohm,
                                           Nec2c& engine) {
    const double tipFt = model.totalLengthFt / 2 - std::fabs(model.centreToCoilFt);
    const double step = kTipStep * tipFt;
    auto reactance = [&](double tip) {
        return solveAt(engine, withTip(model, tip), {{freqMHz, 0, 1}}, z0Ohm).front().reactanceOhm;
    };
    try {
        auto shorter = std::async(std::launch::async, [&] { return reactance(tipFt - step); });
        const double longer = reactance(tipFt + step);
        return TipNeighbours{shorter.get(), longer};
    } catch (const NecDeckError&) {
        return std::nullopt;
    }
}

class Simulation {
public:
    // ports: the design's two-port at the Chebyshev frequencies; without it
    // every answer is solved directly.
    Simulation(Nec2c& engine, double freqMHz, double z0Ohm,
               const std::vector<TwoPortPoint>* ports = nullptr)
        : m_engine(engine), m_freqMHz(freqMHz), m_z0Ohm(z0Ohm), m_ports(ports) {}

    SimulatedPoint at(const AntennaModel& model, double freqMHz) const {
        return solveAt(m_engine, model, {{freqMHz, 0, 1}}, m_z0Ohm).front();
    }

    // The model at the frequencies of the runs; three or more in two decks
    // solved side by side, the last run in the second.
    std::vector<SimulatedPoint> solveSplit(const AntennaModel& model,
                                           const std::vector<FrequencyRun>& runs,
                                           double* efficiencyOfLast) const {
        if (runs.size() < 3) {
            return solveAt(m_engine, model, runs, m_z0Ohm, efficiencyOfLast);
        }
        const auto middle = runs.begin() + static_cast<std::ptrdiff_t>(runs.size() / 2);
        auto first = std::async(std::launch::async, [&] {
            return solveAt(m_engine, model, std::vector<FrequencyRun>(runs.begin(), middle),
                           m_z0Ohm);
        });
        const std::vector<SimulatedPoint> second =
            solveAt(m_engine, model, std::vector<FrequencyRun>(middle, runs.end()), m_z0Ohm,
                    efficiencyOfLast);
        std::vector<SimulatedPoint> points = first.get();
        points.insert(points.end(), second.begin(), second.end());
        return points;
    }

    // The feed point at F by the two-port's algebra.
    SimulatedPoint modelledAtF(const AntennaModel& model) const {
        return pointOf(m_freqMHz, loadedImpedance(portAtF(), coilLoadOhm(model, m_freqMHz)),
                       m_z0Ohm);
    }

    // The sweep with F solved on its own (for the exact feed point there), the
    // resonance nearest F, and with band the 2:1 SWR band around F.
    SimulatedAntenna characterise(const AntennaModel& model, std::optional<SwrBand>* band) const {
        if (m_ports != nullptr) {
            if (auto modelled = modelledAntenna(model, band)) {
                return std::move(*modelled);
            }
        }
        return solvedAntenna(model, band);
    }

    // The coil inductance that makes the reactance at F zero, the coils'
    // loss resistance growing with it at the same Q. solvedAtF: the model
    // solved at F, where the direct search has it.
    double correctedInductance(const AntennaModel& model,
                               std::optional<SimulatedPoint> solvedAtF) const {
        if (m_ports != nullptr) {
            if (const auto modelled = modelledInductance(model)) {
                return *modelled;
            }
        }
        const SimulatedPoint atF = solvedAtF ? *solvedAtF : at(model, m_freqMHz);
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
    // neighbours: the reactance at F with the tips a tenth shorter and longer,
    // for the search's quadratic.
    std::optional<double> tipChangeFt(const AntennaModel& model,
                                      std::optional<SimulatedPoint> solvedAtF,
                                      std::optional<TipNeighbours> neighbours) const {
        if (m_ports != nullptr && neighbours) {
            if (const auto modelled = modelledTipChange(model, *neighbours)) {
                return *modelled;
            }
        }
        const double coilFt = std::fabs(model.centreToCoilFt);
        const double tipFt = model.totalLengthFt / 2 - coilFt;
        auto reactance = [&](double tip) {
            return at(withTip(model, tip), m_freqMHz).reactanceOhm;
        };
        try {
            const SimulatedPoint atF = solvedAtF ? *solvedAtF : at(model, m_freqMHz);
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
    const TwoPortPoint& portAtF() const {
        for (const TwoPortPoint& port : *m_ports) {
            if (port.freqMHz == m_freqMHz) {
                return port;
            }
        }
        throw TwoPortShortfall("the two-port was not solved at F");
    }

    // The antenna solved directly: the sweep, F, and each crossing closed in
    // on by false position.
    SimulatedAntenna solvedAntenna(const AntennaModel& model, std::optional<SwrBand>* band) const {
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
        antenna.solved = antenna.sweep;
        return antenna;
    }

    // The antenna from the two-port's model, each answer checked by solves;
    // none where the model cannot be trusted for one of them.
    std::optional<SimulatedAntenna> modelledAntenna(const AntennaModel& model,
                                                    std::optional<SwrBand>* band) const {
        std::vector<double> freqs;
        std::vector<std::complex<double>> values;
        SimulatedAntenna antenna;
        antenna.coilUH = model.coilUH;
        antenna.coilOhm = model.coilOhm;
        for (const TwoPortPoint& port : *m_ports) {
            freqs.push_back(port.freqMHz);
            values.push_back(loadedImpedance(port, coilLoadOhm(model, port.freqMHz)));
            antenna.solved.push_back(pointOf(freqs.back(), values.back(), m_z0Ohm));
        }
        const FrequencyRun sweep = designSweep(m_freqMHz, kSimulationSweepPoints);
        const double low = sweep.startMHz;
        const double high = sweep.startMHz + (sweep.count - 1) * sweep.stepMHz;
        const auto impedance = RationalModel::through(freqs, values, low, high);
        if (!impedance) {
            return std::nullopt;
        }
        const std::function<double(double)> reactance = [&](double f) {
            return (*impedance)(f).imag();
        };
        const std::function<double(double)> swrExcess = [&](double f) {
            const std::complex<double> z = (*impedance)(f);
            return standingWaveRatio(z.real(), z.imag(), m_z0Ohm) - kSwrMark;
        };
        auto nearEnd = [&](double f) {
            return f < low + kEndMargin * m_freqMHz || f > high - kEndMargin * m_freqMHz;
        };
        std::vector<SimulatedPoint> grid;
        for (int i = 0; i < kSearchPoints; ++i) {
            const double f = low + (high - low) * i / (kSearchPoints - 1);
            grid.push_back(pointOf(f, (*impedance)(f), m_z0Ohm));
        }

        // The rising crossing of the reactance nearest F, as the direct
        // search takes it.
        std::optional<double> resonance;
        for (std::size_t i = 1; i < grid.size(); ++i) {
            const SimulatedPoint& a = grid[i - 1];
            const SimulatedPoint& b = grid[i];
            if (a.reactanceOhm < 0 && b.reactanceOhm >= 0) {
                const double root = bisected(reactance, a.freqMHz, b.freqMHz);
                if (!resonance || std::fabs(root - m_freqMHz) < std::fabs(*resonance - m_freqMHz)) {
                    resonance = root;
                }
            }
        }
        if (!resonance || nearEnd(*resonance)) {
            return std::nullopt;
        }
        // A resonance the model puts on F (the corrected antenna's) is checked
        // by the solve at F that every antenna has.
        const bool resonanceOnF =
            std::fabs(*resonance - m_freqMHz) <= kFrequencyTolerance / 2 * m_freqMHz;
        std::vector<CheckedRoot> roots{
            CheckedRoot(resonanceOnF ? m_freqMHz : *resonance, kFrequencyTolerance,
                        [&](double f) { return slopeOf(reactance, f); })};

        // The band: from the best SWR outwards to where it first exceeds 2.
        std::optional<SwrBand> found;
        std::optional<std::size_t> lowEdge, highEdge;
        if (band != nullptr) {
            const auto best = std::min_element(
                grid.begin(), grid.end(),
                [](const SimulatedPoint& a, const SimulatedPoint& b) { return a.swr < b.swr; });
            if (!(std::fabs(best->swr - kSwrMark) > kSwrMargin)) {
                return std::nullopt;
            }
            if (best->swr < kSwrMark) {
                found = SwrBand{};
                auto edge = [&](auto from, auto to, std::optional<std::size_t>& index) {
                    for (auto inside = from, outside = std::next(from); outside != to;
                         ++inside, ++outside) {
                        if (outside->swr > kSwrMark) {
                            const double root =
                                bisected(swrExcess, inside->freqMHz, outside->freqMHz);
                            if (nearEnd(root)) {
                                return false;
                            }
                            index = roots.size();
                            roots.emplace_back(root, kBandEdgeTolerance,
                                               [&](double f) { return slopeOf(swrExcess, f); });
                            return true;
                        }
                    }
                    // Beyond the sweep, unless the SWR at its end is near 2.
                    return std::fabs(std::prev(to)->swr - kSwrMark) > kSwrMargin;
                };
                const auto bestIndex = best - grid.begin();
                if (!edge(best, grid.end(), highEdge) ||
                    !edge(grid.rbegin() + (grid.size() - 1 - bestIndex), grid.rend(), lowEdge)) {
                    return std::nullopt;
                }
            }
        }

        // The checks: the first solves F beside them, and takes F's solve for
        // a root checked there.
        std::vector<SimulatedPoint> lastSolved(roots.size());
        for (int check = 0; check < kMostChecks; ++check) {
            std::vector<FrequencyRun> runs;
            std::vector<std::size_t> checked;
            std::vector<std::size_t> checkedAtF;
            for (std::size_t i = 0; i < roots.size(); ++i) {
                if (roots[i].settled()) {
                    continue;
                }
                if (check == 0 && roots[i].next() == m_freqMHz) {
                    checkedAtF.push_back(i);
                } else {
                    runs.push_back({roots[i].next(), 0, 1});
                    checked.push_back(i);
                }
            }
            if (check == 0) {
                runs.push_back({m_freqMHz, 0, 1});
            } else if (runs.empty()) {
                break;
            }
            std::vector<SimulatedPoint> points =
                solveSplit(model, runs, check == 0 ? &antenna.efficiencyPercent : nullptr);
            for (const SimulatedPoint& point : points) {
                const std::complex<double> z(point.resistanceOhm, point.reactanceOhm);
                if (std::abs(z - (*impedance)(point.freqMHz)) >
                    kLargestResidualOhm + kLargestResidualShare * std::abs(z)) {
                    return std::nullopt;
                }
            }
            if (check == 0) {
                antenna.atF = points.back();
                points.pop_back();
                insertByFrequency(antenna.solved, antenna.atF);
                for (const std::size_t i : checkedAtF) {
                    checked.push_back(i);
                    points.push_back(antenna.atF);
                }
            }
            for (std::size_t k = 0; k < checked.size(); ++k) {
                CheckedRoot& root = roots[checked[k]];
                const SimulatedPoint& point = points[k];
                const double g = checked[k] == 0 ? point.reactanceOhm : point.swr - kSwrMark;
                if (!root.take(g) || nearEnd(root.next())) {
                    return std::nullopt;
                }
                lastSolved[checked[k]] = point;
                if (point.freqMHz != m_freqMHz) {
                    insertByFrequency(antenna.solved, point);
                }
            }
        }
        for (const CheckedRoot& root : roots) {
            if (!root.settled()) {
                return std::nullopt;
            }
        }

        // The curve: the model over the sweep; each answer as its last solve
        // moved along the model to it; F as solved.
        for (int i = 0; i < kModelledSweepPoints; ++i) {
            const double f = low + (high - low) * i / (kModelledSweepPoints - 1);
            antenna.sweep.push_back(pointOf(f, (*impedance)(f), m_z0Ohm));
        }
        for (std::size_t i = 0; i < roots.size(); ++i) {
            const SimulatedPoint& solved = lastSolved[i];
            const std::complex<double> moved =
                std::complex<double>(solved.resistanceOhm, solved.reactanceOhm) +
                (*impedance)(roots[i].root()) - (*impedance)(solved.freqMHz);
            insertByFrequency(antenna.sweep, pointOf(roots[i].root(), moved, m_z0Ohm));
        }
        insertByFrequency(antenna.sweep, antenna.atF);
        antenna.resonanceMHz = roots[0].root();
        if (band != nullptr) {
            if (found) {
                if (lowEdge) {
                    found->lowMHz = roots[*lowEdge].root();
                }
                if (highEdge) {
                    found->highMHz = roots[*highEdge].root();
                }
            }
            *band = found;
        }
        return antenna;
    }

public:
    // The corrected inductance by the algebra at F, and the reactance's slope
    // there (ohm per uH).
    std::optional<std::pair<double, double>> algebraicInductance(const AntennaModel& model) const {
        if (m_ports == nullptr) {
            return std::nullopt;
        }
        const TwoPortPoint& port = portAtF();
        const double start = model.coilUH;
        const double ohmPerUH = model.coilOhm / start;
        const std::function<double(double)> reactance = [&](double coilUH) {
            return loadedImpedance(port, coilImpedance(coilUH, ohmPerUH * coilUH, m_freqMHz))
                .imag();
        };
        const auto root = risingRoot(reactance, start, reactance(start), 1.25, 1e-12);
        if (!root) {
            return std::nullopt;
        }
        return std::pair{*root, slopeOf(reactance, *root)};
    }

private:
    // The corrected inductance by the algebra at F, checked by solves.
    std::optional<double> modelledInductance(const AntennaModel& model) const {
        const auto root = algebraicInductance(model);
        if (!root) {
            return std::nullopt;
        }
        const double ohmPerUH = model.coilOhm / model.coilUH;
        const double slope = root->second;
        CheckedRoot checked(root->first, kSizeTolerance, [slope](double) { return slope; });
        for (int check = 0; check < kMostChecks && !checked.settled(); ++check) {
            AntennaModel trial = model;
            trial.coilUH = checked.next();
            trial.coilOhm = ohmPerUH * trial.coilUH;
            if (!(trial.coilUH > 0) || !checked.take(at(trial, m_freqMHz).reactanceOhm)) {
                return std::nullopt;
            }
        }
        return checked.settled() ? std::optional(checked.root()) : std::nullopt;
    }

    // The tip change from the reactance at F of the formula's tips and tips a
    // tenth longer and shorter: the rising root of the quadratic through
    // them, checked by solves.
    std::optional<double> modelledTipChange(const AntennaModel& model,
                                            const TipNeighbours& neighbours) const {
        const double tipFt = model.totalLengthFt / 2 - std::fabs(model.centreToCoilFt);
        const double step = kTipStep * tipFt;
        const double lower = neighbours.shorterOhm;
        const double longer = neighbours.longerOhm;
        try {
            const double middle = modelledAtF(model).reactanceOhm;
            // x(u) = middle + b u + c u^2, u the change of the tip.
            const double b = (longer - lower) / (2 * step);
            const double c = (longer - 2 * middle + lower) / (2 * step * step);
            std::vector<double> changes;
            if (c == 0) {
                changes.push_back(-middle / b);
            } else {
                const double discriminant = b * b - 4 * c * middle;
                if (discriminant < 0) {
                    return std::nullopt;
                }
                const double q = -(b + std::copysign(std::sqrt(discriminant), b)) / 2;
                changes = {q / c, middle / q};
            }
            std::optional<double> change;
            for (const double u : changes) {
                if (std::isfinite(u) && b + 2 * c * u > 0 &&
                    (!change || std::fabs(u) < std::fabs(*change))) {
                    change = u;
                }
            }
            if (!change || !(std::fabs(*change) <= kFarthestTipChange * tipFt)) {
                return std::nullopt;
            }
            // The check: one solve and a Newton step with the quadratic's
            // slope. The wire's segments change with its length, so the
            // reactance jumps a little where a segment comes or goes; where
            // the step does not settle, false position closes in on the
            // rising crossing between the solved tips, as the direct search
            // does.
            CheckedRoot checked(tipFt + *change, kSizeTolerance,
                                [&](double tip) { return b + 2 * c * (tip - tipFt); });
            const double checkedTip = checked.next();
            const double atChecked = at(withTip(model, checkedTip), m_freqMHz).reactanceOhm;
            if (!checked.take(atChecked)) {
                return std::nullopt;
            }
            if (checked.settled()) {
                return checked.root() - tipFt;
            }
            std::vector<std::pair<double, double>> solved{
                {tipFt - step, lower}, {tipFt + step, longer}, {checkedTip, atChecked}};
            std::sort(solved.begin(), solved.end());
            for (std::size_t i = 1; i < solved.size(); ++i) {
                const auto [a, ga] = solved[i - 1];
                const auto [z, gz] = solved[i];
                if (ga < 0 && gz >= 0) {
                    const double root = bracketedRoot(
                        [&](double tip) { return at(withTip(model, tip), m_freqMHz).reactanceOhm; },
                        a, ga, z, gz, kSizeTolerance);
                    return root - tipFt;
                }
            }
        } catch (const NecDeckError&) {
            // A tip too short to model: the direct search says what it can.
        }
        return std::nullopt;
    }

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
    const std::vector<TwoPortPoint>* m_ports;
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

// The window's turns as the user winds them: close-wound where the revised
// length is shorter than the turns side by side, spread to it otherwise.
CoilWinding windowWinding(const DesignRecord& record, const CoilBuild& build) {
    return windingOf(
        build, record.turnCount,
        std::max(enamelledDiameterIn(build.wireDiaIn), record.revisedLengthIn / record.turnCount));
}

// A coil already wound: its turns at the build's pitch, or close-wound.
CoilWinding givenWinding(double turns, const CoilBuild& build) {
    return windingOf(build, turns, build.pitchIn.value_or(enamelledDiameterIn(build.wireDiaIn)));
}

bool inBand(const std::optional<double>& resonanceMHz, const std::optional<SwrBand>& band) {
    return resonanceMHz && band && (!band->lowMHz || *resonanceMHz >= *band->lowMHz) &&
           (!band->highMHz || *resonanceMHz <= *band->highMHz);
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
    const int frequenciesBefore = engine.frequencyCount();
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

    // The two-port, in two decks solved side by side; where it cannot be
    // solved as one (the coils on the feed segment), or nec2c's listing of it
    // lacks anything, every answer is solved directly.
    // The tips a tenth shorter and longer are solved beside it: the tip
    // change starts from them.
    std::optional<std::vector<TwoPortPoint>> ports;
    std::future<std::optional<TipNeighbours>> neighbours;
    if (!options.directSearch && buildGeometry(formula).coils.size() == 2) {
        neighbours = std::async(std::launch::async,
                                [&] { return tipNeighbours(formula, f, options.z0Ohm, engine); });
        const FrequencyRun sweep = designSweep(f, kSimulationSweepPoints);
        const double halfSpan = (sweep.count - 1) * sweep.stepMHz / 2;
        const std::vector<double> freqs = chebyshevFrequencies(f, halfSpan, kTwoPortFrequencies);
        const auto middle = freqs.begin() + static_cast<std::ptrdiff_t>(freqs.size() / 2);
        try {
            auto upper = std::async(std::launch::async, [&] {
                return solveTwoPort(formula, std::vector<double>(middle, freqs.end()), engine);
            });
            ports = solveTwoPort(formula, std::vector<double>(freqs.begin(), middle), engine);
            const std::vector<TwoPortPoint> more = upper.get();
            ports->insert(ports->end(), more.begin(), more.end());
        } catch (const TwoPortShortfall&) {
            ports.reset();
        }
    }
    const Simulation simulation(engine, f, options.z0Ohm, ports ? &*ports : nullptr);
    auto formulaAntenna =
        std::async(std::launch::async, [&] { return simulation.characterise(formula, nullptr); });
    const std::optional<SimulatedPoint> formulaAtF =
        ports ? std::nullopt : std::optional(simulation.at(formula, f));
    const std::optional<TipNeighbours> tipNeighbourhood =
        neighbours.valid() ? neighbours.get() : std::nullopt;
    auto tipChange = std::async(std::launch::async, [&] {
        return simulation.tipChangeFt(formula, formulaAtF, tipNeighbourhood);
    });

    // The windings checked in the antenna (the window's and a coil already
    // wound), solved beside the rest.
    auto checkWinding = [&](const CoilWinding& winding) {
        const CoilCircuit circuit(winding);
        WindingCheck checked;
        checked.coil = woundCoil(circuit, f);
        checked.antenna =
            simulation.characterise(windingModel(record, circuit, options.model), nullptr);
        return checked;
    };
    std::future<WindingCheck> windowCheck;
    if (build && design.windingDone && record.turnCount > 0) {
        windowCheck = std::async(std::launch::async,
                                 [&] { return checkWinding(windowWinding(record, *build)); });
    }
    std::future<WindingCheck> givenCheck;
    if (build && options.givenTurns) {
        givenCheck = std::async(std::launch::async, [&] {
            return checkWinding(givenWinding(*options.givenTurns, *build));
        });
    }

    // Without a winding to build, the corrected antenna is the search's own
    // model with the algebra's inductance, and its solve at F checks that
    // inductance too: taken where the Newton step from it is within half the
    // tolerance, else the antenna is solved again a step on, and at last the
    // inductance searched for on its own.
    result.correctedCoilQ = result.formulaCoilQ;
    std::optional<double> checkedUH;
    if (!build) {
        if (const auto algebraic = simulation.algebraicInductance(formula)) {
            auto [coilUH, slope] = *algebraic;
            for (int check = 0; check < 2 && !checkedUH && coilUH > 0; ++check) {
                std::optional<SwrBand> band;
                SimulatedAntenna antenna =
                    simulation.characterise(designModel(record, coilUH, formulaOptions), &band);
                const double step = -antenna.atF.reactanceOhm / slope;
                if (std::fabs(step) <= kSizeTolerance / 2 * coilUH) {
                    checkedUH = coilUH;
                    result.corrected = std::move(antenna);
                    result.swr2Band = band;
                }
                coilUH += step;
            }
        }
    }
    const double correctedUH =
        checkedUH ? *checkedUH : simulation.correctedInductance(formula, formulaAtF);
    // What a winding lacks at F: the antenna's reactance there, by the
    // two-port's algebra, or without a two-port by a solve. The algebra can
    // lie an ohm or so from a solve of the antenna (over ground most), so the
    // winding it finds is solved, and the search run again with the algebra
    // moved by what the solve said.
    double algebraOffsetOhm = 0;
    const WindingNeed need = [&](const CoilCircuit& circuit) {
        const AntennaModel model = windingModel(record, circuit, options.model);
        return ports ? simulation.modelledAtF(model).reactanceOhm + algebraOffsetOhm
                     : simulation.at(model, f).reactanceOhm;
    };
    if (!checkedUH) {
        AntennaModel corrected = designModel(record, correctedUH, formulaOptions);
        if (build) {
            auto wound = windingForNeed(*build, f, correctedUH, need);
            // The offset hardly changes between neighbouring windings: one
            // round, and the corrected antenna's own solves then say where
            // the winding found puts the resonance.
            if (ports && wound) {
                const AntennaModel built = windingModel(record, *wound, options.model);
                algebraOffsetOhm = simulation.at(built, f).reactanceOhm -
                                   simulation.modelledAtF(built).reactanceOhm;
                wound = windingForNeed(*build, f, correctedUH, need);
            }
            if (wound) {
                result.build = woundCoil(*wound, f);
                // The antenna as built: the winding across the coils' terminals.
                corrected = windingModel(record, *wound, options.model);
                if (qFromWinding) {
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
    }
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
    for (auto [future, checked] : {std::pair{&windowCheck, &result.windowWinding},
                                   std::pair{&givenCheck, &result.givenWinding}}) {
        if (future->valid()) {
            WindingCheck& done = checked->emplace(future->get());
            done.inSwr2Band = inBand(done.antenna.resonanceMHz, result.swr2Band);
            done.turnsForResonance =
                turnsForNeed(*build, done.coil.winding.pitchIn, f, correctedUH, need);
        }
    }
    result.formula = formulaAntenna.get();
    result.tipChangeFt = tipChange.get();
    result.solves = engine.solveCount() - solvedBefore;
    result.frequencies = engine.frequencyCount() - frequenciesBefore;
    return result;
}

} // namespace tarvix
