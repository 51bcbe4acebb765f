// The phrases of the simulation's sentences.
#include "report/simulation_phrases.h"

#include "calc/conversions.h"
#include "calc/cut_list.h"
#include "calc/number_text.h"
#include "calc/units.h"
#include "report/design_report.h"
#include "report/simulation_report.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <string>

namespace tarvix::simulation_phrases {

namespace {

// Beyond 100 the SWR's digits tell nothing more (and a lossless mismatch
// makes it infinite).
constexpr double kHighestSwrShown = 100;
// A coil of 100 mm or more is measured with a rule to the millimetre.
constexpr double kWholeMillimetresFrom = 100;
// A metric wire length is cut to this (metres).
constexpr double kWireStepM = 0.005;
// An inductance's significant figures, and the most decimals it is given to
// tell it from another.
constexpr int kInductanceFigures = 3;
constexpr int kMostInductanceDecimals = 3;
// The coil's body is told where it adds this share of the apparent
// inductance or more.
constexpr double kBodyShare = 0.01;

} // namespace

std::string coilText(double inches, Units units) {
    if (units == Units::Metric) {
        // Whole millimetres from what rounds to 100.0 mm, so that no length
        // reads "100.0 mm" and the next "100 mm".
        const double mm = millimetresFromInches(inches);
        const bool whole = std::fabs(std::round(mm * 10) / 10) >= kWholeMillimetresFrom;
        return fixedText(mm, whole ? 0 : 1) + " mm";
    }
    return fixedText(inches, 2) + " in";
}

std::string caliperText(double inches, Units units) {
    return units == Units::Metric ? fixedText(millimetresFromInches(inches), 2) + " mm"
                                  : fixedText(inches, 3) + " in";
}

std::string coilText(double inches, Units units, int decimals) {
    return decimals <= 2 ? coilText(inches, units) : caliperText(inches, units);
}

std::string wireText(const CoilBuild& build, Units units) {
    return build.wireName.empty() ? caliperText(build.wireDiaIn, units) + " wire" : build.wireName;
}

std::string endLengthText(double inches, Units units) {
    return units == Units::Metric ? fixedText(millimetresFromInches(inches), 0) + " mm"
                                  : numberText(inches) + " in";
}

std::string wireLengthText(double inches, Units units) {
    if (units == Units::Metric) {
        const double metres = std::round(inches * kMetresPerInch / kWireStepM) * kWireStepM;
        return fixedText(metres, 3) + " m";
    }
    return feetAndInches(inches / kInchesPerFoot);
}

std::string tipChange(double feet, Units units) {
    return wireLengthText(std::fabs(feet) * kInchesPerFoot, units);
}

std::string inductanceText(double uH, double other) {
    const int magnitude = uH > 0 ? static_cast<int>(std::floor(std::log10(uH))) : 0;
    int decimals = std::clamp(kInductanceFigures - 1 - magnitude, 0, kMostInductanceDecimals);
    while (decimals < kMostInductanceDecimals && other > 0 &&
           fixedText(uH, decimals) == fixedText(other, decimals)) {
        ++decimals;
    }
    return fixedText(uH, decimals) + " uH";
}

std::string mhz(double value) {
    return fixedText(value, 4) + " MHz";
}

std::string signedPercent(double value) {
    std::string text = value >= 0 ? "+" : "";
    text += fixedText(value, 2);
    text += " %";
    return text;
}

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
        text += " over ";
        text += groundText(options.model.ground);
        if (options.model.endHeightFt) {
            text += ", an inverted V with its tips at ";
            text += numberText(antennaUnitFromFeet(*options.model.endHeightFt, units));
            text += " ";
            text += antennaUnitName(units);
        }
    } else {
        text += " in free space";
    }
    return text;
}

std::string turnsText(double turns) {
    return turns == std::floor(turns) ? fixedText(turns, 0) : fixedText(turns, 1);
}

// What the builder checks on the bench: an LCR meter's low-frequency
// inductance, and what an impedance analyzer across the coil reads at F.
std::string benchText(const WoundCoil& coil, double freqMHz) {
    return "an LCR meter reads " + inductanceText(coil.lowFrequencyUH, coil.atF.inductanceUH) +
           ", and an analyzer across it at " + numberText(freqMHz) + " MHz reads " +
           impedanceText(coil.analyzerOhm) + ": " +
           inductanceText(coil.apparentUH, coil.atF.inductanceUH) + " apparent (self-capacitance " +
           fixedText(coil.selfCapacitancePF, 2) + " pF, self-resonance " +
           fixedText(coil.selfResonanceMHz, 1) + " MHz)";
}

// What the coil's body adds in the antenna, where it is 1 % of what the
// analyzer reads or more: the antenna needs that much more than the bench
// shows.
std::string bodyText(const WoundCoil& coil) {
    if (!(coil.bodyUH >= kBodyShare * coil.apparentUH)) {
        return {};
    }
    return "; in the antenna its body, a cylinder where the wire would be, acts as " +
           inductanceText(coil.bodyUH) + " more";
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
        text += " at a pitch of " + caliperText(w.pitchIn, units) + " (" +
                coilText(lengthIn, units) + " long)";
    } else {
        text += ", spread to " + coilText(lengthIn, units) + " (pitch " +
                caliperText(w.pitchIn, units) + ")";
    }
    text += ": " + inductanceText(coil.atF.inductanceUH) + " at " + numberText(freqMHz) +
            " MHz, Q " + fixedText(coil.atF.q, 0) + ", length/diameter " +
            fixedText(lengthIn / (w.formerDiaIn + w.wireDiaIn), 2) + "; cut " +
            wireLengthText(coilWireToCutIn(w), units) + " of wire (" +
            endLengthText(kCoilLeadIn, units) + " for each lead); " + benchText(coil, freqMHz) +
            bodyText(coil) + ".\n" + selfResonanceWarning(coil, freqMHz);
    return text;
}

std::string checkedWindingText(const WindingCheck& check, Units units) {
    const CoilWinding& w = check.coil.winding;
    return turnsText(w.turns) + " turns " +
           (w.pitchIn <= enamelledDiameterIn(w.wireDiaIn)
                ? std::string("close-wound")
                : "at a pitch of " + caliperText(w.pitchIn, units));
}

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

} // namespace tarvix::simulation_phrases
