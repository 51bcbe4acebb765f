// The orchestration of a design's simulation: which antennas are solved, in
// what order and side by side, and how their answers make the result. The
// two-port is solved first (with the tips a tenth shorter and longer beside
// it, for the tip change); the formula's antenna, its tip change and the
// windings to check then run beside the search for the corrected inductance
// and the winding to build for it. Without a winding to build, the corrected
// antenna is the search's own model with the algebra's inductance, and its
// solve at F checks that inductance too.
#include "calc/conversions.h"
#include "nec/design_advice.h"
#include "nec/nec_geometry.h"
#include "nec/simulation.h"
#include "nec/simulation_search.h"

#include <algorithm>
#include <cmath>
#include <future>
#include <numbers>
#include <utility>

namespace tarvix {

namespace {

using nec_detail::Simulation;
using nec_detail::TipNeighbours;

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

class DesignSimulation {
public:
    DesignSimulation(const DesignResult& design, const std::optional<WindingInputs>& winding,
                     const SimulationOptions& options, NecEngine& engine)
        : m_design(design), m_record(design.record), m_winding(winding), m_options(options),
          m_engine(engine), m_f(design.record.freqMHz), m_build(options.build),
          m_qFromWinding(options.build && !options.model.coilQGiven) {}

    SimulationResult run();

private:
    void modelFormula();
    std::future<std::optional<TipNeighbours>> solvePorts();
    std::future<WindingCheck> startCheck(const Simulation& simulation, const CoilWinding& winding);
    std::optional<double> checkAlgebraicInductance(const Simulation& simulation);
    double reactanceNeed(const Simulation& simulation, const CoilCircuit& circuit) const;
    void correct(const Simulation& simulation, double correctedUH, const WindingNeed& need);
    void finishChecks(std::future<WindingCheck>& windowCheck, std::future<WindingCheck>& givenCheck,
                      double correctedUH, const WindingNeed& need);
    void stressCoils();

    const DesignResult& m_design;
    const DesignRecord& m_record;
    const std::optional<WindingInputs>& m_winding;
    const SimulationOptions& m_options;
    NecEngine& m_engine;
    const double m_f;
    const std::optional<CoilBuild>& m_build;
    const bool m_qFromWinding;
    SimulationResult m_result;
    ModelOptions m_formulaOptions;
    AntennaModel m_formula;
    std::optional<std::vector<TwoPortPoint>> m_ports;
    // What a winding lacks at F by the two-port's algebra is moved by this,
    // what a solve of the winding found said the algebra lacks.
    double m_algebraOffsetOhm = 0;
    nec_detail::Unsettled m_unsettled;
};

// The formula's coils, wound as the corrected coil will be, set the Q of the
// search for the corrected coil.
void DesignSimulation::modelFormula() {
    m_result.formulaCoilQ = m_options.model.coilQ;
    if (m_qFromWinding) {
        const auto formulaWinding = windingOfInductance(
            m_record.inductanceUH, m_f, m_build->formerDiaIn, m_build->wireDiaIn, m_build->pitchIn);
        if (formulaWinding) {
            m_result.formulaCoilQ = coilAtFrequency(formulaWinding->winding, m_f).q;
            if (formulaWinding->warning) {
                m_unsettled.sentence(*formulaWinding->warning);
            }
        }
    }
    m_formulaOptions = m_options.model;
    m_formulaOptions.coilQ = m_result.formulaCoilQ;
    m_formula = designModel(m_record, m_record.inductanceUH, m_formulaOptions);
    m_result.segments = buildGeometry(m_formula).totalSegments;
    if (m_formula.heightFt) {
        m_result.apexAngleDeg = apexAngleDeg(m_formula);
    }
}

// The two-port, in two decks solved side by side; where it cannot be solved
// as one (the coils on the feed segment), or nec2c's listing of it lacks
// anything, every answer is solved directly. The tips a tenth shorter and
// longer are solved beside it: the tip change starts from them.
std::future<std::optional<TipNeighbours>> DesignSimulation::solvePorts() {
    std::future<std::optional<TipNeighbours>> neighbours;
    if (m_options.directSearch || buildGeometry(m_formula).coils.size() != 2) {
        return neighbours;
    }
    neighbours = std::async(kSolveLaunch, [this] {
        return nec_detail::tipNeighbours(m_formula, m_f, m_options.z0Ohm, m_engine);
    });
    const FrequencyRun sweep = designSweep(m_f, kSimulationSweepPoints);
    const double halfSpan = (sweep.count - 1) * sweep.stepMHz / 2;
    const std::vector<double> freqs = chebyshevFrequencies(m_f, halfSpan, kTwoPortFrequencies);
    const auto middle = freqs.begin() + static_cast<std::ptrdiff_t>(freqs.size() / 2);
    try {
        auto upper = std::async(kSolveLaunch, [&] {
            return tarvix::solveTwoPort(m_formula, std::vector<double>(middle, freqs.end()),
                                        m_engine);
        });
        m_ports =
            tarvix::solveTwoPort(m_formula, std::vector<double>(freqs.begin(), middle), m_engine);
        const std::vector<TwoPortPoint> more = upper.get();
        m_ports->insert(m_ports->end(), more.begin(), more.end());
    } catch (const TwoPortShortfall&) {
        m_ports.reset();
    }
    return neighbours;
}

// A winding checked in the antenna (the window's, or a coil already wound),
// solved beside the rest.
std::future<WindingCheck> DesignSimulation::startCheck(const Simulation& simulation,
                                                       const CoilWinding& winding) {
    return std::async(kSolveLaunch, [this, &simulation, winding] {
        const CoilCircuit circuit(winding);
        if (const auto warning = circuit.warning()) {
            m_unsettled.sentence(*warning);
        }
        const AntennaModel model = windingModel(m_record, circuit, m_options.model);
        WindingCheck checked;
        checked.coil = woundCoil(model, m_f);
        checked.antenna = simulation.characterise(model, nullptr);
        return checked;
    });
}

// Without a winding to build: the algebra's inductance, taken where the
// Newton step from the corrected antenna's solve at F is within half the
// tolerance, else the antenna is solved again a step on; none after two
// tries, and the inductance is then searched for on its own. Where taken, the
// antenna solved is the corrected one.
std::optional<double> DesignSimulation::checkAlgebraicInductance(const Simulation& simulation) {
    const auto algebraic = simulation.algebraicInductance(m_formula);
    if (!algebraic) {
        return std::nullopt;
    }
    auto [coilUH, slope] = *algebraic;
    for (int check = 0; check < 2 && coilUH > 0; ++check) {
        std::optional<SwrBand> band;
        SimulatedAntenna antenna =
            simulation.characterise(designModel(m_record, coilUH, m_formulaOptions), &band);
        const double step = -antenna.atF.reactanceOhm / slope;
        if (std::fabs(step) <= kSizeTolerance / 2 * coilUH) {
            m_result.corrected = std::move(antenna);
            m_result.swr2Band = band;
            return coilUH;
        }
        coilUH += step;
    }
    return std::nullopt;
}

// What a winding lacks at F: the antenna's reactance there, by the two-port's
// algebra, or without a two-port by a solve.
double DesignSimulation::reactanceNeed(const Simulation& simulation,
                                       const CoilCircuit& circuit) const {
    const AntennaModel model = windingModel(m_record, circuit, m_options.model);
    return m_ports ? simulation.modelledAtF(model).reactanceOhm + m_algebraOffsetOhm
                   : simulation.at(model, m_f).reactanceOhm;
}

// The corrected antenna: with a former, the winding to build for the
// corrected inductance across the coils' terminals. The algebra can lie an
// ohm or so from a solve of the antenna (over ground most), so the winding it
// finds is solved, and the search run again with the algebra moved by what
// the solve said.
void DesignSimulation::correct(const Simulation& simulation, double correctedUH,
                               const WindingNeed& need) {
    AntennaModel corrected = designModel(m_record, correctedUH, m_formulaOptions);
    if (m_build) {
        bool woundUnsettled = false;
        auto wound = windingForNeed(*m_build, m_f, correctedUH, need, &woundUnsettled);
        // The offset hardly changes between neighbouring windings: one round,
        // and the corrected antenna's own solves then say where the winding
        // found puts the resonance.
        if (m_ports && wound) {
            const AntennaModel built = windingModel(m_record, *wound, m_options.model);
            m_algebraOffsetOhm =
                simulation.at(built, m_f).reactanceOhm - simulation.modelledAtF(built).reactanceOhm;
            woundUnsettled = false;
            wound = windingForNeed(*m_build, m_f, correctedUH, need, &woundUnsettled);
        }
        if (wound && woundUnsettled) {
            m_unsettled.note("the winding to build");
        }
        if (wound) {
            if (const auto warning = wound->warning()) {
                m_unsettled.sentence(*warning);
            }
            // The antenna as built: the winding across the coils' terminals.
            corrected = windingModel(m_record, *wound, m_options.model);
            m_result.build = woundCoil(corrected, m_f);
            if (m_qFromWinding) {
                m_result.correctedCoilQ = m_result.build->atF.q;
            }
        } else {
            m_result.buildFault =
                "no winding of that wire on that former has " + numberText(correctedUH) + " uH";
        }
    }
    m_result.corrected = simulation.characterise(corrected, &m_result.swr2Band);
    // The search's answer, whatever the winding built for it has.
    m_result.corrected.coilUH = correctedUH;
}

void DesignSimulation::finishChecks(std::future<WindingCheck>& windowCheck,
                                    std::future<WindingCheck>& givenCheck, double correctedUH,
                                    const WindingNeed& need) {
    for (auto [future, checked] : {std::pair{&windowCheck, &m_result.windowWinding},
                                   std::pair{&givenCheck, &m_result.givenWinding}}) {
        if (future->valid()) {
            WindingCheck& done = checked->emplace(future->get());
            done.inSwr2Band = inBand(done.antenna.resonanceMHz, m_result.swr2Band);
            bool turnsUnsettled = false;
            done.turnsForResonance = turnsForNeed(*m_build, done.coil.winding.pitchIn, m_f,
                                                  correctedUH, need, &turnsUnsettled);
            if (done.turnsForResonance && turnsUnsettled) {
                m_unsettled.note("the turns that bring a checked winding to resonance");
            }
        }
    }
}

// What each coil carries at the power asked, by the two-port at F: the
// winding's impedance across its terminals (its loss, or the Q given, with
// its self-capacitance), or the ideal coil's.
void DesignSimulation::stressCoils() {
    if (!m_ports) {
        return;
    }
    const auto atF = std::find_if(m_ports->begin(), m_ports->end(), [this](const TwoPortPoint& p) {
        return std::fabs(p.freqMHz - m_f) <= 1e-9 * m_f;
    });
    if (atF == m_ports->end()) {
        return;
    }
    const auto terminals = [this](const WoundCoil& coil) {
        if (!m_options.model.coilQGiven) {
            return coil.analyzerOhm;
        }
        const double reactance = 2 * std::numbers::pi * m_f * coil.atF.inductanceUH;
        return withCapacitanceAcross({reactance / m_options.model.coilQ, reactance},
                                     coil.selfCapacitancePF, m_f);
    };
    const PowerOptions& power = m_options.power;
    if (m_result.build) {
        m_result.correctedStress =
            coilStress(*atF, terminals(*m_result.build), &m_result.build->winding, power);
    } else {
        m_result.correctedStress = coilStress(
            *atF, coilImpedance(m_result.corrected.coilUH, m_result.corrected.coilOhm, m_f),
            nullptr, power);
    }
    for (std::optional<WindingCheck>* check : {&m_result.windowWinding, &m_result.givenWinding}) {
        if (*check) {
            (*check)->stress =
                coilStress(*atF, terminals((*check)->coil), &(*check)->coil.winding, power);
        }
    }
}

SimulationResult DesignSimulation::run() {
    const int solvedBefore = m_engine.solveCount();
    const int frequenciesBefore = m_engine.frequencyCount();
    modelFormula();
    std::future<std::optional<TipNeighbours>> neighbours = solvePorts();
    const Simulation simulation(m_engine, m_f, m_options.z0Ohm, m_unsettled,
                                m_ports ? &*m_ports : nullptr);
    auto formulaAntenna =
        std::async(kSolveLaunch, [&] { return simulation.characterise(m_formula, nullptr); });
    const std::optional<SimulatedPoint> formulaAtF =
        m_ports ? std::nullopt : std::optional(simulation.at(m_formula, m_f));
    const std::optional<TipNeighbours> tipNeighbourhood =
        neighbours.valid() ? neighbours.get() : std::nullopt;
    auto tipChange = std::async(kSolveLaunch, [&] {
        return simulation.tipChangeFt(m_formula, formulaAtF, tipNeighbourhood);
    });
    std::future<WindingCheck> windowCheck;
    if (m_build && m_design.windingDone && m_record.turnCount > 0) {
        windowCheck = startCheck(simulation, windowWinding(m_record, *m_build));
    }
    std::future<WindingCheck> givenCheck;
    if (m_build && m_options.givenTurns) {
        givenCheck = startCheck(simulation, givenWinding(*m_options.givenTurns, *m_build));
    }

    m_result.correctedCoilQ = m_result.formulaCoilQ;
    const std::optional<double> checkedUH =
        m_build ? std::nullopt : checkAlgebraicInductance(simulation);
    const double correctedUH =
        checkedUH ? *checkedUH : simulation.correctedInductance(m_formula, formulaAtF);
    const WindingNeed need = [&](const CoilCircuit& circuit) {
        return reactanceNeed(simulation, circuit);
    };
    if (!checkedUH) {
        correct(simulation, correctedUH, need);
    }
    if (m_result.corrected.efficiencyPercent > 0) {
        m_result.lossDb = -10 * std::log10(m_result.corrected.efficiencyPercent / 100);
    }
    if (m_winding) {
        DesignResult wound = m_design;
        wound.record.inductanceUH = correctedUH;
        wound.fault.reset();
        runWinding(wound, *m_winding);
        m_result.correctedWinding = std::move(wound);
    }
    finishChecks(windowCheck, givenCheck, correctedUH, need);
    stressCoils();
    m_result.formula = formulaAntenna.get();
    m_result.tipChangeFt = tipChange.get();
    m_result.solves = m_engine.solveCount() - solvedBefore;
    m_result.frequencies = m_engine.frequencyCount() - frequenciesBefore;
    // The advice's one solve is not the simulation's: the counts stay those
    // of the design's own answers.
    m_result.advice = adviceReasons(m_f, m_result.corrected.efficiencyPercent, m_result.swr2Band);
    if (m_result.advice && m_ports && m_result.build) {
        m_result.advice->largerFormer =
            largerFormerChange(m_record, m_options, *m_ports, need, correctedUH, m_engine);
    }
    m_result.warnings = m_unsettled.warnings();
    return std::move(m_result);
}

} // namespace

SimulationResult simulateDesign(const DesignResult& design,
                                const std::optional<WindingInputs>& winding,
                                const SimulationOptions& options, NecEngine& engine) {
    if (!design.inductanceDone || !(design.record.inductanceUH > 0)) {
        throw NecDeckError("the formula gives no coil to simulate: the inductance is not above 0");
    }
    return DesignSimulation(design, winding, options, engine).run();
}

} // namespace tarvix
