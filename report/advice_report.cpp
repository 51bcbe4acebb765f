// The advice's sentence and object. What helps a loaded dipole: its coils
// further out and a longer A raise the radiation resistance, which both
// lifts the efficiency and widens the 2:1 band; coils of less loss (a larger
// former, a thicker wire) lift the efficiency but narrow the band, as the
// loss they take away was widening it. Whether the larger former cuts the
// loss depends on the winding it allows: its figures say.
#include "report/advice_report.h"

#include "calc/number_text.h"
#include "nec/design_advice.h"
#include "report/simulation_phrases.h"

#include <ostream>
#include <string>

namespace tarvix {

namespace {

using namespace simulation_phrases;

// A change that raises the efficiency by less than this (points) is no help.
constexpr double kLeastGainPercent = 1;

std::optional<double> bandKHz(const std::optional<SwrBand>& band) {
    if (!band || !band->lowMHz || !band->highMHz) {
        return std::nullopt;
    }
    return (*band->highMHz - *band->lowMHz) * 1000;
}

std::string why(const DesignAdvice& advice, const SimulationResult& result) {
    std::string text;
    if (advice.lowEfficiency) {
        text += "the radiation efficiency is below " + numberText(kAdviceEfficiencyPercent) + " %";
    }
    if (advice.narrowBand) {
        const BandAtFrequency& band = *advice.narrowBand;
        text += text.empty() ? "" : ", and ";
        const std::string amateur = "the " + std::string(band.name) + " band (" +
                                    fixedText(band.lowMHz, 3) + " to " +
                                    fixedText(band.highMHz, 3) + " MHz, " +
                                    fixedText((band.highMHz - band.lowMHz) * 1000, 0) + " kHz)";
        if (const auto width = bandKHz(result.swr2Band)) {
            text +=
                "the 2:1 SWR band (" + fixedText(*width, 0) + " kHz) is narrower than " + amateur;
        } else {
            text += "the SWR never comes down to 2:1 in " + amateur;
        }
    }
    return text;
}

// As the efficiency line says it: below 0.1 % NEC's figure is rounding, or
// below zero.
std::string efficiencyText(double percent) {
    return percent >= kLeastEfficiencyPercent
               ? fixedText(percent, 1) + " %"
               : "below " + numberText(kLeastEfficiencyPercent) + " %";
}

// What helps, ending where the larger former's figures may follow.
std::string whatHelps(const DesignAdvice& advice, bool hasBand) {
    const std::string further = "the coils further out (a larger B) or a longer A";
    const std::string lessLoss = "coils of less loss (a larger former, a thicker coil wire)";
    if (!advice.narrowBand) {
        return "what helps: " + further + ", which raise the radiation resistance, or " + lessLoss;
    }
    if (!advice.lowEfficiency) {
        return std::string(hasBand ? "what widens it: " : "what helps: ") + further + "; " +
               lessLoss + " narrow the band";
    }
    return "what helps both: " + further + "; " + lessLoss +
           " raise the efficiency but narrow the band";
}

// The larger former's figures beside the design's: "the coils wound on a
// 100 mm former (...): efficiency 26.0 % -> 41.3 %, 2:1 band ...".
std::string changeText(const AdvisedFormer& change, const SimulationResult& result,
                       const CoilBuild& build, Units units) {
    const CoilWinding& w = change.coil.winding;
    std::string text = "the coils wound on a " +
                       numberText(coilUnitFromInches(change.formerDiaIn, units)) + " " +
                       coilUnitName(units) + " former (" + turnsText(w.turns) + " turns of " +
                       wireText(build, units) + ", " + coilText(w.turns * w.pitchIn, units) +
                       " long, " + inductanceText(change.coil.atF.inductanceUH) + "): efficiency " +
                       efficiencyText(result.corrected.efficiencyPercent) + " -> " +
                       efficiencyText(change.efficiencyPercent);
    const auto before = bandKHz(result.swr2Band);
    const auto after = bandKHz(change.swr2Band);
    if (after) {
        text += ", 2:1 band " + (before ? fixedText(*before, 0) + " kHz -> " : std::string()) +
                fixedText(*after, 0) + " kHz";
    } else if (!change.swr2Band) {
        text +=
            ", SWR " + swrText(change.atF.swr) + " at " + numberText(change.atF.freqMHz) + " MHz";
    }
    if (change.efficiencyPercent < result.corrected.efficiencyPercent + kLeastGainPercent) {
        text += ", no help for this design";
    }
    return text + " (the winding sought by the two-port the simulation solved, its efficiency "
                  "from one more solve).";
}

Json orNull(const std::optional<double>& value) {
    return value ? Json(*value) : Json(nullptr);
}

} // namespace

void writeAdviceText(std::ostream& out, const SimulationOptions& options,
                     const SimulationResult& result, Units units) {
    if (!result.advice) {
        return;
    }
    const DesignAdvice& advice = *result.advice;
    out << "Advice: " << why(advice, result) << "; "
        << whatHelps(advice, bandKHz(result.swr2Band).has_value());
    if (advice.largerFormer && options.build) {
        out << (advice.narrowBand ? ": with " : ". With ")
            << changeText(*advice.largerFormer, result, *options.build, units);
    } else {
        out << ".";
    }
    out << "\n";
}

Json adviceJson(const SimulationResult& result, Units units) {
    if (!result.advice) {
        return nullptr;
    }
    const DesignAdvice& advice = *result.advice;
    const std::string unit = std::string("_") + coilUnitName(units);
    Json band = nullptr;
    if (advice.narrowBand) {
        band = Json{{"name", std::string(advice.narrowBand->name)},
                    {"low_MHz", advice.narrowBand->lowMHz},
                    {"high_MHz", advice.narrowBand->highMHz}};
    }
    Json larger = nullptr;
    if (advice.largerFormer) {
        const AdvisedFormer& change = *advice.largerFormer;
        const CoilWinding& w = change.coil.winding;
        Json swr2 = nullptr;
        if (change.swr2Band) {
            swr2 = Json{{"low", orNull(change.swr2Band->lowMHz)},
                        {"high", orNull(change.swr2Band->highMHz)}};
        }
        larger = Json{{"former_dia" + unit, coilUnitFromInches(change.formerDiaIn, units)},
                      {"turns", wholeNumber(w.turns)},
                      {"pitch" + unit, coilUnitFromInches(w.pitchIn, units)},
                      {"length" + unit, coilUnitFromInches(w.turns * w.pitchIn, units)},
                      {"inductance_uH", change.coil.atF.inductanceUH},
                      {"efficiency_percent", change.efficiencyPercent},
                      {"swr", change.atF.swr},
                      {"swr2_band_MHz", swr2}};
    }
    return Json{{"low_efficiency", advice.lowEfficiency},
                {"efficiency_below_percent", kAdviceEfficiencyPercent},
                {"amateur_band", band},
                {"larger_former", larger}};
}

} // namespace tarvix
