// The model search: the antenna, its resonance and 2:1 band from the
// two-port's rational model, and the corrected inductance from its algebra,
// each checked by solves.
#include "nec/model_search.h"

#include "nec/coil_load.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>

namespace tarvix::nec_detail {

namespace {

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

// Where g changes sign between a and b, closed in on the model by bisection.
// Whether it converged does not matter here: a root of the model only starts
// the checks by solves, which settle it or leave the question to the direct
// search.
double bisected(const std::function<double(double)>& g, double a, double b) {
    const bool negativeAtA = g(a) < 0;
    return bisectedRoot([&](double x) { return (g(x) < 0) == negativeAtA; }, a, b, kModelBisections,
                        0)
        .x;
}

// One antenna from the model: fitted, its crossings found on the model, then
// checked by solves, then drawn. Each step returns false where the model is
// not to be trusted.
class ModelledAntenna {
public:
    ModelledAntenna(const DirectSearch& direct, const AntennaModel& model,
                    const std::vector<TwoPortPoint>& ports)
        : m_direct(direct), m_model(model), m_ports(ports), m_freqMHz(direct.freqMHz()),
          m_z0Ohm(direct.z0Ohm()) {}

    std::optional<SimulatedAntenna> solve(std::optional<SwrBand>* band) {
        if (!fit() || !findResonance() || (band != nullptr && !findBand()) || !check()) {
            return std::nullopt;
        }
        draw(band);
        return std::move(m_antenna);
    }

private:
    bool nearEnd(double f) const {
        return f < m_low + kEndMargin * m_freqMHz || f > m_high - kEndMargin * m_freqMHz;
    }

    // The rational model through the two-port's points, and the grid it is
    // searched on.
    bool fit() {
        std::vector<double> freqs;
        std::vector<std::complex<double>> values;
        m_antenna.coilUH = m_model.coilUH;
        m_antenna.coilOhm = m_model.coilOhm;
        for (const TwoPortPoint& port : m_ports) {
            freqs.push_back(port.freqMHz);
            values.push_back(loadedImpedance(port, coilLoadOhm(m_model, port.freqMHz)));
            m_antenna.solved.push_back(pointOf(freqs.back(), values.back(), m_z0Ohm));
        }
        const FrequencyRun sweep = designSweep(m_freqMHz, kSimulationSweepPoints);
        m_low = sweep.startMHz;
        m_high = sweep.startMHz + (sweep.count - 1) * sweep.stepMHz;
        m_impedance = RationalModel::through(freqs, values, m_low, m_high);
        if (!m_impedance) {
            return false;
        }
        m_reactance = [this](double f) { return (*m_impedance)(f).imag(); };
        m_swrExcess = [this](double f) {
            const std::complex<double> z = (*m_impedance)(f);
            return standingWaveRatio(z.real(), z.imag(), m_z0Ohm) - kSwrMark;
        };
        for (int i = 0; i < kSearchPoints; ++i) {
            const double f = m_low + (m_high - m_low) * i / (kSearchPoints - 1);
            m_grid.push_back(pointOf(f, (*m_impedance)(f), m_z0Ohm));
        }
        return true;
    }

    // The rising crossing of the reactance nearest F, as the direct search
    // takes it: the first root to check.
    bool findResonance() {
        std::optional<double> resonance;
        for (std::size_t i = 1; i < m_grid.size(); ++i) {
            const SimulatedPoint& a = m_grid[i - 1];
            const SimulatedPoint& b = m_grid[i];
            if (a.reactanceOhm < 0 && b.reactanceOhm >= 0) {
                const double root = bisected(m_reactance, a.freqMHz, b.freqMHz);
                if (!resonance || std::fabs(root - m_freqMHz) < std::fabs(*resonance - m_freqMHz)) {
                    resonance = root;
                }
            }
        }
        if (!resonance || nearEnd(*resonance)) {
            return false;
        }
        // A resonance the model puts on F (the corrected antenna's) is checked
        // by the solve at F that every antenna has.
        const bool resonanceOnF =
            std::fabs(*resonance - m_freqMHz) <= kFrequencyTolerance / 2 * m_freqMHz;
        m_roots.emplace_back(resonanceOnF ? m_freqMHz : *resonance, kFrequencyTolerance,
                             [this](double f) { return slopeOf(m_reactance, f); });
        return true;
    }

    // From from towards to, the first point where the SWR exceeds 2: the edge
    // there joins the roots to check (its index in index). False where the
    // edge or the sweep's end is too near to trust.
    template <typename Iterator>
    bool findEdge(Iterator from, Iterator to, std::optional<std::size_t>& index) {
        for (auto inside = from, outside = std::next(from); outside != to; ++inside, ++outside) {
            if (outside->swr > kSwrMark) {
                const double root = bisected(m_swrExcess, inside->freqMHz, outside->freqMHz);
                if (nearEnd(root)) {
                    return false;
                }
                index = m_roots.size();
                m_roots.emplace_back(root, kBandEdgeTolerance,
                                     [this](double f) { return slopeOf(m_swrExcess, f); });
                return true;
            }
        }
        // Beyond the sweep, unless the SWR at its end is near 2.
        return std::fabs(std::prev(to)->swr - kSwrMark) > kSwrMargin;
    }

    // The band: from the best SWR outwards to where it first exceeds 2.
    bool findBand() {
        const auto best = std::min_element(
            m_grid.begin(), m_grid.end(),
            [](const SimulatedPoint& a, const SimulatedPoint& b) { return a.swr < b.swr; });
        if (!(std::fabs(best->swr - kSwrMark) > kSwrMargin)) {
            return false;
        }
        if (best->swr < kSwrMark) {
            m_found = SwrBand{};
            const auto bestIndex = best - m_grid.begin();
            if (!findEdge(best, m_grid.end(), m_highEdge) ||
                !findEdge(m_grid.rbegin() + (m_grid.size() - 1 - bestIndex), m_grid.rend(),
                          m_lowEdge)) {
                return false;
            }
        }
        return true;
    }

    // The checks: the first solves F beside them, and takes F's solve for a
    // root checked there.
    bool check() {
        m_lastSolved.resize(m_roots.size());
        for (int round = 0; round < kMostChecks; ++round) {
            std::vector<FrequencyRun> runs;
            std::vector<std::size_t> checked;
            std::vector<std::size_t> checkedAtF;
            for (std::size_t i = 0; i < m_roots.size(); ++i) {
                if (m_roots[i].settled()) {
                    continue;
                }
                if (round == 0 && m_roots[i].next() == m_freqMHz) {
                    checkedAtF.push_back(i);
                } else {
                    runs.push_back({m_roots[i].next(), 0, 1});
                    checked.push_back(i);
                }
            }
            if (round == 0) {
                runs.push_back({m_freqMHz, 0, 1});
            } else if (runs.empty()) {
                break;
            }
            std::vector<SimulatedPoint> points = m_direct.solveSplit(
                m_model, runs, round == 0 ? &m_antenna.efficiencyPercent : nullptr);
            if (!closeToModel(points)) {
                return false;
            }
            if (round == 0) {
                m_antenna.atF = points.back();
                points.pop_back();
                insertByFrequency(m_antenna.solved, m_antenna.atF);
                for (const std::size_t i : checkedAtF) {
                    checked.push_back(i);
                    points.push_back(m_antenna.atF);
                }
            }
            if (!step(checked, points)) {
                return false;
            }
        }
        return std::all_of(m_roots.begin(), m_roots.end(),
                           [](const CheckedRoot& root) { return root.settled(); });
    }

    bool closeToModel(const std::vector<SimulatedPoint>& points) const {
        for (const SimulatedPoint& point : points) {
            const std::complex<double> z(point.resistanceOhm, point.reactanceOhm);
            if (std::abs(z - (*m_impedance)(point.freqMHz)) >
                kLargestResidualOhm + kLargestResidualShare * std::abs(z)) {
                return false;
            }
        }
        return true;
    }

    // Each checked root's step from its solve (points[k] for checked[k]).
    bool step(const std::vector<std::size_t>& checked, const std::vector<SimulatedPoint>& points) {
        for (std::size_t k = 0; k < checked.size(); ++k) {
            CheckedRoot& root = m_roots[checked[k]];
            const SimulatedPoint& point = points[k];
            const double g = checked[k] == 0 ? point.reactanceOhm : point.swr - kSwrMark;
            if (!root.take(g) || nearEnd(root.next())) {
                return false;
            }
            m_lastSolved[checked[k]] = point;
            if (point.freqMHz != m_freqMHz) {
                insertByFrequency(m_antenna.solved, point);
            }
        }
        return true;
    }

    // The curve: the model over the sweep; each answer as its last solve
    // moved along the model to it; F as solved.
    void draw(std::optional<SwrBand>* band) {
        for (int i = 0; i < kModelledSweepPoints; ++i) {
            const double f = m_low + (m_high - m_low) * i / (kModelledSweepPoints - 1);
            m_antenna.sweep.push_back(pointOf(f, (*m_impedance)(f), m_z0Ohm));
        }
        for (std::size_t i = 0; i < m_roots.size(); ++i) {
            const SimulatedPoint& solved = m_lastSolved[i];
            const std::complex<double> moved =
                std::complex<double>(solved.resistanceOhm, solved.reactanceOhm) +
                (*m_impedance)(m_roots[i].root()) - (*m_impedance)(solved.freqMHz);
            insertByFrequency(m_antenna.sweep, pointOf(m_roots[i].root(), moved, m_z0Ohm));
        }
        insertByFrequency(m_antenna.sweep, m_antenna.atF);
        m_antenna.resonanceMHz = m_roots[0].root();
        if (band != nullptr) {
            if (m_found) {
                if (m_lowEdge) {
                    m_found->lowMHz = m_roots[*m_lowEdge].root();
                }
                if (m_highEdge) {
                    m_found->highMHz = m_roots[*m_highEdge].root();
                }
            }
            *band = m_found;
        }
    }

    const DirectSearch& m_direct;
    const AntennaModel& m_model;
    const std::vector<TwoPortPoint>& m_ports;
    double m_freqMHz;
    double m_z0Ohm;
    SimulatedAntenna m_antenna;
    double m_low = 0;
    double m_high = 0;
    std::optional<RationalModel> m_impedance;
    std::function<double(double)> m_reactance;
    std::function<double(double)> m_swrExcess;
    std::vector<SimulatedPoint> m_grid;
    std::vector<CheckedRoot> m_roots; // the resonance first, then the band's edges
    std::vector<SimulatedPoint> m_lastSolved;
    std::optional<SwrBand> m_found;
    std::optional<std::size_t> m_lowEdge;
    std::optional<std::size_t> m_highEdge;
};

} // namespace

const TwoPortPoint& ModelSearch::portAtF() const {
    for (const TwoPortPoint& port : m_ports) {
        if (port.freqMHz == m_direct.freqMHz()) {
            return port;
        }
    }
    throw TwoPortShortfall("the two-port was not solved at F");
}

SimulatedPoint ModelSearch::atF(const AntennaModel& model) const {
    const double f = m_direct.freqMHz();
    return pointOf(f, loadedImpedance(portAtF(), coilLoadOhm(model, f)), m_direct.z0Ohm());
}

std::optional<SimulatedAntenna> ModelSearch::antenna(const AntennaModel& model,
                                                     std::optional<SwrBand>* band) const {
    return ModelledAntenna(m_direct, model, m_ports).solve(band);
}

std::optional<std::pair<double, double>>
ModelSearch::algebraicInductance(const AntennaModel& model) const {
    const TwoPortPoint& port = portAtF();
    const double start = model.coilUH;
    const double ohmPerUH = model.coilOhm / start;
    const double f = m_direct.freqMHz();
    const std::function<double(double)> reactance = [&](double coilUH) {
        return loadedImpedance(port, coilImpedance(coilUH, ohmPerUH * coilUH, f)).imag();
    };
    // The algebra's root only starts the checks by solves (here, or in the
    // orchestration's check of the corrected antenna), which settle it or
    // leave it to the direct search: whether it converged is theirs to say.
    const auto root = risingRoot(reactance, start, reactance(start), 1.25, 1e-12);
    if (!root) {
        return std::nullopt;
    }
    return std::pair{root->x, slopeOf(reactance, root->x)};
}

std::optional<double> ModelSearch::inductance(const AntennaModel& model) const {
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
        if (!(trial.coilUH > 0) ||
            !checked.take(m_direct.at(trial, m_direct.freqMHz()).reactanceOhm)) {
            return std::nullopt;
        }
    }
    return checked.settled() ? std::optional(checked.root()) : std::nullopt;
}

} // namespace tarvix::nec_detail
