// The "Simulated" block of the text report, section by section: the model,
// the formula's coils and their correction, the windings checked, the tips,
// the feed point and its band, and the efficiency.
#include "report/simulation_report.h"

#include "calc/conversions.h"
#include "calc/number_text.h"
#include "calc/units.h"
#include "report/advice_report.h"
#include "report/feedline_report.h"
#include "report/power_report.h"
#include "report/simulation_phrases.h"

#include <cmath>
#include <ostream>
#include <string>

namespace tarvix {

namespace {

using namespace simulation_phrases;

// A foot in quarter inches, the finest step of a wire length.
constexpr long kQuartersPerFoot = 48;

// What was simulated: the segments, the surroundings and the coils; the coil
// to wind; and the hint for a model in free space.
void writeModel(std::ostream& out, const DesignResult& design, const SimulationOptions& options,
                const SimulationResult& result, const std::string& heightControl) {
    const Units units = design.inputs.units;
    const bool qFromWinding = options.build && !options.model.coilQGiven;
    out << "\nSimulated (nec2c, " << result.segments << " segments, "
        << surroundings(options, units)
        << (options.model.endHeightFt && result.apexAngleDeg
                ? " (the legs " + fixedText(*result.apexAngleDeg, 0) + " degrees apart)"
                : std::string())
        << ", "
        << (!options.build ? "ideal coils of Q " + numberText(options.model.coilQ)
            : qFromWinding ? std::string("coils as wound, self-capacitance included")
                           : "coils as wound, of Q " + numberText(options.model.coilQ))
        << "):\n";
    if (result.build) {
        out << windingSentence(*result.build, *options.build, design.record.freqMHz, units);
    } else if (result.buildFault) {
        out << "No winding to build: " << *result.buildFault << ".\n";
    }
    if (!options.model.heightFt) {
        out << "An antenna over real ground resonates lower than in free space; " << heightControl
            << " models it.\n";
    }
}

// Where the formula's coils resonate, and the coils that bring the antenna
// to F.
void writeCorrection(std::ostream& out, const DesignResult& design, const SimulationResult& result,
                     const std::string& atF) {
    const Units units = design.inputs.units;
    const double f = design.record.freqMHz;
    if (result.formula.resonanceMHz) {
        out << "The formula's coils resonate at " << mhz(*result.formula.resonanceMHz) << " ("
            << signedPercent((*result.formula.resonanceMHz / f - 1) * 100) << ").\n";
    } else {
        out << "The formula's coils do not resonate between "
            << mhz(result.formula.sweep.front().freqMHz) << " and "
            << mhz(result.formula.sweep.back().freqMHz) << ".\n";
    }

    out << "For resonance at " << atF << " each coil needs "
        << inductanceText(result.corrected.coilUH, design.record.inductanceUH);
    if (result.correctedWinding && result.correctedWinding->windingDone) {
        out << ": " << result.correctedWinding->turnsText << " turns, revised length "
            << revisedLengthText(result.correctedWinding->record.revisedLengthIn, units)
            << " by the calculator's classic winding";
    } else if (result.correctedWinding && result.correctedWinding->fault) {
        out << " (the winding faults: " << result.correctedWinding->fault->text << ")";
    }
    out << " (the formula: " << inductanceText(design.record.inductanceUH, result.corrected.coilUH)
        << ").\n";
    if (result.corrected.resonanceMHz) {
        out << "Re-simulated" << (result.build ? " with the winding to build" : "")
            << ", the corrected antenna resonates at " << mhz(*result.corrected.resonanceMHz)
            << ".\n";
    }
}

// The calculator's classic winding of the formula's coil, and a coil already wound.
void writeWindingChecks(std::ostream& out, const SimulationResult& result, double f,
                        const std::string& atF, Units units) {
    if (result.windowWinding) {
        const WindingCheck& check = *result.windowWinding;
        out << "The calculator's classic winding of the formula's coil, "
            << checkedWindingText(check, units) << ", has "
            << inductanceText(check.coil.atF.inductanceUH) << " at " << atF << " ("
            << inductanceText(check.coil.apparentUH, check.coil.atF.inductanceUH) << " apparent)"
            << checkedAntennaText(check, atF);
    }
    if (result.givenWinding) {
        const WindingCheck& check = *result.givenWinding;
        out << "The coil already wound, " << checkedWindingText(check, units) << ", has "
            << inductanceText(check.coil.atF.inductanceUH) << " at " << atF << ", Q "
            << fixedText(check.coil.atF.q, 0) << "; " << benchText(check.coil, f)
            << bodyText(check.coil) << checkedAntennaText(check, atF)
            << selfResonanceWarning(check.coil, f);
    }
}

// The other way to resonance: the formula's coils kept, the tips changed.
void writeTipChange(std::ostream& out, const SimulationResult& result, const std::string& atF,
                    Units units) {
    if (result.tipChangeFt) {
        const bool longer = *result.tipChangeFt >= 0;
        out << "Keeping the formula's coils instead, each tip must be "
            << tipChange(*result.tipChangeFt, units) << (longer ? " longer" : " shorter") << ".\n";
    } else {
        out << "Keeping the formula's coils, no tip length makes the antenna resonate at " << atF
            << ".\n";
    }
}

// The corrected antenna's feed point at F and its 2:1 SWR band.
void writeFeedPoint(std::ostream& out, const SimulationOptions& options,
                    const SimulationResult& result, const std::string& atF) {
    out << "Feed point of the corrected antenna at " << atF << ": "
        << impedance(result.corrected.atF) << ", SWR " << swrText(result.corrected.atF.swr)
        << " on " << numberText(options.z0Ohm) << " ohm.\n";
    if (!result.swr2Band) {
        out << "The SWR on " << numberText(options.z0Ohm)
            << " ohm never comes down to 2:1; a matching network is needed.\n";
        return;
    }
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

void writeEfficiency(std::ostream& out, const SimulationOptions& options,
                     const SimulationResult& result, const std::string& atF) {
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

} // namespace

std::string feetAndInches(double feet) {
    const long quarters = std::lround(std::fabs(feet) * kInchesPerFoot * 4);
    const long wholeFeet = quarters / (kQuartersPerFoot);
    const long inchQuarters = quarters % kQuartersPerFoot;
    std::string inches = std::to_string(inchQuarters / 4);
    if (const long quarter = inchQuarters % 4; quarter != 0) {
        const char* fraction = quarter == 1 ? "1/4" : quarter == 2 ? "1/2" : "3/4";
        inches = inchQuarters < 4 ? fraction : inches + " " + fraction;
    }
    inches += " in";
    return wholeFeet > 0 ? std::to_string(wholeFeet) + " ft " + inches : inches;
}

void writeSimulationText(std::ostream& out, const DesignResult& design,
                         const SimulationOptions& options, const SimulationResult& result,
                         const std::string& heightControl) {
    const Units units = design.inputs.units;
    const double f = design.record.freqMHz;
    const std::string atF = numberText(f) + " MHz";
    writeModel(out, design, options, result, heightControl);
    writeCorrection(out, design, result, atF);
    writeWindingChecks(out, result, f, atF, units);
    writeTipChange(out, result, atF, units);
    writeFeedPoint(out, options, result, atF);
    writeFeedLineText(out, options, result, units);
    writeEfficiency(out, options, result, atF);
    writePowerText(out, options, result);
    writeAdviceText(out, options, result, units);
}

} // namespace tarvix
