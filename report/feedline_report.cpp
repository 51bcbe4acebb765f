// Text and JSON of the rig's end of the feed line.
#include "report/feedline_report.h"

#include "calc/number_text.h"
#include "nec/simulation_request.h"
#include "report/simulation_phrases.h"

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

namespace tarvix {

namespace {

using namespace simulation_phrases;

constexpr double kSwrMark = 2;

// "60 ft of RG-58 (50 ohm, velocity factor 0.66, 1.19 dB per 100 ft at 7.1
// MHz)"; a line by its figures is "a line".
std::string lineText(const FeedLine& line, const RigEnd& rig, Units units) {
    return numberText(std::round(antennaUnitFromFeet(line.lengthFt, units) * 100) / 100) + " " +
           antennaUnitName(units) + " of " +
           (line.typeName.empty() ? std::string("the line") : line.typeName) + " (" +
           numberText(line.z0Ohm) + " ohm, velocity factor " + numberText(line.velocityFactor) +
           ", " + fixedText(rig.dbPer100Ft, 2) + " dB per 100 ft at " + numberText(rig.freqMHz) +
           " MHz)";
}

Json orNull(const std::optional<double>& value) {
    return value ? Json(*value) : Json(nullptr);
}

} // namespace

RigEnd rigEnd(const FeedLine& line, const SimulationResult& result, double z0Ohm) {
    const SimulatedPoint& atF = result.corrected.atF;
    const std::complex<double> antenna(atF.resistanceOhm, atF.reactanceOhm);
    RigEnd rig;
    rig.freqMHz = atF.freqMHz;
    rig.impedanceOhm = lineInputOhm(line, antenna, rig.freqMHz);
    rig.swr = swrOf(rig.impedanceOhm, z0Ohm);
    rig.dbPer100Ft = line.matchedDbPer100Ft(rig.freqMHz);
    rig.matchedLossDb = line.matchedLossDb(rig.freqMHz);
    rig.lossWithSwrDb = lineLossDb(line, antenna, rig.freqMHz);
    std::vector<SwrCurvePoint> curve;
    curve.reserve(result.corrected.sweep.size());
    for (const SimulatedPoint& point : result.corrected.sweep) {
        const std::complex<double> z(point.resistanceOhm, point.reactanceOhm);
        curve.push_back({point.freqMHz, swrOf(lineInputOhm(line, z, point.freqMHz), z0Ohm)});
    }
    rig.swr2Band = swrCrossings(curve, kSwrMark);
    if (!curve.empty()) {
        rig.sweepLowMHz = curve.front().freqMHz;
        rig.sweepHighMHz = curve.back().freqMHz;
    }
    return rig;
}

void writeFeedLineText(std::ostream& out, const SimulationOptions& options,
                       const SimulationResult& result, Units units) {
    if (!options.feedLine) {
        return;
    }
    const FeedLine& line = *options.feedLine;
    const RigEnd rig = rigEnd(line, result, options.z0Ohm);
    out << "At the rig, through " << lineText(line, rig, units) << ": "
        << impedanceText(rig.impedanceOhm) << ", SWR " << swrText(rig.swr) << " on "
        << numberText(options.z0Ohm) << " ohm.\n";
    if (!rig.swr2Band) {
        out << "The SWR at the rig never comes down to 2:1.\n";
    } else {
        const SwrCrossings& band = *rig.swr2Band;
        out << "2:1 SWR band at the rig: "
            << (band.lowMHz ? mhz(*band.lowMHz) : "below " + mhz(rig.sweepLowMHz)) << " to "
            << (band.highMHz ? mhz(*band.highMHz) : "above " + mhz(rig.sweepHighMHz));
        if (band.lowMHz && band.highMHz) {
            out << " (" << fixedText((*band.highMHz - *band.lowMHz) * 1000, 0) << " kHz)";
        }
        out << ".\n";
    }
    out << "The line loses " << fixedText(rig.matchedLossDb, 2) << " dB matched, "
        << fixedText(rig.lossWithSwrDb, 2) << " dB with the antenna's SWR on it.\n";
    if (rig.matchedLossDb > kMostReadableLineLossDb) {
        out << "Warning: through " << fixedText(rig.matchedLossDb, 1)
            << " dB of line the rig sees little of the antenna: its SWR there flatters it, "
               "and a reading there says nothing about the antenna.\n";
    }
}

Json feedLineJson(const SimulationOptions& options, const SimulationResult& result, Units units) {
    if (!options.feedLine) {
        return nullptr;
    }
    const FeedLine& line = *options.feedLine;
    const RigEnd rig = rigEnd(line, result, options.z0Ohm);
    return Json{{"type", line.typeName.empty() ? Json(nullptr) : Json(line.typeName)},
                {std::string("length_") + antennaUnitName(units),
                 antennaUnitFromFeet(line.lengthFt, units)},
                {"z0_ohm", line.z0Ohm},
                {"velocity_factor", line.velocityFactor},
                {"loss_dB_per_100ft", rig.dbPer100Ft},
                {"loss_dB", rig.matchedLossDb},
                {"loss_with_swr_dB",
                 std::isfinite(rig.lossWithSwrDb) ? Json(rig.lossWithSwrDb) : Json(nullptr)}};
}

Json atRigJson(const SimulationOptions& options, const SimulationResult& result) {
    if (!options.feedLine) {
        return nullptr;
    }
    const RigEnd rig = rigEnd(*options.feedLine, result, options.z0Ohm);
    Json band = nullptr;
    if (rig.swr2Band) {
        band = Json::array({orNull(rig.swr2Band->lowMHz), orNull(rig.swr2Band->highMHz)});
    }
    // JSON has no infinity: an SWR or a loss without a number is null.
    const auto finite = [](double value) {
        return std::isfinite(value) ? Json(value) : Json(nullptr);
    };
    return Json{{"impedance_ohm", {{"r", rig.impedanceOhm.real()}, {"x", rig.impedanceOhm.imag()}}},
                {"swr", finite(rig.swr)},
                {"swr2_band_MHz", std::move(band)},
                {"loss_dB", finite(rig.lossWithSwrDb)}};
}

std::string rigExpectationText(const SimulationOptions& options, const SimulationResult& result,
                               double freqMHz) {
    if (!options.feedLine) {
        return {};
    }
    const RigEnd rig = rigEnd(*options.feedLine, result, options.z0Ohm);
    std::string words =
        "At the rig: SWR " + swrText(rig.swr) + " at " + numberText(freqMHz) + " MHz";
    if (rig.swr2Band && rig.swr2Band->lowMHz && rig.swr2Band->highMHz) {
        words += ", 2:1 from " + mhz(*rig.swr2Band->lowMHz) + " to " + mhz(*rig.swr2Band->highMHz);
    }
    return words + ".";
}

} // namespace tarvix
