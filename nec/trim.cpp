// The trim from a measured resonance. Every search here is a rising crossing
// of the reactance, as in the simulation: at a fixed frequency the reactance
// rises with the antenna's length, with the coils' inductance and with the
// tips' length.
#include "nec/trim.h"

#include "calc/conversions.h"
#include "calc/units.h"
#include "nec/roots.h"

#include <cmath>
#include <functional>
#include <future>

namespace tarvix {

namespace {

// A measured resonance this far from F is not the designed antenna's.
constexpr double kFarthestMeasurement = 0.25;
// The fitted scale and the remedies are found to this fraction of themselves.
constexpr double kTrimTolerance = 1e-6;
// Quarter turns: what a builder can wind and count.
constexpr double kTurnStep = 0.25;
constexpr int kBisectionSteps = 60;

// The as-built antenna with a coil of this winding, its wire scaled.
class BuiltAntenna {
public:
    BuiltAntenna(const DesignResult& design, const SimulationOptions& options)
        : m_design(design), m_options(options) {}

    // With the winding across the coils' terminals.
    AntennaModel model(const CoilWinding& winding, double scale) const {
        return scaled(windingModel(m_design.record, CoilCircuit(winding), m_options.model), scale);
    }

    // With the coils' loss of the winding, or of the user's Q.
    AntennaModel model(double coilUH, double coilOhm, double scale) const {
        AntennaModel antenna = designModel(m_design.record, coilUH, m_options.model);
        if (!m_options.model.coilQGiven) {
            antenna.coilOhm = coilOhm;
        }
        return scaled(antenna, scale);
    }

private:
    static AntennaModel scaled(AntennaModel antenna, double scale) {
        antenna.totalLengthFt *= scale;
        antenna.centreToCoilFt *= scale;
        return antenna;
    }

    const DesignResult& m_design;
    const SimulationOptions& m_options;
};

// Where rising(x), between lo and hi, crosses target: bisection to the trim's
// tolerance.
Root crossing(const std::function<double(double)>& rising, double target, double lo, double hi) {
    return bisectedRoot([&](double x) { return rising(x) < target; }, lo, hi, kBisectionSteps,
                        kTrimTolerance);
}

std::string uh(double value) {
    return numberText(std::round(value * 1000) / 1000) + " uH";
}

const char* const kUnsettledSearch = " did not settle to its tolerance";

// One trim: the fitted model and each remedy, filled into the result.
class Trim {
public:
    Trim(const DesignResult& design, const SimulationOptions& options,
         const SimulationResult& simulation, double measuredMHz, NecEngine& engine)
        : m_f(design.record.freqMHz), m_z0(options.z0Ohm), m_engine(engine),
          m_built(simulation.build->winding), m_antenna(design, options) {
        m_result.measuredMHz = measuredMHz;
    }

    TrimResult run();

private:
    double reactance(const AntennaModel& model, double freqMHz) const {
        return solvePoint(model, freqMHz, m_z0, m_engine).reactanceOhm;
    }
    // The fitted model with each tip tip long, in the fitted model's lengths.
    AntennaModel withTip(double tip) const {
        AntennaModel model = m_fitted;
        model.totalLengthFt = 2 * (std::fabs(m_fitted.centreToCoilFt) + tip);
        return model;
    }
    double tipFt() const { return m_fitted.totalLengthFt / 2 - std::fabs(m_fitted.centreToCoilFt); }
    // The apparent inductance (self-capacitance included) of the built coil
    // with these turns at this pitch.
    double inductanceAt(double turns, double pitchIn) const {
        CoilWinding winding = m_built;
        winding.turns = turns;
        winding.pitchIn = pitchIn;
        return CoilCircuit(winding).atTerminals(m_f).apparentInductanceUH;
    }

    void fit();
    void windingRemedies();
    void turnsRemedy(double neededUH);
    void spreadRemedy(double neededUH);
    void tipRemedy();
    void sensitivities();
    TrimEffect effectOf(const AntennaModel& model) const;

    double m_f;
    double m_z0;
    NecEngine& m_engine;
    CoilWinding m_built;
    BuiltAntenna m_antenna;
    TrimResult m_result;
    double m_k = 1;
    AntennaModel m_fitted;
    CoilWinding m_turnsWinding;
    CoilWinding m_spreadWinding;
};

// The scale that moves the model's resonance to the measured frequency.
void Trim::fit() {
    const double measuredMHz = m_result.measuredMHz;
    const AntennaModel asBuilt = m_antenna.model(m_built, 1);
    const auto scale =
        risingRoot([&](double k) { return reactance(m_antenna.model(m_built, k), measuredMHz); }, 1,
                   reactance(asBuilt, measuredMHz), 1.02, kTrimTolerance);
    if (!scale || scale->x < 0.5 || scale->x > 2) {
        throw SimulationSearchError("no change of the antenna's length between half and twice "
                                    "makes the model resonate at " +
                                    numberText(measuredMHz) + " MHz");
    }
    if (!scale->converged) {
        throw SimulationSearchError("the fit of the model to the resonance at " +
                                    numberText(measuredMHz) + " MHz" + kUnsettledSearch);
    }
    m_k = scale->x;
    m_result.lengthScale = m_k;
    m_fitted = m_antenna.model(m_built, m_k);
    m_result.atMeasured = solvePoint(m_fitted, measuredMHz, m_z0, m_engine);
}

// The apparent inductance that brings the fitted antenna back to F, its loss
// growing with it at the built coil's apparent Q; the windings are then
// sought for that apparent inductance.
void Trim::windingRemedies() {
    m_turnsWinding = m_built;
    m_spreadWinding = m_built;
    const CoilAtTerminals builtCoil = CoilCircuit(m_built).atTerminals(m_f);
    const double builtUH = builtCoil.apparentInductanceUH;
    const double ohmPerUH = builtCoil.analyzerROhm / builtUH;
    const auto neededUH = risingRoot(
        [&](double coilUH) {
            return reactance(m_antenna.model(coilUH, coilUH * ohmPerUH, m_k), m_f);
        },
        builtUH, reactance(m_fitted, m_f), 1.1, kTrimTolerance);
    if (!neededUH) {
        m_result.turnsReason = m_result.spreadReason = "no coil inductance brings it to F";
    } else if (!neededUH->converged) {
        m_result.turnsReason = m_result.spreadReason =
            std::string("the search for the coil inductance that brings it to F") +
            kUnsettledSearch;
    } else {
        turnsRemedy(neededUH->x);
        spreadRemedy(neededUH->x);
    }
}

// More turns at the present pitch.
void Trim::turnsRemedy(double neededUH) {
    double most = m_built.turns;
    while (inductanceAt(most, m_built.pitchIn) < neededUH && most < 10000) {
        most *= 2;
    }
    if (inductanceAt(most, m_built.pitchIn) < neededUH) {
        m_result.turnsReason = "no winding at this pitch has " + uh(neededUH);
        return;
    }
    const Root turns =
        crossing([&](double n) { return inductanceAt(n, m_built.pitchIn); }, neededUH, 1, most);
    if (!turns.converged) {
        m_result.turnsReason = std::string("the search for the turns") + kUnsettledSearch;
        return;
    }
    m_turnsWinding.turns = std::max(kTurnStep, std::round(turns.x / kTurnStep) * kTurnStep);
    m_result.turnsChange = m_turnsWinding.turns - m_built.turns;
}

// The present turns, closer or wider: the inductance falls as they spread.
void Trim::spreadRemedy(double neededUH) {
    const double closest = enamelledDiameterIn(m_built.wireDiaIn);
    const double widest = kWidestSpread * closest;
    const double squeezedUH = inductanceAt(m_built.turns, closest);
    const double spreadUH = inductanceAt(m_built.turns, widest);
    if (neededUH > squeezedUH) {
        m_result.spreadReason = "close-wound the present turns have only " + uh(squeezedUH) +
                                " and it needs " + uh(neededUH) + ": add turns";
        return;
    }
    if (neededUH < spreadUH) {
        m_result.spreadReason = "spread to three wire diameters the present turns still have " +
                                uh(spreadUH) + " and it needs " + uh(neededUH) + ": remove turns";
        return;
    }
    const Root pitch = crossing([&](double p) { return -inductanceAt(m_built.turns, p); },
                                -neededUH, closest, widest);
    if (!pitch.converged) {
        m_result.spreadReason = std::string("the search for the spread") + kUnsettledSearch;
        return;
    }
    m_spreadWinding.pitchIn = pitch.x;
    m_result.windingLengthIn = m_spreadWinding.pitchIn * m_built.turns;
}

// The tips, keeping the coils: in the fitted model's lengths, then as built.
void Trim::tipRemedy() {
    const double tip0 = tipFt();
    try {
        const auto tip = risingRoot([&](double t) { return reactance(withTip(t), m_f); }, tip0,
                                    reactance(m_fitted, m_f), 1.1, kTrimTolerance);
        if (!tip) {
            m_result.tipReason = "no tip length brings it to F";
        } else if (!tip->converged) {
            m_result.tipReason = std::string("the search for the tip length") + kUnsettledSearch;
        } else {
            m_result.tipChangeFt = (tip->x - tip0) / m_k;
        }
    } catch (const NecDeckError&) {
        m_result.tipReason = "the tips would be too short to model";
    }
}

TrimEffect Trim::effectOf(const AntennaModel& model) const {
    TrimEffect effect;
    const SimulatedAntenna solved = simulateAntenna(model, m_f, m_z0, m_engine, &effect.swr2Band);
    effect.resonanceMHz = solved.resonanceMHz;
    effect.efficiencyPercent = solved.efficiencyPercent;
    return effect;
}

// For the next trim: the reactance's slope in frequency where the antenna
// resonates now, against a quarter turn and an inch of tip more.
void Trim::sensitivities() {
    const double measuredMHz = m_result.measuredMHz;
    const double step = measuredMHz * 1e-3;
    const double slope =
        (reactance(m_fitted, measuredMHz + step) - reactance(m_fitted, measuredMHz - step)) /
        (2 * step);
    CoilWinding quarterMore = m_built;
    quarterMore.turns += kTurnStep;
    const double atMeasured = m_result.atMeasured.reactanceOhm;
    m_result.khzPerQuarterTurn =
        -(reactance(m_antenna.model(quarterMore, m_k), measuredMHz) - atMeasured) / slope * 1000;
    m_result.khzPerInchOfTip =
        -(reactance(withTip(tipFt() + m_k / kInchesPerFoot), measuredMHz) - atMeasured) / slope *
        1000;
}

TrimResult Trim::run() {
    const int solvedBefore = m_engine.solveCount();
    fit();
    windingRemedies();
    tipRemedy();
    // What each remedy does to the band and the efficiency, solved side by side.
    std::future<TrimEffect> afterTurns, afterSpread, afterTip;
    if (m_result.turnsChange) {
        afterTurns = std::async(kSolveLaunch,
                                [&] { return effectOf(m_antenna.model(m_turnsWinding, m_k)); });
    }
    if (m_result.windingLengthIn) {
        afterSpread = std::async(kSolveLaunch,
                                 [&] { return effectOf(m_antenna.model(m_spreadWinding, m_k)); });
    }
    if (m_result.tipChangeFt) {
        afterTip = std::async(
            kSolveLaunch, [&] { return effectOf(withTip(tipFt() + *m_result.tipChangeFt * m_k)); });
    }
    sensitivities();
    if (afterTurns.valid()) {
        m_result.afterTurns = afterTurns.get();
    }
    if (afterSpread.valid()) {
        m_result.afterSpread = afterSpread.get();
    }
    if (afterTip.valid()) {
        m_result.afterTip = afterTip.get();
    }
    m_result.solves = m_engine.solveCount() - solvedBefore;
    return std::move(m_result);
}

} // namespace

TrimResult trimToMeasurement(const DesignResult& design, const SimulationOptions& options,
                             const SimulationResult& simulation, double measuredMHz,
                             NecEngine& engine) {
    const double f = design.record.freqMHz;
    if (!simulation.build) {
        throw SimulationSearchError("the trim needs the winding that was built (--former-dia)");
    }
    if (!(std::fabs(measuredMHz / f - 1) <= kFarthestMeasurement)) {
        throw SimulationSearchError(
            "a resonance at " + numberText(measuredMHz) + " MHz is more than 25 % from " +
            numberText(f) +
            " MHz: it is not this antenna's; check the analyzer's span and that "
            "it reads the antenna, not the feed line");
    }
    return Trim(design, options, simulation, measuredMHz, engine).run();
}

} // namespace tarvix
