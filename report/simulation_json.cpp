// The "simulation" object of the JSON report, and the whole report.
#include "calc/cut_list.h"
#include "report/advice_report.h"
#include "report/build_sheet.h"
#include "report/feedline_report.h"
#include "report/power_report.h"
#include "report/simulation_phrases.h"
#include "report/simulation_report.h"
#include "report/trim_report.h"

#include <cmath>
#include <optional>
#include <string>
#include <utility>

namespace tarvix {

namespace {

// The ground under the antenna; null in free space.
Json groundJson(const ModelOptions& model) {
    if (!model.heightFt) {
        return nullptr;
    }
    return Json{
        {"class", model.ground.className.empty() ? Json(nullptr) : Json(model.ground.className)},
        {"conductivity_S_per_m", model.ground.conductivitySPerM},
        {"permittivity", model.ground.permittivity}};
}

using simulation_phrases::kLeastEfficiencyPercent;

Json frequencyOrNull(const std::optional<double>& value) {
    return value ? Json(*value) : Json(nullptr);
}

Json impedanceJson(const SimulatedPoint& point) {
    return Json{{"r", point.resistanceOhm}, {"x", point.reactanceOhm}};
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
                 antennaUnitFromFeet(coilWireToCutIn(w) / kInchesPerFoot, units)},
                {"inductance_uH", coil.atF.inductanceUH},
                {"low_frequency_inductance_uH", coil.lowFrequencyUH},
                {"length_to_diameter", lengthIn / (w.formerDiaIn + w.wireDiaIn)},
                {"q", coil.atF.q},
                {"loss_ohm", coil.atF.resistanceOhm},
                {"self_resonance_MHz", coil.selfResonanceMHz},
                {"apparent_inductance_uH", coil.apparentUH},
                {"body_uH", coil.bodyUH},
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
                {"body_uH", coil.bodyUH},
                {"self_capacitance_pF", coil.selfCapacitancePF},
                {"q", coil.atF.q},
                {"self_resonance_MHz", coil.selfResonanceMHz},
                {"analyzer", analyzerJson(coil)},
                {"resonance_MHz", frequencyOrNull(check.antenna.resonanceMHz)},
                {"in_swr2_band", check.inSwr2Band},
                {"turns_for_resonance",
                 check.turnsForResonance ? Json(*check.turnsForResonance) : Json(nullptr)},
                {"power", stressJson(check.stress)}};
}

// The figures of one antenna, the formula's or the corrected.
Json antennaJson(const SimulatedAntenna& a) {
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
}

} // namespace

Json simulationJson(const SimulationOptions& options, const SimulationResult& result, Units units) {
    const std::string antennaUnit = antennaUnitName(units);
    const std::string coilUnit = coilUnitName(units);
    auto inAntennaUnit = [units](const std::optional<double>& feet) {
        return feet ? Json(antennaUnitFromFeet(*feet, units)) : Json(nullptr);
    };
    Json corrected = antennaJson(result.corrected);
    const bool wound = result.correctedWinding && result.correctedWinding->windingDone;
    corrected["turns"] =
        wound ? wholeNumber(result.correctedWinding->record.turnCount) : Json(nullptr);
    corrected["revised_length_" + coilUnit] =
        wound ? Json(reportedCoilLength(result.correctedWinding->record.revisedLengthIn, units))
              : Json(nullptr);

    Json object{
        {"engine", "nec2c"},
        {"segments", result.segments},
        {"height_" + antennaUnit, inAntennaUnit(options.model.heightFt)},
        {"end_height_" + antennaUnit,
         inAntennaUnit(options.model.heightFt
                           ? options.model.endHeightFt.value_or(*options.model.heightFt)
                           : std::optional<double>())},
        {"apex_angle_deg", result.apexAngleDeg ? Json(*result.apexAngleDeg) : Json(nullptr)},
        {"ground", groundJson(options.model)},
        {"insulation_" + coilUnit,
         options.model.insulation
             ? Json(coilUnitFromInches(options.model.insulation->thicknessIn, units))
             : Json(nullptr)},
        {"insulation_er",
         options.model.insulation ? Json(options.model.insulation->permittivity) : Json(nullptr)},
        {"coil_q", result.correctedCoilQ},
        {"coil_q_from", options.model.coilQGiven ? "given"
                        : options.build          ? "winding"
                                                 : "default"},
        {"coil_former",
         options.build ? Json(coilFormerName(options.build->former)) : Json(nullptr)},
        {"z0_ohm", options.z0Ohm}};
    object["formula"] = antennaJson(result.formula);
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
    object["feedline"] = feedLineJson(options, result, units);
    object["at_rig"] = atRigJson(options, result);
    object["power"] = powerJson(options, result);
    object["advice"] = adviceJson(result, units);
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
    Json object;
    // What to cut and wind comes first, where there is a winding to build.
    if (simulation != nullptr && simulation->build) {
        object["build_sheet"] = buildSheetJson(design, *simulation);
    }
    if (simulation != nullptr) {
        object["inputs"] = simulatedInputsJson(design, options);
    }
    object.update(designJson(design));
    if (simulation != nullptr) {
        object["simulation"] = simulationJson(options, *simulation, design.inputs.units);
    }
    if (trim != nullptr) {
        object["trim"] = trimJson(*trim, design.inputs.units);
    }
    return object.dump(2) + '\n';
}

} // namespace tarvix
