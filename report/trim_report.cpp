// Text and JSON forms of a trim.
#include "report/trim_report.h"

#include "calc/conversions.h"
#include "calc/units.h"
#include "report/build_sheet.h"
#include "report/simulation_phrases.h"
#include "report/simulation_report.h"

#include <cmath>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tarvix {

namespace {

// "2.1 % longer", "0.8 % shorter".
std::string assumption(double lengthScale) {
    const double percent = (lengthScale - 1) * 100;
    return "the antenna behaves as if its wire were " + fixedText(std::fabs(percent), 1) + " % " +
           (percent >= 0 ? "longer" : "shorter") +
           " than built (ground, nearby objects, the feed line and the real wire all act as a "
           "change of length)";
}

std::string turnsText(double turns) {
    return numberText(std::round(turns * 4) / 4);
}

// What a remedy leaves: its band and efficiency against the design's.
std::string effectText(const std::optional<TrimEffect>& effect, const SimulationResult& built) {
    if (!effect) {
        return "";
    }
    std::string text = ": ";
    if (effect->swr2Band && effect->swr2Band->lowMHz && effect->swr2Band->highMHz) {
        const double width = (*effect->swr2Band->highMHz - *effect->swr2Band->lowMHz) * 1000;
        text += "2:1 band " + fixedText(width, 0) + " kHz";
        if (built.swr2Band && built.swr2Band->lowMHz && built.swr2Band->highMHz) {
            const double builtWidth = (*built.swr2Band->highMHz - *built.swr2Band->lowMHz) * 1000;
            text += " (" + std::string(width >= builtWidth ? "+" : "-") +
                    fixedText(std::fabs(width - builtWidth), 0) + ")";
        }
    } else if (!effect->swr2Band) {
        text += "never 2:1";
    } else {
        text += "2:1 beyond the sweep";
    }
    text += ", efficiency " + fixedText(effect->efficiencyPercent, 1) + " % (" +
            (effect->efficiencyPercent >= built.corrected.efficiencyPercent ? "+" : "-") +
            fixedText(std::fabs(effect->efficiencyPercent - built.corrected.efficiencyPercent), 1) +
            ")";
    return text;
}

// Readings taken at the rig, and what they make at the antenna.
void writeThroughLine(std::ostream& out, const FeedLine& line, const TrimResult& trim,
                      const MeasuredReadings& readings, const AntennaReadings& antenna) {
    out << "Read at the rig through the line: the rig's SWR is least where the antenna's is, "
           "so "
        << numberText(trim.measuredMHz) << " MHz is taken as the antenna's SWR minimum"
        << " (the line loses " << fixedText(line.matchedLossDb(trim.measuredMHz), 2)
        << " dB there)";
    if (antenna.swr) {
        out << "; SWR " << numberText(*readings.swr) << " at the rig is "
            << fixedText(*antenna.swr, 2) << " at the antenna";
    }
    if (antenna.impedanceOhm) {
        out << "; " << numberText(*readings.resistanceOhm)
            << " ohm at the rig, taken as without reactance, is "
            << simulation_phrases::impedanceText(*antenna.impedanceOhm) << " at the antenna";
    }
    out << ".\n";
}

// Where the model resonates with the measured resonance, and what it shows
// there beside what was measured.
void writeMeasured(std::ostream& out, const SimulationOptions& options, const TrimResult& trim,
                   const MeasuredReadings& readings) {
    out << "\nTrim for the resonance measured at " << numberText(trim.measuredMHz) << " MHz:\n"
        << "The model resonates there when " << assumption(trim.lengthScale) << ".\n";
    out << "There it shows " << fixedText(trim.atMeasured.resistanceOhm, 1) << " ohm, SWR "
        << fixedText(trim.atMeasured.swr, 2) << " on " << numberText(options.z0Ohm) << " ohm";
    if (readings.swr || readings.resistanceOhm) {
        out << " (measured" << (options.feedLine ? " at the rig" : "") << ":";
        if (readings.resistanceOhm) {
            out << " " << numberText(*readings.resistanceOhm) << " ohm";
        }
        if (readings.swr) {
            out << (readings.resistanceOhm ? "," : "") << " SWR " << numberText(*readings.swr);
        }
        out << ")";
    }
    out << ".\n";
    std::optional<double> antennaOhm = readings.resistanceOhm;
    if (options.feedLine) {
        const AntennaReadings antenna =
            readingsAtAntenna(*options.feedLine, readings, trim.measuredMHz);
        writeThroughLine(out, *options.feedLine, trim, readings, antenna);
        antennaOhm =
            antenna.impedanceOhm ? std::optional(antenna.impedanceOhm->real()) : std::nullopt;
    }
    // The model counts the coils' and the wire's loss only.
    if (antennaOhm && *antennaOhm > 1.1 * trim.atMeasured.resistanceOhm) {
        out << "The resistance measured above the model's is loss the model does not count: "
               "the ground's, the feed line's, or poorer coils.\n";
    }
}

struct Remedy {
    std::string text;
    bool possible;
};

// The cheapest first: cutting the tips, when they must be shorter;
// otherwise spreading or squeezing the turns, then the turns, and the tips,
// which then need wire added, last.
std::vector<Remedy> remedies(const SimulationResult& simulation, const TrimResult& trim,
                             Units units) {
    const CoilWinding& built = simulation.build->winding;
    const bool cut = trim.tipChangeFt && *trim.tipChangeFt < 0;
    Remedy tips{trim.tipChangeFt
                    ? (std::string(*trim.tipChangeFt < 0 ? "Shorten" : "Lengthen") +
                       " each tip by " + simulation_phrases::tipChange(*trim.tipChangeFt, units) +
                       effectText(trim.afterTip, simulation))
                    : "The tips cannot do it: " + trim.tipReason,
                trim.tipChangeFt.has_value()};
    Remedy spread{
        trim.windingLengthIn
            ? (std::string(*trim.windingLengthIn > built.turns * built.pitchIn ? "Spread"
                                                                               : "Squeeze") +
               " the " + turnsText(built.turns) + " turns to " +
               simulation_phrases::coilText(*trim.windingLengthIn, units) + " (from " +
               simulation_phrases::coilText(built.turns * built.pitchIn, units) + ")" +
               effectText(trim.afterSpread, simulation))
            : "Spreading the turns cannot do it: " + trim.spreadReason,
        trim.windingLengthIn.has_value()};
    Remedy turns{trim.turnsChange
                     ? (std::string(*trim.turnsChange >= 0 ? "Add " : "Remove ") +
                        turnsText(std::fabs(*trim.turnsChange)) + " turn" +
                        (std::fabs(*trim.turnsChange) == 1 ? "" : "s") + " (" +
                        turnsText(built.turns + *trim.turnsChange) + " turns at the same pitch)" +
                        effectText(trim.afterTurns, simulation))
                     : "The turns cannot do it: " + trim.turnsReason,
                 trim.turnsChange.has_value()};
    if (cut) {
        return {tips, spread, turns};
    }
    return {spread, turns, tips};
}

// The remedies that can do it numbered in their order, then why the others
// cannot.
void writeRemedies(std::ostream& out, double freqMHz, const std::vector<Remedy>& remedies) {
    out << "Each of these alone brings it back to " << numberText(freqMHz)
        << " MHz; try them in this order:\n";
    int n = 0;
    for (const Remedy& remedy : remedies) {
        if (remedy.possible) {
            out << ++n << ". " << remedy.text << ".\n";
        }
    }
    for (const Remedy& remedy : remedies) {
        if (!remedy.possible) {
            out << remedy.text << ".\n";
        }
    }
}

void writeNextTrim(std::ostream& out, const TrimResult& trim, Units units) {
    const double perTip =
        units == Units::Metric ? trim.khzPerInchOfTip / 2.54 : trim.khzPerInchOfTip;
    out << "For the next trim: each quarter turn moves the resonance about "
        << fixedText(std::fabs(trim.khzPerQuarterTurn), 0) << " kHz "
        << (trim.khzPerQuarterTurn < 0 ? "down" : "up") << "; each "
        << (units == Units::Metric ? "10 mm" : "inch") << " of tip about "
        << fixedText(std::fabs(perTip), 0) << " kHz " << (perTip < 0 ? "down" : "up") << ".\n";
}

} // namespace

void writeTrimText(std::ostream& out, const DesignResult& design, const SimulationOptions& options,
                   const SimulationResult& simulation, const TrimResult& trim,
                   const MeasuredReadings& readings) {
    const Units units = design.inputs.units;
    writeMeasured(out, options, trim, readings);
    writeRemedies(out, design.record.freqMHz, remedies(simulation, trim, units));
    writeNextTrim(out, trim, units);
}

Json trimJson(const TrimResult& trim, Units units) {
    const bool metric = units == Units::Metric;
    auto orNull = [](const std::optional<double>& value) {
        return value ? Json(*value) : Json(nullptr);
    };
    auto inCoilUnit = [units](const std::optional<double>& inches) {
        return inches ? Json(coilUnitFromInches(*inches, units)) : Json(nullptr);
    };
    auto inAntennaUnit = [units](const std::optional<double>& feet) {
        return feet ? Json(antennaUnitFromFeet(*feet, units)) : Json(nullptr);
    };
    Json object{
        {"measured_MHz", trim.measuredMHz},
        {"assumption", assumption(trim.lengthScale)},
        {"length_scale", trim.lengthScale},
        {"turns_change", orNull(trim.turnsChange)},
        {metric ? "winding_length_mm" : "winding_length_in", inCoilUnit(trim.windingLengthIn)},
        {metric ? "tip_change_m" : "tip_change_ft", inAntennaUnit(trim.tipChangeFt)},
        {"khz_per_quarter_turn", trim.khzPerQuarterTurn},
        {metric ? "khz_per_cm_of_tip" : "khz_per_inch_of_tip",
         metric ? trim.khzPerInchOfTip / 2.54 : trim.khzPerInchOfTip},
        {"solves", trim.solves}};
    Json reasons = Json::object();
    if (!trim.turnsChange) {
        reasons["turns"] = trim.turnsReason;
    }
    if (!trim.windingLengthIn) {
        reasons["spread"] = trim.spreadReason;
    }
    if (!trim.tipChangeFt) {
        reasons["tips"] = trim.tipReason;
    }
    object["reasons"] = std::move(reasons);
    return object;
}

void writeSimulatedReportText(std::ostream& out, const DesignResult& design,
                              const SimulationOptions& options, const SimulationResult& simulation,
                              const TrimResult* trim, const MeasuredReadings& readings,
                              const std::string& heightControl) {
    writeBuildSheetText(out, design, options, simulation);
    writeDesignText(out, design, true);
    writeSimulationText(out, design, options, simulation, heightControl);
    if (trim != nullptr) {
        writeTrimText(out, design, options, simulation, *trim, readings);
    }
}

} // namespace tarvix
