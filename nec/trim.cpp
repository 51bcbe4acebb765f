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
    BuiltAntenna(const DesignResult& design, const SimulationOptions& options, double freqMHz)
        : m_design(design), m_options(options), m_freqMHz(freqMHz) {}

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

public:
private:
    const DesignResult& m_design;
    const SimulationOptions& m_options;
    double m_freqMHz;
};

// Bisection for x in [lo, hi] where rising(x) crosses target.
double bisect(const std::function<double(double)>& rising, double target, double lo, double hi) {
    for (int step = 0; step < kBisectionSteps && hi - lo > kTrimTolerance * hi; ++step) {
        const double mid = (lo + hi) / 2;
        (rising(mid) < target ? lo : hi) = mid;
    }
    return (lo + hi) / 2;
}

std::string uh(double value) {
    return numberText(std::round(value * 1000) / 1000) + " uH";
}

} // namespace

TrimResult trimToMeasurement(const DesignResult& design, const SimulationOptions& options,
                             const SimulationResult& simulation, double measuredMHz,
                             Nec2c& engine) {
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
    const int solvedBefore = engine.solveCount();
    const CoilWinding built = simulation.build->winding;
    const BuiltAntenna antenna(design, options, f);
    const double z0 = options.z0Ohm;
    auto reactance = [&](const AntennaModel& model, double freqMHz) {
        return solvePoint(model, freqMHz, z0, engine).reactanceOhm;
    };

    TrimResult result;
    result.measuredMHz = measuredMHz;

    // The scale that moves the model's resonance to the measured frequency.
    const AntennaModel asBuilt = antenna.model(built, 1);
    const auto scale =
        risingRoot([&](double k) { return reactance(antenna.model(built, k), measuredMHz); }, 1,
                   reactance(asBuilt, measuredMHz), 1.02, kTrimTolerance);
    if (!scale || *scale < 0.5 || *scale > 2) {
        throw SimulationSearchError("no change of the antenna's length between half and twice "
                                    "makes the model resonate at " +
                                    numberText(measuredMHz) + " MHz");
    }
    const double k = *scale;
    result.lengthScale = k;
    const AntennaModel fitted = antenna.model(built, k);
    result.atMeasured = solvePoint(fitted, measuredMHz, z0, engine);

    // The apparent inductance (self-capacitance included) that brings the
    // fitted antenna back to F, its loss growing with it at the built coil's
    // apparent Q; the windings are then sought for that apparent inductance.
    auto inductanceAt = [&](double turns, double pitchIn) {
        CoilWinding winding = built;
        winding.turns = turns;
        winding.pitchIn = pitchIn;
        return CoilCircuit(winding).atTerminals(f).apparentInductanceUH;
    };
    const CoilAtTerminals builtCoil = CoilCircuit(built).atTerminals(f);
    const double builtUH = builtCoil.apparentInductanceUH;
    const double ohmPerUH = builtCoil.analyzerROhm / builtUH;
    const auto neededUH = risingRoot(
        [&](double coilUH) { return reactance(antenna.model(coilUH, coilUH * ohmPerUH, k), f); },
        builtUH, reactance(fitted, f), 1.1, kTrimTolerance);

    CoilWinding turnsWinding = built;
    CoilWinding spreadWinding = built;
    if (!neededUH) {
        result.turnsReason = result.spreadReason = "no coil inductance brings it to F";
    } else {
        // More turns at the present pitch.
        double most = built.turns;
        while (inductanceAt(most, built.pitchIn) < *neededUH && most < 10000) {
            most *= 2;
        }
        if (inductanceAt(most, built.pitchIn) < *neededUH) {
            result.turnsReason = "no winding at this pitch has " + uh(*neededUH);
        } else {
            const double turns = bisect([&](double n) { return inductanceAt(n, built.pitchIn); },
                                        *neededUH, 1, most);
            turnsWinding.turns = std::max(kTurnStep, std::round(turns / kTurnStep) * kTurnStep);
            result.turnsChange = turnsWinding.turns - built.turns;
        }
        // The present turns, closer or wider: the inductance falls as they
        // spread.
        const double closest = enamelledDiameterIn(built.wireDiaIn);
        const double widest = kWidestSpread * closest;
        const double squeezedUH = inductanceAt(built.turns, closest);
        const double spreadUH = inductanceAt(built.turns, widest);
        if (*neededUH > squeezedUH) {
            result.spreadReason = "close-wound the present turns have only " + uh(squeezedUH) +
                                  " and it needs " + uh(*neededUH) + ": add turns";
        } else if (*neededUH < spreadUH) {
            result.spreadReason = "spread to three wire diameters the present turns still have " +
                                  uh(spreadUH) + " and it needs " + uh(*neededUH) +
                                  ": remove turns";
        } else {
            spreadWinding.pitchIn =
                bisect([&](double pitch) { return -inductanceAt(built.turns, pitch); }, -*neededUH,
                       closest, widest);
            result.windingLengthIn = spreadWinding.pitchIn * built.turns;
        }
    }

    // The tips, keeping the coils: in the fitted model's lengths, then as built.
    const double coilFt = std::fabs(fitted.centreToCoilFt);
    const double tipFt = fitted.totalLengthFt / 2 - coilFt;
    auto withTip = [&](double tip) {
        AntennaModel model = fitted;
        model.totalLengthFt = 2 * (coilFt + tip);
        return model;
    };
    try {
        const auto tip = risingRoot([&](double t) { return reactance(withTip(t), f); }, tipFt,
                                    reactance(fitted, f), 1.1, kTrimTolerance);
        if (tip) {
            result.tipChangeFt = (*tip - tipFt) / k;
        } else {
            result.tipReason = "no tip length brings it to F";
        }
    } catch (const NecDeckError&) {
        result.tipReason = "the tips would be too short to model";
    }

    // What each remedy does to the band and the efficiency, solved side by side.
    auto effectOf = [&](const AntennaModel& model) {
        TrimEffect effect;
        const SimulatedAntenna solved = simulateAntenna(model, f, z0, engine, &effect.swr2Band);
        effect.resonanceMHz = solved.resonanceMHz;
        effect.efficiencyPercent = solved.efficiencyPercent;
        return effect;
    };
    std::future<TrimEffect> afterTurns, afterSpread, afterTip;
    if (result.turnsChange) {
        afterTurns = std::async(std::launch::async,
                                [&] { return effectOf(antenna.model(turnsWinding, k)); });
    }
    if (result.windingLengthIn) {
        afterSpread = std::async(std::launch::async,
                                 [&] { return effectOf(antenna.model(spreadWinding, k)); });
    }
    if (result.tipChangeFt) {
        afterTip = std::async(std::launch::async,
                              [&] { return effectOf(withTip(tipFt + *result.tipChangeFt * k)); });
    }

    // For the next trim: the reactance's slope in frequency where the
    // antenna resonates now, against a quarter turn and an inch of tip more.
    const double step = measuredMHz * 1e-3;
    const double slope =
        (reactance(fitted, measuredMHz + step) - reactance(fitted, measuredMHz - step)) /
        (2 * step);
    CoilWinding quarterMore = built;
    quarterMore.turns += kTurnStep;
    const double atMeasured = result.atMeasured.reactanceOhm;
    result.khzPerQuarterTurn =
        -(reactance(antenna.model(quarterMore, k), measuredMHz) - atMeasured) / slope * 1000;
    result.khzPerInchOfTip =
        -(reactance(withTip(tipFt + k / kInchesPerFoot), measuredMHz) - atMeasured) / slope * 1000;

    if (afterTurns.valid()) {
        result.afterTurns = afterTurns.get();
    }
    if (afterSpread.valid()) {
        result.afterSpread = afterSpread.get();
    }
    if (afterTip.valid()) {
        result.afterTip = afterTip.get();
    }
    result.solves = engine.solveCount() - solvedBefore;
    return result;
}

} // namespace tarvix
