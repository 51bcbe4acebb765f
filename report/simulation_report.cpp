// Text and JSON forms of a simulation.
#include "report/simulation_report.h"

#include "calc/conversions.h"
#include "calc/units.h"
#include "report/trim_report.h"

#include <cmath>
#include <complex>
#include <cstdio>
#include <ostream>
#include <string>

namespace tarvix {

namespace {

std::string mhz(double value) {
    return fixedText(value, 4) + " MHz";
}

std::string signedPercent(double value) {
    std::string text = value >= 0 ? "+" : "";
    text += fixedText(value, 2);
    text += " %";
    return text;
}

// Beyond 100 the SWR's digits tell nothing more (and a lossless mismatch
// makes it infinite).
constexpr double kHighestSwrShown = 100;

std::string swrText(double swr) {
    return swr <= kHighestSwrShown ? fixedText(swr, 2) : "above " + numberText(kHighestSwrShown);
}

std::string impedanceText(std::complex<double> ohm) {
    const std::string reactance = fixedText(std::fabs(ohm.imag()), 1);
    const bool negative = ohm.imag() < 0 && reactance != "0.0";
    return fixedText(ohm.real(), 1) + (negative ? " -j" : " +j") + reactance + " ohm";
}

std::string impedance(const SimulatedPoint& point) {
    return impedanceText({point.resistanceOhm, point.reactanceOhm});
}

std::string surroundings(const SimulationOptions& options, Units units) {
    std::string text;
    if (options.model.insulation) {
        text += "insulated copper wire (";
        text += numberText(coilUnitFromInches(options.model.insulation->thicknessIn, units));
        text += " ";
        text += coilUnitName(units);
        text += " thick, relative permittivity ";
        text += numberText(options.model.insulation->permittivity);
        text += ")";
    } else {
        text += "bare copper wire";
    }
    if (options.model.heightFt) {
        text += " ";
        text += numberText(antennaUnitFromFeet(*options.model.heightFt, units));
        text += " ";
        text += antennaUnitName(units);
        text += " over average ground";
    } else {
        text += " in free space";
    }
    return text;
}

// How much a tip changes: feet and inches, or centimetres in a metric report.
std::string tipChange(double feet, Units units) {
    if (units == Units::Metric) {
        return fixedText(std::fabs(metresFromFeet(feet)) * 100, 1) + " cm";
    }
    return feetAndInches(feet);
}

Json frequencyOrNull(const std::optional<double>& value) {
    return value ? Json(*value) : Json(nullptr);
}

Json impedanceJson(const SimulatedPoint& point) {
    return Json{{"r", point.resistanceOhm}, {"x", point.reactanceOhm}};
}

// Each lead of a coil, beyond the winding, when the wire is cut.
constexpr double kLeadIn = 3;
// Below this NEC's efficiency is rounding, or below zero.
constexpr double kLeastEfficiencyPercent = 0.1;

double wireToCutIn(const CoilWinding& winding) {
    return windingWireLengthIn(winding) + 2 * kLeadIn;
}

// A coil size in the report's units: "0.52 in", "13.2 mm".
std::string coilText(double inches, Units units, int decimals) {
    return fixedText(coilUnitFromInches(inches, units),
                     units == Units::Metric ? decimals - 1 : decimals) +
           " " + coilUnitName(units);
}

std::string turnsText(double turns) {
    return turns == std::floor(turns) ? fixedText(turns, 0) : fixedText(turns, 1);
}

std::string wireText(const CoilBuild& build, Units units) {
    return build.wireName.empty() ? coilText(build.wireDiaIn, units, 3) + " wire" : build.wireName;
}

std::string wireLengthText(double inches, Units units) {
    if (units == Units::Metric) {
        return fixedText(inches * kMetresPerInch, 2) + " m";
    }
    return feetAndInches(inches / 12);
}

// What the builder checks on the bench: an LCR meter's low-frequency
// inductance, and what an impedance analyzer across the coil reads at F.
std::string benchText(const WoundCoil& coil, double freqMHz) {
    return "an LCR meter reads " + fixedText(coil.lowFrequencyUH, 3) +
           " uH, and an analyzer across it at " + numberText(freqMHz) + " MHz reads " +
           impedanceText(coil.analyzerOhm) + ": " + fixedText(coil.apparentUH, 3) +
           " uH apparent (self-capacitance " + fixedText(coil.selfCapacitancePF, 2) +
           " pF, self-resonance " + fixedText(coil.selfResonanceMHz, 1) + " MHz)";
}

std::string selfResonanceWarning(const WoundCoil& coil, double freqMHz) {
    if (!(freqMHz * kSelfResonanceMargin > coil.selfResonanceMHz)) {
        return {};
    }
    return "Warning: the coil resonates by itself near " + fixedText(coil.selfResonanceMHz, 1) +
           " MHz, less than three times " + numberText(freqMHz) + " MHz: at " +
           numberText(freqMHz) +
           " MHz it acts as much more inductance than it has, and small changes of the winding "
           "move the antenna a lot. A larger former with fewer turns, spaced turns, thinner wire "
           "or the coils further out raise its self-resonance.\n";
}

std::string windingSentence(const WoundCoil& coil, const CoilBuild& build, double freqMHz,
                            Units units) {
    const CoilWinding& w = coil.winding;
    const double lengthIn = w.turns * w.pitchIn;
    std::string text = "Wind " + turnsText(w.turns) + " turns of " + wireText(build, units) +
                       " on the " + numberText(coilUnitFromInches(build.formerDiaIn, units)) + " " +
                       coilUnitName(units) + " former";
    if (build.pitchIn) {
        text += " at a pitch of " + coilText(w.pitchIn, units, 4) + " (" +
                coilText(lengthIn, units, 2) + " long)";
    } else {
        text += ", spread to " + coilText(lengthIn, units, 2) + " (pitch " +
                coilText(w.pitchIn, units, 4) + ")";
    }
    text += ": " + fixedText(coil.atF.inductanceUH, 3) + " uH at " + numberText(freqMHz) +
            " MHz, Q " + fixedText(coil.atF.q, 0) + ", length/diameter " +
            fixedText(lengthIn / (w.formerDiaIn + w.wireDiaIn), 2) + "; cut " +
            wireLengthText(wireToCutIn(w), units) + " of wire (" +
            (units == Units::Metric ? fixedText(millimetresFromInches(kLeadIn), 0) + " mm"
                                    : fixedText(kLeadIn, 0) + " in") +
            " for each lead); " + benchText(coil, freqMHz) + ".\n" +
            selfResonanceWarning(coil, freqMHz);
    return text;
}

Json analyzerJson(const WoundCoil& coil) {
    return Json{{"r_ohm", coil.analyzerOhm.real()}, {"x_ohm", coil.analyzerOhm.imag()}};
}

Json windingJson(const WoundCoil& coil, Units units) {
    const CoilWinding& w = coil.winding;
    const std::string unit = coilUnitName(units);
    const double lengthIn = w.turns * w.pitchIn;
    return Json{{"turns", wholeNumber(w.turns)},
                {"pitch_" + unit, coilUnitFromInches(w.pitchIn, units)},
                {"length_" + unit, coilUnitFromInches(lengthIn, units)},
                {units == Units::Metric ? "wire_length_m" : "wire_length_ft",
                 units == Units::Metric ? wireToCutIn(w) * kMetresPerInch : wireToCutIn(w) / 12},
                {"inductance_uH", coil.atF.inductanceUH},
                {"low_frequency_inductance_uH", coil.lowFrequencyUH},
                {"length_to_diameter", lengthIn / (w.formerDiaIn + w.wireDiaIn)},
                {"q", coil.atF.q},
                {"loss_ohm", coil.atF.resistanceOhm},
                {"self_resonance_MHz", coil.selfResonanceMHz},
                {"apparent_inductance_uH", coil.apparentUH},
                {"self_capacitance_pF", coil.selfCapacitancePF},
                {"analyzer", analyzerJson(coil)}};
}

// A winding checked in the antenna: the figures of the window's and of a coil
// already wound.
Json checkJson(const WindingCheck& check, Units units) {
    const WoundCoil& coil = check.coil;
    return Json{{"turns", wholeNumber(coil.winding.turns)},
                {std::string("pitch_") + coilUnitName(units),
                 coilUnitFromInches(coil.winding.pitchIn, units)},
                {"inductance_uH", coil.atF.inductanceUH},
                {"low_frequency_inductance_uH", coil.lowFrequencyUH},
                {"apparent_inductance_uH", coil.apparentUH},
                {"self_capacitance_pF", coil.selfCapacitancePF},
                {"q", coil.atF.q},
                {"self_resonance_MHz", coil.selfResonanceMHz},
                {"analyzer", analyzerJson(coil)},
                {"resonance_MHz", frequencyOrNull(check.antenna.resonanceMHz)},
                {"in_swr2_band", check.inSwr2Band},
                {"turns_for_resonance",
                 check.turnsForResonance ? Json(*check.turnsForResonance) : Json(nullptr)}};
}

// The winding a check is of, in words: "12 turns close-wound".
std::string checkedWindingText(const WindingCheck& check, Units units) {
    const CoilWinding& w = check.coil.winding;
    return turnsText(w.turns) + " turns " +
           (w.pitchIn <= enamelledDiameterIn(w.wireDiaIn)
                ? std::string("close-wound")
                : "at a pitch of " + coilText(w.pitchIn, units, 4));
}

// Where the antenna with a checked winding resonates, and the turns that
// bring it to F.
std::string checkedAntennaText(const WindingCheck& check, const std::string& atF) {
    std::string text;
    if (check.antenna.resonanceMHz) {
        text += ": that antenna resonates at " + mhz(*check.antenna.resonanceMHz) +
                (check.inSwr2Band ? ", inside" : ", outside") + " the 2:1 SWR band";
    } else {
        text += ": that antenna does not resonate between " +
                mhz(check.antenna.sweep.front().freqMHz) + " and " +
                mhz(check.antenna.sweep.back().freqMHz);
    }
    if (check.turnsForResonance) {
        text += "; " + turnsText(*check.turnsForResonance) +
                " turns at the same pitch bring it to " + atF;
    }
    return text + ".\n";
}

} // namespace

std::string feetAndInches(double feet) {
    const long tenths = std::lround(std::fabs(feet) * 120);
    const long wholeFeet = tenths / 120;
    const std::string inches = fixedText(static_cast<double>(tenths % 120) / 10, 1) + " in";
    return wholeFeet > 0 ? std::to_string(wholeFeet) + " ft " + inches : inches;
}

void writeSimulationText(std::ostream& out, const DesignResult& design,
                         const SimulationOptions& options, const SimulationResult& result,
                         const std::string& heightControl) {
    const Units units = design.inputs.units;
    const double f = design.record.freqMHz;
    const std::string atF = numberText(f) + " MHz";
    const bool qFromWinding = options.build && !options.model.coilQGiven;
    out << "\nSimulated (nec2c, " << result.segments << " segments, "
        << surroundings(options, units) << ", "
        << (!options.build ? "ideal coils of Q " + numberText(options.model.coilQ)
            : qFromWinding ? std::string("coils as wound, self-capacitance included")
                           : "coils as wound, of Q " + numberText(options.model.coilQ))
        << "):\n";
    if (result.build) {
        out << windingSentence(*result.build, *options.build, f, units);
    } else if (result.buildFault) {
        out << "No winding to build: " << *result.buildFault << ".\n";
    }
    if (!options.model.heightFt) {
        out << "An antenna over real ground resonates lower than in free space; " << heightControl
            << " models it.\n";
    }

    if (result.formula.resonanceMHz) {
        out << "The formula's coils resonate at " << mhz(*result.formula.resonanceMHz) << " ("
            << signedPercent((*result.formula.resonanceMHz / f - 1) * 100) << ").\n";
    } else {
        out << "The formula's coils do not resonate between "
            << mhz(result.formula.sweep.front().freqMHz) << " and "
            << mhz(result.formula.sweep.back().freqMHz) << ".\n";
    }

    out << "For resonance at " << atF << " each coil needs "
        << fixedText(result.corrected.coilUH, 3) << " uH";
    if (result.correctedWinding && result.correctedWinding->windingDone) {
        out << ": " << result.correctedWinding->turnsText << " turns, revised length "
            << revisedLengthText(result.correctedWinding->record.revisedLengthIn, units)
            << " by the window's winding";
    } else if (result.correctedWinding && result.correctedWinding->fault) {
        out << " (the winding faults: " << result.correctedWinding->fault->text << ")";
    }
    out << " (the formula: " << fixedText(design.record.inductanceUH, 3) << " uH).\n";
    if (result.corrected.resonanceMHz) {
        out << "Re-simulated" << (result.build ? " with the winding to build" : "")
            << ", the corrected antenna resonates at " << mhz(*result.corrected.resonanceMHz)
            << ".\n";
    }
    if (result.windowWinding) {
        const WindingCheck& check = *result.windowWinding;
        out << "The window's winding of the formula's coil, " << checkedWindingText(check, units)
            << ", has " << fixedText(check.coil.atF.inductanceUH, 3) << " uH at " << atF << " ("
            << fixedText(check.coil.apparentUH, 3) << " uH apparent)"
            << checkedAntennaText(check, atF);
    }
    if (result.givenWinding) {
        const WindingCheck& check = *result.givenWinding;
        out << "The coil already wound, " << checkedWindingText(check, units) << ", has "
            << fixedText(check.coil.atF.inductanceUH, 3) << " uH at " << atF << ", Q "
            << fixedText(check.coil.atF.q, 0) << "; " << benchText(check.coil, f)
            << checkedAntennaText(check, atF) << selfResonanceWarning(check.coil, f);
    }

    if (result.tipChangeFt) {
        const bool longer = *result.tipChangeFt >= 0;
        out << "Keeping the formula's coils instead, each tip must be "
            << tipChange(*result.tipChangeFt, units) << (longer ? " longer" : " shorter") << " ("
            << (longer ? "+" : "-")
            << fixedText(std::fabs(antennaUnitFromFeet(*result.tipChangeFt, units)), 3) << " "
            << antennaUnitName(units) << ").\n";
    } else {
        out << "Keeping the formula's coils, no tip length makes the antenna resonate at " << atF
            << ".\n";
    }

    out << "Feed point of the corrected antenna at " << atF << ": "
        << impedance(result.corrected.atF) << ", SWR " << swrText(result.corrected.atF.swr)
        << " on " << numberText(options.z0Ohm) << " ohm.\n";
    if (!result.swr2Band) {
        out << "The SWR on " << numberText(options.z0Ohm)
            << " ohm never comes down to 2:1; a matching network is needed.\n";
    } else {
        const SwrBand& band = *result.swr2Band;
        out << "2:1 SWR band: "
            << (band.lowMHz ? mhz(*band.lowMHz)
                            : "below " + mhz(result.corrected.sweep.front().freqMHz))
            << " to "
            << (band.highMHz ? mhz(*band.highMHz)
                             : "above " + mhz(result.corrected.sweep.back().freqMHz));
        if (band.lowMHz && band.highMHz) {
            out << " (" << fixedText((*band.highMHz - *band.lowMHz) * 1000, 0) << " kHz)";
        }
        out << ".\n";
    }
    out << "Radiation efficiency at " << atF << ": ";
    if (result.lossDb && result.corrected.efficiencyPercent >= kLeastEfficiencyPercent) {
        out << fixedText(result.corrected.efficiencyPercent, 1) << " % ("
            << fixedText(*result.lossDb, 2) << " dB lost in the coils and the wire";
    } else {
        out << "below " << numberText(kLeastEfficiencyPercent)
            << " % (nearly all the power is lost in the coils and the wire";
    }
    out << (options.model.heightFt ? "; the ground's loss is not counted" : "") << ").\n";
    for (const std::string& warning : result.warnings) {
        out << "Warning: " << warning << ".\n";
    }
}

Json simulationJson(const SimulationOptions& options, const SimulationResult& result, Units units) {
    const std::string antennaUnit = antennaUnitName(units);
    const std::string coilUnit = coilUnitName(units);
    auto inAntennaUnit = [units](const std::optional<double>& feet) {
        return feet ? Json(antennaUnitFromFeet(*feet, units)) : Json(nullptr);
    };
    auto antenna = [](const SimulatedAntenna& a) {
        Json object{{"inductance_uH", a.coilUH},
                    {"coil_loss_ohm", a.coilOhm},
                    {"resonance_MHz", frequencyOrNull(a.resonanceMHz)},
                    {"impedance_ohm", impedanceJson(a.atF)},
                    {"efficiency_percent", a.efficiencyPercent >= kLeastEfficiencyPercent
                                               ? Json(a.efficiencyPercent)
                                               : Json(nullptr)}};
        // JSON has no infinity: an SWR without a number is left out.
        if (std::isfinite(a.atF.swr)) {
            object["swr"] = a.atF.swr;
        }
        return object;
    };
    Json corrected = antenna(result.corrected);
    const bool wound = result.correctedWinding && result.correctedWinding->windingDone;
    corrected["turns"] =
        wound ? wholeNumber(result.correctedWinding->record.turnCount) : Json(nullptr);
    corrected["revised_length_" + coilUnit] =
        wound ? Json(reportedCoilLength(result.correctedWinding->record.revisedLengthIn, units))
              : Json(nullptr);

    Json object{{"engine", "nec2c"},
                {"segments", result.segments},
                {"height_" + antennaUnit, inAntennaUnit(options.model.heightFt)},
                {"insulation_" + coilUnit,
                 options.model.insulation
                     ? Json(coilUnitFromInches(options.model.insulation->thicknessIn, units))
                     : Json(nullptr)},
                {"insulation_er", options.model.insulation
                                      ? Json(options.model.insulation->permittivity)
                                      : Json(nullptr)},
                {"coil_q", result.correctedCoilQ},
                {"coil_q_from", options.model.coilQGiven ? "given"
                                : options.build          ? "winding"
                                                         : "default"},
                {"coil_former",
                 options.build ? Json(coilFormerName(options.build->former)) : Json(nullptr)},
                {"z0_ohm", options.z0Ohm}};
    object["formula"] = antenna(result.formula);
    object["corrected"] = std::move(corrected);
    object["tip_change_" + antennaUnit] = inAntennaUnit(result.tipChangeFt);
    if (result.build) {
        object["corrected"]["winding"] = windingJson(*result.build, units);
    }
    if (result.windowWinding) {
        object["window_winding"] = checkJson(*result.windowWinding, units);
    }
    if (result.givenWinding) {
        object["given_winding"] = checkJson(*result.givenWinding, units);
    }
    const bool efficient =
        result.lossDb && result.corrected.efficiencyPercent >= kLeastEfficiencyPercent;
    object["efficiency_percent"] =
        efficient ? Json(result.corrected.efficiencyPercent) : Json(nullptr);
    object["loss_dB"] = efficient ? Json(*result.lossDb) : Json(nullptr);
    if (result.swr2Band) {
        object["swr2_band_MHz"] = Json{{"low", frequencyOrNull(result.swr2Band->lowMHz)},
                                       {"high", frequencyOrNull(result.swr2Band->highMHz)}};
    } else {
        object["swr2_band_MHz"] = nullptr;
    }
    object["solves"] = result.solves;
    object["frequencies"] = result.frequencies;
    // Only where a search stopped short of its tolerance.
    if (!result.warnings.empty()) {
        object["warnings"] = result.warnings;
    }
    return object;
}

std::string reportJsonText(const DesignResult& design, const SimulationOptions& options,
                           const SimulationResult* simulation, const TrimResult* trim) {
    Json object = designJson(design);
    if (simulation != nullptr) {
        object["simulation"] = simulationJson(options, *simulation, design.inputs.units);
    }
    if (trim != nullptr) {
        object["trim"] = trimJson(*trim, design.inputs.units);
    }
    return object.dump(2) + '\n';
}

} // namespace tarvix
