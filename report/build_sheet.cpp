// The build sheet's sentences and keys, from the cut list and the winding.
#include "report/build_sheet.h"

#include "calc/cut_list.h"
#include "calc/number_text.h"
#include "calc/units.h"
#include "nec/design_model.h"
#include "report/feedline_report.h"
#include "report/simulation_phrases.h"

#include <cmath>
#include <optional>
#include <ostream>
#include <string>

namespace tarvix {

namespace {

using namespace simulation_phrases;

std::optional<CutList> cutListOf(const DesignResult& design, const SimulationResult& result) {
    if (!result.build) {
        return std::nullopt;
    }
    return cutList(design.record.totalLengthFt, design.record.centreToCoilFt,
                   result.build->winding);
}

std::string antennaWireText(const DesignResult& design, Units units) {
    const auto name = gaugeName(design.inputs.antennaWire, design.record.antennaSwg);
    return name ? *name : caliperText(design.record.antennaWireDiaIn, units) + " wire";
}

// "a 2 in PVC pipe": what the coil is wound on, in a builder's words.
std::string formerText(const CoilBuild& build, Units units) {
    const std::string size =
        numberText(coilUnitFromInches(build.formerDiaIn, units)) + " " + coilUnitName(units);
    switch (build.former) {
    case CoilFormer::air:
        return "a " + size + " former, then slid off it (air-cored)";
    case CoilFormer::solidRod:
        return "a " + size + " solid rod";
    case CoilFormer::pvcPipe:
        break;
    }
    return "a " + size + " PVC pipe";
}

void writeWires(std::ostream& out, const DesignResult& design, const CutList& cut, Units units) {
    out << "Cut the antenna wire (" << antennaWireText(design, units) << ") in four pieces, each "
        << endLengthText(kWireEndAllowanceIn, units)
        << " longer at each end for its loop at an insulator or a coil's terminal:\n";
    if (cut.feedToCoilFt) {
        out << "  2 pieces of " << wireLengthText(*cut.feedToCoilFt * kInchesPerFoot, units)
            << ", from the feed point to a coil;\n";
    } else {
        out << "  none from the feed point: the coils start there;\n";
    }
    out << "  2 pieces of " << wireLengthText(cut.coilToTipFt * kInchesPerFoot, units)
        << ", from a coil to a tip.\n";
    out << "B (" << numberText(antennaUnitFromFeet(std::fabs(design.record.centreToCoilFt), units))
        << " " << antennaUnitName(units) << ") runs to each coil's centre; each coil is "
        << coilText(cut.coilLengthIn, units) << " long.\n";
}

void writeExpectation(std::ostream& out, const SimulationOptions& options,
                      const SimulationResult& result, double f) {
    const SimulatedAntenna& antenna = result.corrected;
    out << "Expect: resonance "
        << (antenna.resonanceMHz ? mhz(*antenna.resonanceMHz) : std::string("not in the sweep"));
    if (result.swr2Band && result.swr2Band->lowMHz && result.swr2Band->highMHz) {
        out << ", 2:1 SWR from " << mhz(*result.swr2Band->lowMHz) << " to "
            << mhz(*result.swr2Band->highMHz);
    }
    out << ", SWR " << swrText(antenna.atF.swr) << " at " << numberText(f) << " MHz";
    if (antenna.efficiencyPercent >= kLeastEfficiencyPercent) {
        out << ", radiation efficiency " << fixedText(antenna.efficiencyPercent, 1) << " %";
    }
    out << ".";
    if (const std::string rig = rigExpectationText(options, result, f); !rig.empty()) {
        out << " " << rig;
    }
    out << "\n";
}

Json orNull(const std::optional<double>& value) {
    return value ? Json(*value) : Json(nullptr);
}

} // namespace

void writeBuildSheetText(std::ostream& out, const DesignResult& design,
                         const SimulationOptions& options, const SimulationResult& result) {
    const std::optional<CutList> cut = cutListOf(design, result);
    if (!cut || !options.build) {
        return;
    }
    const Units units = design.inputs.units;
    const double f = design.record.freqMHz;
    const WoundCoil& coil = *result.build;
    out << "Build sheet (the coils as wound, from the simulation) for F = " << numberText(f)
        << " MHz, A = " << numberText(antennaUnitFromFeet(design.record.totalLengthFt, units))
        << " " << antennaUnitName(units) << " tip to tip, B = "
        << numberText(antennaUnitFromFeet(std::fabs(design.record.centreToCoilFt), units)) << " "
        << antennaUnitName(units) << ":\n";
    writeWires(out, design, *cut, units);
    out << "Wind each coil: " << turnsText(coil.winding.turns) << " turns of "
        << wireText(*options.build, units) << " on " << formerText(*options.build, units)
        << ", spread to " << coilText(cut->coilLengthIn, units) << "; cut "
        << wireLengthText(cut->coilWireIn, units) << " of wire for each, its leads included.\n";
    writeExpectation(out, options, result, f);
    out << "Bench check: an analyzer across each coil at " << numberText(f) << " MHz reads "
        << impedanceText(coil.analyzerOhm) << "; an LCR meter reads "
        << inductanceText(coil.lowFrequencyUH, coil.atF.inductanceUH) << ".\n\n";
}

Json buildSheetJson(const DesignResult& design, const SimulationResult& result) {
    const std::optional<CutList> cut = cutListOf(design, result);
    if (!cut) {
        return nullptr;
    }
    const Units units = design.inputs.units;
    const bool metric = units == Units::Metric;
    const std::string wireUnit = metric ? "_m" : "_ft";
    const std::string coilUnit = std::string("_") + coilUnitName(units);
    const auto wireLength = [units](double feet) { return antennaUnitFromFeet(feet, units); };
    const SimulatedAntenna& antenna = result.corrected;
    Json band = nullptr;
    if (result.swr2Band) {
        band = Json{{"low", orNull(result.swr2Band->lowMHz)},
                    {"high", orNull(result.swr2Band->highMHz)}};
    }
    return Json{{"wires",
                 {{"feed_to_coil" + wireUnit,
                   cut->feedToCoilFt ? Json(wireLength(*cut->feedToCoilFt)) : Json(nullptr)},
                  {"coil_to_tip" + wireUnit, wireLength(cut->coilToTipFt)},
                  {"allowance" + coilUnit, coilUnitFromInches(cut->allowanceIn, units)}}},
                {"coil",
                 {{"turns", wholeNumber(result.build->winding.turns)},
                  {"length" + coilUnit, coilUnitFromInches(cut->coilLengthIn, units)},
                  {"wire_length" + wireUnit, wireLength(cut->coilWireIn / kInchesPerFoot)}}},
                {"expect",
                 {{"resonance_MHz", orNull(antenna.resonanceMHz)},
                  {"swr2_band_MHz", band},
                  {"swr", std::isfinite(antenna.atF.swr) ? Json(antenna.atF.swr) : Json(nullptr)},
                  {"efficiency_percent", antenna.efficiencyPercent >= kLeastEfficiencyPercent
                                             ? Json(antenna.efficiencyPercent)
                                             : Json(nullptr)}}},
                {"bench",
                 {{"r_ohm", result.build->analyzerOhm.real()},
                  {"x_ohm", result.build->analyzerOhm.imag()},
                  {"at_MHz", design.record.freqMHz}}}};
}

Json simulatedInputsJson(const DesignResult& design, const SimulationOptions& options) {
    const Units units = design.inputs.units;
    const std::string antennaUnit = std::string("_") + antennaUnitName(units);
    const std::string coilUnit = std::string("_") + coilUnitName(units);
    const auto wireName = [](const std::optional<std::string>& name) {
        return name ? Json(*name) : Json(nullptr);
    };
    Json inputs{
        {"freq_MHz", design.record.freqMHz},
        {"total_length" + antennaUnit, antennaUnitFromFeet(design.record.totalLengthFt, units)},
        {"centre_to_coil" + antennaUnit, antennaUnitFromFeet(design.record.centreToCoilFt, units)},
        {"antenna_wire", wireName(gaugeName(design.inputs.antennaWire, design.record.antennaSwg))},
        {"antenna_wire_dia" + coilUnit, coilUnitFromInches(design.record.antennaWireDiaIn, units)}};
    if (options.build) {
        const CoilBuild& build = *options.build;
        inputs["former_dia" + coilUnit] = coilUnitFromInches(build.formerDiaIn, units);
        inputs["coil_wire"] = build.wireName.empty() ? Json(nullptr) : Json(build.wireName);
        inputs["coil_wire_dia" + coilUnit] = coilUnitFromInches(build.wireDiaIn, units);
        inputs["pitch" + coilUnit] =
            build.pitchIn ? Json(coilUnitFromInches(*build.pitchIn, units)) : Json(nullptr);
    }
    return inputs;
}

} // namespace tarvix
