// The report's figures as a builder reads them, and the advice's sentence:
// each length in its unit at the precision its tool reads, inductances that
// still tell two windings apart, and advice only for a poor design. No
// engine runs: the simulation is made up here.
#include "report/advice_report.h"
#include "report/simulation_phrases.h"
#include "report/simulation_report.h"

#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace tarvix {
namespace {

using namespace simulation_phrases;

struct FigureCase {
    const char* name;
    std::function<std::string()> text;
    const char* expected;
};

void PrintTo(const FigureCase& c, std::ostream* out) {
    *out << c.name;
}

constexpr Units kImperial = Units::FeetAndInches;
constexpr Units kMetric = Units::Metric;

const FigureCase kFigures[] = {
    // Wire to cut: quarter inches, carried into the feet; 5 mm in metres.
    {"WireQuarterInch", [] { return wireLengthText(125.4, kImperial); }, "10 ft 5 1/2 in"},
    {"WireRoundsIntoTheNextFoot", [] { return wireLengthText(143.9, kImperial); }, "12 ft 0 in"},
    {"WireUnderAnInch", [] { return wireLengthText(0.7, kImperial); }, "3/4 in"},
    {"WireMetricFiveMillimetres", [] { return wireLengthText(4.1327 / 0.0254, kMetric); },
     "4.135 m"},
    // A tip's change is a wire length, never centimetres, and unsigned.
    {"TipImperial", [] { return tipChange(-0.848, kImperial); }, "10 1/4 in"},
    {"TipMetric", [] { return tipChange(0.335 / 0.3048, kMetric); }, "0.335 m"},
    // A coil's length by rule; whole millimetres from 100 mm.
    {"CoilInches", [] { return coilText(0.7703, kImperial); }, "0.77 in"},
    {"CoilMillimetres", [] { return coilText(35.04 / 25.4, kMetric); }, "35.0 mm"},
    {"LongCoilWholeMillimetres", [] { return coilText(1412.04 / 25.4, kMetric); }, "1412 mm"},
    {"CoilRoundingToAHundred", [] { return coilText(99.97 / 25.4, kMetric); }, "100 mm"},
    // Pitch and wire by calipers.
    {"PitchInches", [] { return caliperText(0.0404, kImperial); }, "0.040 in"},
    {"PitchMillimetres", [] { return caliperText(0.0404, kMetric); }, "1.03 mm"},
    // The build sheet's page names its precision by decimals.
    {"PageCoilLength", [] { return coilText(55.59, kImperial, 2); }, "55.59 in"},
    {"PagePitch", [] { return coilText(0.0404, kImperial, 4); }, "0.040 in"},
    // Inductances to 3 figures, more where two would read the same.
    {"InductanceThreeFigures", [] { return inductanceText(14.209604166939254); }, "14.2 uH"},
    {"SmallInductance", [] { return inductanceText(0.52345); }, "0.523 uH"},
    {"LargeInductance", [] { return inductanceText(123.4); }, "123 uH"},
    {"InductanceKeepsItsZero", [] { return inductanceText(43.0001); }, "43.0 uH"},
    {"TwoWindingsApart", [] { return inductanceText(7.408, 7.412); }, "7.408 uH"},
    {"TwoWindingsAlreadyApart", [] { return inductanceText(7.408, 5.534); }, "7.41 uH"},
};

class Figures : public testing::TestWithParam<FigureCase> {};

TEST_P(Figures, ReadAsABuildersToolReadsThem) {
    EXPECT_EQ(GetParam().text(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Report, Figures, testing::ValuesIn(kFigures),
                         [](const testing::TestParamInfo<FigureCase>& info) {
                             return std::string(info.param.name);
                         });

// A made-up simulation at 7 MHz of the given efficiency and 2:1 band, with
// the larger former's figures where the advice has them.
SimulationResult simulated(double efficiencyPercent, double bandLowMHz, double bandHighMHz,
                           std::optional<DesignAdvice> advice) {
    SimulationResult r;
    r.corrected.efficiencyPercent = efficiencyPercent;
    r.swr2Band = SwrBand{bandLowMHz, bandHighMHz};
    r.advice = std::move(advice);
    if (r.advice) {
        AdvisedFormer change;
        change.formerDiaIn = 3;
        change.coil.winding = CoilWinding{11, 0.072, 3, 0.036, CoilFormer::pvcPipe};
        change.coil.atF.inductanceUH = 14.23;
        change.atF = SimulatedPoint{7, 40, 0, 1.25};
        change.efficiencyPercent = 41.04;
        change.swr2Band = SwrBand{6.96, 7.04};
        r.advice->largerFormer = change;
    }
    return r;
}

SimulationResult neverTwoToOne(SimulationResult r) {
    r.swr2Band.reset();
    return r;
}

struct AdviceCase {
    const char* name;
    SimulationResult result;
    Units units;
    std::vector<std::string> says;
    std::vector<std::string> saysNot;
};

void PrintTo(const AdviceCase& c, std::ostream* out) {
    *out << c.name;
}

const BandAtFrequency k40m{"40 m", 7.0, 7.2};

const AdviceCase kAdvice[] = {
    {"FineDesignHasNone", simulated(85, 6.9, 7.1, std::nullopt), kImperial, {}, {"Advice"}},
    {"LowEfficiencyWithTheLargerFormersFigures",
     simulated(26, 6.9, 7.1, DesignAdvice{true, std::nullopt, std::nullopt}),
     kImperial,
     {"Advice: the radiation efficiency is below 50 %; what helps: the coils further out",
      ". With the coils wound on a 3 in former (11 turns of SWG 20, 0.79 in long, 14.2 uH): "
      "efficiency 26.0 % -> 41.0 %, 2:1 band 200 kHz -> 80 kHz ("},
     {"narrower", "cm", "no help"}},
    {"ALargerFormerThatDoesNotHelpSaysSo",
     simulated(41.5, 6.9, 7.1, DesignAdvice{true, std::nullopt, std::nullopt}),
     kImperial,
     {"efficiency 41.5 % -> 41.0 %, 2:1 band 200 kHz -> 80 kHz, no help for this design"},
     {}},
    {"NarrowBandSaysWhatWidensIt",
     simulated(85, 6.97, 7.03, DesignAdvice{false, k40m, std::nullopt}),
     kMetric,
     {"the 2:1 SWR band (60 kHz) is narrower than the 40 m band (7.000 to 7.200 MHz, 200 kHz)",
      "what widens it: the coils further out (a larger B) or a longer A",
      "narrow the band: with the coils wound on a 76.2 mm former", "20.1 mm long"},
     {"below 50 %", " cm", "0.79 in"}},
    {"NeverTwoToOne",
     neverTwoToOne(simulated(45, 0, 0, DesignAdvice{true, k40m, std::nullopt})),
     kImperial,
     {"the SWR never comes down to 2:1 in the 40 m band", "what helps both",
      "efficiency 45.0 % -> 41.0 %, 2:1 band 80 kHz, no help for this design"},
     {"what widens", "kHz ->"}},
    {"NoEfficiencyToSpeakOf",
     simulated(0.02, 6.9, 7.1, DesignAdvice{true, std::nullopt, std::nullopt}),
     kImperial,
     {"efficiency below 0.1 % -> 41.0 %"},
     {"0.0 %"}},
    {"BothReasons",
     simulated(30, 6.97, 7.03, DesignAdvice{true, k40m, std::nullopt}),
     kImperial,
     {"below 50 %, and the 2:1 SWR band (60 kHz)", "what helps both"},
     {}},
};

class Advice : public testing::TestWithParam<AdviceCase> {};

TEST_P(Advice, SaysWhyWhatHelpsAndWhatTheLargerFormerDoes) {
    const AdviceCase& c = GetParam();
    SimulationOptions options;
    options.build = CoilBuild{1.5, 0.036, std::nullopt, "SWG 20", CoilFormer::pvcPipe};
    std::ostringstream out;
    writeAdviceText(out, options, c.result, c.units);
    for (const std::string& text : c.says) {
        EXPECT_NE(out.str().find(text), std::string::npos) << out.str() << "\nlacks: " << text;
    }
    for (const std::string& text : c.saysNot) {
        EXPECT_EQ(out.str().find(text), std::string::npos) << out.str() << "\nhas: " << text;
    }
    EXPECT_EQ(adviceJson(c.result, c.units).is_null(), !c.result.advice);
}

INSTANTIATE_TEST_SUITE_P(Report, Advice, testing::ValuesIn(kAdvice),
                         [](const testing::TestParamInfo<AdviceCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace tarvix
