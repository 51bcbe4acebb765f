// tarvix-design as a user runs it: the built executable, its outputs and its
// exit status.
#include "program_run.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

namespace tarvix::test {
namespace {

using nlohmann::json;
using Lines = std::vector<std::string>;

ProgramRun design(const std::string& args) {
    return runProgram(TARVIX_DESIGN_PATH, words(args));
}

Lines linesOf(const std::string& text) {
    std::istringstream stream(text);
    Lines lines;
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::set<std::string> keysOf(const json& object) {
    std::set<std::string> keys;
    for (const auto& item : object.items()) {
        keys.insert(item.key());
    }
    return keys;
}

const std::string kWorked = "--freq 7 --length 60 --coil-distance 20 ";
const std::string kWinding = "--former-dia 2 --coil-length 2 ";

TEST(WorkedExample, TextShowsTheWindowsResults) {
    const ProgramRun run = design(kWorked + kWinding);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, "Inductance:     5.5 uH\nFull precision: 5.533500417592047 uH\n"
                       "Turns:          7\nRevised length = 0.2 inch\n");
    EXPECT_EQ(design(kWorked).out,
              "Inductance:     5.5 uH\nFull precision: 5.533500417592047 uH\n");
}

TEST(WorkedExample, JsonHoldsEveryPassAndReadsBackExactly) {
    const ProgramRun run = design(kWorked + kWinding + "--json");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("5.533500417592047"), std::string::npos) << run.out;
    const json object = json::parse(run.out);
    EXPECT_EQ(keysOf(object),
              (std::set<std::string>{"units", "inductance_uH", "inductance_display", "turns",
                                     "revised_length_in", "message", "passes", "warnings"}));
    EXPECT_EQ(object["units"], "imperial");
    EXPECT_EQ(object["inductance_uH"].get<double>(), 5.533500417592047);
    EXPECT_EQ(object["inductance_display"], "5.5");
    EXPECT_EQ(object["turns"], 7);
    EXPECT_TRUE(object["turns"].is_number_integer()) << object["turns"];
    EXPECT_EQ(object["revised_length_in"].get<double>(), 0.2);
    EXPECT_EQ(object["message"], "Revised length = 0.2 inch");
    EXPECT_EQ(object["warnings"], json::array());
    std::vector<std::pair<int, double>> passes;
    for (const json& pass : object["passes"]) {
        EXPECT_EQ(pass.size(), 2u);
        EXPECT_TRUE(pass["turns"].is_number_integer()) << pass;
        passes.emplace_back(pass["turns"].get<int>(), pass["length_in"].get<double>());
    }
    EXPECT_EQ(passes, (std::vector<std::pair<int, double>>{{12, 0.4},
                                                           {8, 0.2},
                                                           {7, 0.2},
                                                           {7, 0.2},
                                                           {7, 0.2},
                                                           {7, 0.2},
                                                           {7, 0.2},
                                                           {7, 0.2},
                                                           {7, 0.2},
                                                           {7, 0.2}}));

    EXPECT_EQ(keysOf(json::parse(design(kWorked + "--json").out)),
              (std::set<std::string>{"units", "inductance_uH", "inductance_display", "warnings"}));
}

TEST(CommandLine, HelpAndVersionSucceed) {
    const ProgramRun help = design("--help");
    EXPECT_EQ(help.status, 0);
    for (const std::string& option :
         words("--freq --length --coil-distance --antenna-swg "
               "--former-dia --coil-length --coil-swg --json "
               "--sweep-b --csv --nec --height --simulate "
               "--coil-q --z0 --insulation --insulation-er --plot --sheet "
               "--metric --antenna-awg --coil-awg --antenna-wire-dia "
               "--coil-wire-dia --end-height --ground "
               "--ground-conductivity --ground-permittivity --power --mode --duty "
               "--feedline --feedline-data --feedline-length")) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
    EXPECT_EQ(design("--version").out, "tarvix-design " TARVIX_VERSION "\n");
}

// ---- usage errors: exit 2, nothing on standard output ---------------------------

struct UsageCase {
    const char* name;
    std::string args;
    const char* complaint;
};

void PrintTo(const UsageCase& c, std::ostream* os) {
    *os << c.name;
}

class UsageError : public testing::TestWithParam<UsageCase> {};

TEST_P(UsageError, ExitsWithTwoBeforeComputing) {
    const ProgramRun run = design(GetParam().args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.rfind(std::string("tarvix-design: ") + GetParam().complaint, 0), 0u)
        << run.err;
}

const std::string kFA = "--freq 7 --length 60 ";
const std::string kCutArgument =
    "--coil-distance: '" + std::string(60, '7') + "...' is not a number\n";

// clang-format off
INSTANTIATE_TEST_SUITE_P(TarvixDesign, UsageError, testing::Values(
    UsageCase{"FrequencyNotANumber", "--freq 7x --length 60 --coil-distance 20", "--freq: '7x' is not a number"},
    UsageCase{"LengthWithComma", "--freq 7 --length 60,5 --coil-distance 20", "--length: '60,5' is not a number"},
    UsageCase{"DistanceEmpty", kFA + "--coil-distance=", "--coil-distance needs a value\n"},
    UsageCase{"AntennaGaugeWord", kWorked + "--antenna-swg abc", "--antenna-swg: 'abc' is not a number"},
    UsageCase{"CoilGaugeLetterO", kWorked + kWinding + "--coil-swg 2O", "--coil-swg: '2O' is not a number"},
    UsageCase{"FrequencyBeyondDouble", "--freq 1e999 --length 60 --coil-distance 20", "--freq: '1e999' is out of range"},
    UsageCase{"FrequencyUnderflows", "--freq 1e-400 --length 60 --coil-distance 20", "--freq: '1e-400' is out of range"},
    UsageCase{"AntennaGaugeOdd", kWorked + "--antenna-swg 13", "--antenna-swg: '13' is not an even gauge from 10 to 30"},
    UsageCase{"AntennaGaugeBeyondTheTable", kWorked + "--antenna-swg 100", "--antenna-swg: '100' is not an even gauge from 10 to 30"},
    UsageCase{"CoilGaugeOdd", kWorked + kWinding + "--coil-swg 11", "--coil-swg: '11' is not an even gauge from 10 to 30"},
    // An unknown option is named before the required ones it hides.
    UsageCase{"ShortOptionUnknown", "-f 7", "unknown option '-f'; did you mean --freq, --former-dia, --feedline, --feedline-data or --feedline-length?\n"},
    UsageCase{"OptionCutShort", "--fr 7", "unknown option '--fr'; did you mean --freq?\n"},
    UsageCase{"OptionMistyped", kWorked + "--lenght 60", "unknown option '--lenght'; did you mean --length?\n"},
    UsageCase{"OptionInCapitals", "--HELP", "unknown option '--HELP'; did you mean --help?\n"},
    UsageCase{"OptionUnlikeAny", kWorked + "--xyz=1", "unknown option '--xyz'\n"},
    UsageCase{"ValueMissingBeforeAnOption", "--freq --length 60", "--freq needs a value\n"},
    UsageCase{"DeckNameMissing", kWorked + "--nec --json", "--nec needs a value\n"},
    UsageCase{"FrequencyMissing", "--length 60 --coil-distance 20", "--freq is required"},
    UsageCase{"DistanceMissing", kFA, "--coil-distance is required"},
    UsageCase{"FormerWithoutLength", kWorked + "--former-dia 2", "--former-dia needs --coil-length (or --simulate, which winds the corrected coil)"},
    UsageCase{"MeasuredWithoutFormer", kWorked + "--simulate --measured 6.9", "--measured requires --former-dia"},
    UsageCase{"MeasuredSwrBelowOne", kWorked + "--former-dia 2 --simulate --measured 6.9 --measured-swr 0.5", "--measured-swr: '0.5' is below 1"},
    UsageCase{"PitchWithoutSimulate", kWorked + "--former-dia 2 --coil-length 1 --coil-pitch 0.05", "--coil-pitch requires --simulate"},
    UsageCase{"TurnsWithoutFormer", kWorked + "--simulate --coil-turns 12", "--coil-turns requires --former-dia"},
    UsageCase{"SimulatedBelowTheHfBands", "--freq 0.1 --length 60 --coil-distance 20 --simulate", "--freq: '0.1' must be between 1 and 30 MHz"},
    UsageCase{"SimulatedLongerThanAHalfWave", "--freq 7 --length 70 --coil-distance 20 --simulate", "--length: '70' is already a half wave at 7 MHz or longer: the antenna needs no coils"},
    UsageCase{"SimulatedCoilsBeyondTheTips", kFA + "--coil-distance 35 --simulate", "--coil-distance: '35' must be less than half of A (30 ft)"},
    UsageCase{"TurnsBeyondAnyCoil", kWorked + "--former-dia 2 --simulate --coil-turns 20000", "--coil-turns: '20000' is more than 10000 turns"},
    UsageCase{"FormerOfNoKnownKind", kWorked + "--former-dia 2 --simulate --coil-former wood", "--coil-former: wood not in {pvc,air,rod}"},
    UsageCase{"PitchTighterThanTheEnamelledWire", kWorked + "--former-dia 2 --simulate --coil-pitch 0.03", "--coil-pitch: '0.03' is less than the wire's diameter over its enamel"},
    UsageCase{"SweepWithDistance", kWorked + "--sweep-b 0:20:5", "--coil-distance excludes --sweep-b"},
    UsageCase{"SweepStepZero", kFA + "--sweep-b 0:20:0", "--sweep-b: '0:20:0': the step must be above 0"},
    UsageCase{"HeightOnTheGround", kWorked + "--nec - --height 0", "--height: '0' is not above the ground"},
    UsageCase{"DeckAndJsonOnStdout", kWorked + "--nec - --json", "--nec - and --json both write to standard output"},
    UsageCase{"DeckAndSimulationOnStdout", kWorked + "--nec - --simulate", "--nec - and --simulate both write to standard output"},
    UsageCase{"HeightWithNothingToModel", kWorked + "--height 30", "--height needs --nec or --simulate"},
    UsageCase{"PlotWithoutSimulation", kWorked + "--plot swr.svg", "--plot requires --simulate"},
    UsageCase{"SheetWithoutSimulation", kWorked + kWinding + "--sheet dipole.pdf", "--sheet requires --simulate"},
    UsageCase{"SheetWithoutWinding", kWorked + "--simulate --sheet dipole.pdf", "--sheet requires --former-dia"},
    UsageCase{"SheetOnStandardOutput", kWorked + "--former-dia 2 --simulate --sheet -", "--sheet: the page goes to a file, not to standard output\n"},
    UsageCase{"SheetNameEmpty", kWorked + "--former-dia 2 --simulate --sheet=", "--sheet needs a value\n"},
    UsageCase{"SheetAsPicture", kWorked + "--former-dia 2 --simulate --sheet dipole.png", "--sheet: 'dipole.png' does not end in .pdf or .svg\n"},
    UsageCase{"SimulatedSweep", kFA + "--sweep-b 0:20:5 --simulate", "--sweep-b excludes --simulate"},
    UsageCase{"CoilQZero", kWorked + "--simulate --coil-q 0", "--coil-q: '0' is not above 0"},
    UsageCase{"InsulationBelowVacuum", kWorked + "--simulate --insulation 0.02 --insulation-er 0.5", "--insulation-er: '0.5' is below 1"},
    UsageCase{"AntennaByAwgAndSwg", kWorked + "--antenna-awg 14 --antenna-swg 14", "--antenna-swg excludes --antenna-awg"},
    UsageCase{"AntennaByDiameterAndSwg", kWorked + "--antenna-wire-dia 2 --antenna-swg 14", "--antenna-swg excludes --antenna-wire-dia"},
    UsageCase{"CoilByAwgAndDiameter", kWorked + kWinding + "--coil-wire-dia 1 --coil-awg 20", "--coil-awg excludes --coil-wire-dia"},
    UsageCase{"CoilByAwgAndSwg", kWorked + kWinding + "--coil-swg 20 --coil-awg 20", "--coil-swg excludes --coil-awg"},
    UsageCase{"CoilWireWithoutWinding", kWorked + "--coil-awg 20", "--coil-awg requires --former-dia"},
    UsageCase{"AwgBeyondForty", kWorked + "--antenna-awg 41", "--antenna-awg: '41' is not a whole gauge from 0 to 40"},
    UsageCase{"AwgFraction", kWorked + kWinding + "--coil-awg 14.5", "--coil-awg: '14.5' is not a whole gauge from 0 to 40"},
    UsageCase{"WireOfNoThickness", kWorked + "--antenna-wire-dia 0", "--antenna-wire-dia: '0' is not above 0"},
    // Said in the program's words, whatever the parser found.
    UsageCase{"FrequencyTwice", kWorked + "--freq 8", "--freq given twice\n"},
    UsageCase{"HeightWithoutItsValue", kWorked + "--simulate --height", "--height needs a value\n"},
    UsageCase{"ArgumentOfAHundredKilobytes", kFA + "--coil-distance " + std::string(100000, '7') + "x", kCutArgument.c_str()},
    // Inputs the NEC model cannot stand for, under --nec and --simulate alike.
    UsageCase{"CoilsAtANegativeDistance", kFA + "--coil-distance -20 --simulate", "--coil-distance: '-20' is below 0, and the NEC model cannot place"},
    UsageCase{"CoilsAtANegativeDistanceInADeck", kFA + "--coil-distance -20 --nec -", "--coil-distance: '-20' is below 0"},
    UsageCase{"HeightWithinTheWire", kWorked + "--simulate --height 0.001", "--height: '0.001' puts the wire in the ground for the NEC model (it must be above 4 wire radii, 0.16 in)\n"},
    UsageCase{"HeightBeyondTheModel", kWorked + "--nec - --height 1e300", "--height: '1e300' is beyond the NEC model's range (at most 100000 ft)\n"},
    UsageCase{"WireThinnerThanTheModel", kWorked + "--simulate --antenna-wire-dia 1e-300", "--antenna-wire-dia: the wire is thinner than the NEC model can stand for (at least 0.0001 in)\n"},
    UsageCase{"TipsWithoutFeedHeight", kWorked + "--simulate --end-height 10", "--end-height requires --height"},
    UsageCase{"TipsAboveTheFeedPoint", kWorked + "--simulate --height 30 --end-height 35", "--end-height: '35' is above the feed point: with its tips higher than its middle the antenna is another one, not an inverted V\n"},
    UsageCase{"MetricTipsLowerThanALegReaches", "--metric --freq 7 --length 18 --coil-distance 6 --simulate --height 12 --end-height 2", "--end-height: '2' is further below the feed point than a leg is long (9 m)\n"},
    UsageCase{"GroundOfNoKnownClass", kWorked + "--simulate --height 30 --ground mud", "--ground: 'mud' is not a class of ground (very-good, average, poor, very-poor, sea, fresh-water)\n"},
    UsageCase{"GroundByClassAndFigures", kWorked + "--simulate --height 30 --ground sea --ground-conductivity 1 --ground-permittivity 10", "--ground excludes --ground-conductivity\n"},
    UsageCase{"GroundOfNoConductivity", kWorked + "--simulate --height 30 --ground-conductivity 0 --ground-permittivity 10", "--ground-conductivity: '0' is not above 0\n"},
    UsageCase{"ModeOfNoKnownName", kWorked + "--simulate --mode morse", "--mode: 'morse' is not a mode (cw 40 %, ssb 20 %, ft8 42 %, rtty 100 %, am 25 %, fm 100 %)\n"},
    UsageCase{"PowerOfNothing", kWorked + "--simulate --power 0", "--power: '0' is not above 0 W and at most 100000 W\n"},
    UsageCase{"DutyBesideAMode", kWorked + "--simulate --mode cw --duty 50", "--mode excludes --duty\n"},
    UsageCase{"PowerWithoutSimulation", kWorked + "--power 100", "--power requires --simulate\n"},
    UsageCase{"LineOfNoImpedance", kWorked + "--simulate --z0 1e-300", "--z0: '1e-300' is not from 1 to 10000 ohm\n"},
    UsageCase{"LineOfAbsurdImpedance", kWorked + "--simulate --z0 1e6", "--z0: '1e6' is not from 1 to 10000 ohm\n"},
    // The feed line to the rig.
    UsageCase{"FeedlineWithoutSimulation", kWorked + "--feedline RG-58:40", "--feedline requires --simulate"},
    UsageCase{"FeedlineOfNoKnownType", kWorked + "--simulate --feedline RG-6:40", "--feedline: 'RG-6:40' is not a type of line (RG-58, RG-8X, RG-213, LMR-400, twinlead-300, window-450;"},
    UsageCase{"FeedlineWithoutLength", kWorked + "--simulate --feedline RG-58", "--feedline: 'RG-58' has no length: give TYPE:LENGTH\n"},
    UsageCase{"FeedlineOfNoLength", kWorked + "--simulate --feedline RG-58:0", "--feedline: 'RG-58:0' has a length that is not above 0\n"},
    UsageCase{"FeedlineDataOfFiveOhm", kWorked + "--simulate --feedline-data 5:0.66:1 --feedline-length 40", "--feedline-data: '5:0.66:1' has an impedance of 5 ohm, not from 10 to 1000 ohm\n"},
    UsageCase{"FeedlineDataWithoutLength", kWorked + "--simulate --feedline-data 50:0.66:1", "--feedline-data requires --feedline-length"},
    UsageCase{"FeedlineDataOfTwoFigures", kWorked + "--simulate --feedline-data 50:0.66 --feedline-length 40", "--feedline-data: '50:0.66' is not Z0:VF:DB_PER_100FT (three numbers)\n"},
    UsageCase{"ResonanceReadThroughALossyLine", kWorked + "--former-dia 2 --simulate --feedline RG-58:1000 --measured 6.9", "--measured: '6.9' was read at the rig through 12"},
    // Two outputs in one place.
    UsageCase{"DeckAndPlotInOneFile", kWorked + "--simulate --nec same.out --plot ./same.out", "--nec and --plot both write to './same.out'\n"},
    UsageCase{"PlotAndSheetInOneFile", kWorked + "--former-dia 2 --simulate --plot same.svg --sheet ./same.svg", "--plot and --sheet both write to './same.svg'\n"},
    UsageCase{"PlotOnStandardOutputBesideTheReport", kWorked + "--simulate --plot /dev/stdout", "--plot and the report both write to standard output\n"},
    UsageCase{"DeckOnStandardOutputBesideTheReport", kWorked + "--nec /dev/stdout", "--nec and the report both write to standard output\n"},
    UsageCase{"PlotAndJsonOnStandardOutput", kWorked + "--simulate --json --plot -", "--plot - and --json both write to standard output\n"}),
    [](const testing::TestParamInfo<UsageCase>& info) { return info.param.name; });
// clang-format on

// ---- calculation faults: exit 3, stage and fault named, no deck -----------------

struct FaultCase {
    const char* name;
    std::string args;
    std::string stage;
    std::string fault;
    // Asked for a deck: 3 where the design faults, 2 where the simulation's
    // rules refuse its inputs before it is run.
    int deckStatus = 3;
};

void PrintTo(const FaultCase& c, std::ostream* os) {
    *os << c.name;
}

class CalculationFault : public testing::TestWithParam<FaultCase> {};

TEST_P(CalculationFault, IsReportedWithWhatWasComputedBeforeAndNoDeck) {
    const FaultCase& c = GetParam();
    const ProgramRun text = design(c.args);
    EXPECT_EQ(text.status, 3);
    ASSERT_FALSE(linesOf(text.err).empty());
    EXPECT_EQ(linesOf(text.err).back(), "tarvix-design: " + c.stage + ": " + c.fault);

    const ProgramRun run = design(c.args + " --json");
    EXPECT_EQ(run.status, 3);
    const json object = json::parse(run.out);
    EXPECT_EQ(object["fault"], c.fault);
    EXPECT_EQ(object["stage"], c.stage);
    EXPECT_EQ(object.contains("inductance_uH"), c.stage == "winding");
    EXPECT_EQ(object.contains("passes"), c.stage == "winding");
    EXPECT_FALSE(object.contains("turns"));

    const ScratchDir scratch;
    const auto deck = scratch.path("design.nec");
    EXPECT_EQ(design(c.args + " --nec " + deck.string()).status, c.deckStatus);
    EXPECT_EQ(design(c.args + " --simulate").status, c.deckStatus);
    EXPECT_FALSE(std::filesystem::exists(deck));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(TarvixDesign, CalculationFault, testing::Values(
    FaultCase{"ZeroFrequency", "--freq 0 --length 60 --coil-distance 20", "inductance", "Division by zero", 2},
    FaultCase{"CoilsAtTheTips", kFA + "--coil-distance 30", "inductance", "Invalid argument", 2},
    FaultCase{"FrequencyOverflows", "--freq 1e300 --length 60 --coil-distance 20", "inductance", "Overflow", 2},
    FaultCase{"ZeroFormerDiameter", kWorked + "--former-dia 0 --coil-length 2", "winding", "Division by zero"},
    FaultCase{"NegativeInductance", "--freq 7 --length 70 --coil-distance 20 " + kWinding, "winding", "Invalid argument", 2}),
    [](const testing::TestParamInfo<FaultCase>& info) { return info.param.name; });
// clang-format on

// ---- warnings: standard error and JSON, and the design goes on ---------------------

struct WarningCase {
    const char* name;
    std::string args;
    Lines warnings;
    std::string fault; // the last line of standard error when the design faults after them
};

void PrintTo(const WarningCase& c, std::ostream* os) {
    *os << c.name;
}

class Warnings : public testing::TestWithParam<WarningCase> {};

TEST_P(Warnings, GoToStandardErrorAndJsonWithoutStoppingTheDesign) {
    const WarningCase& c = GetParam();
    const ProgramRun run = design(c.args + " --json");
    EXPECT_EQ(run.status, c.fault.empty() ? 0 : 3);
    Lines expectedErr;
    for (const std::string& warning : c.warnings) {
        expectedErr.push_back("tarvix-design: warning: " + warning);
    }
    if (!c.fault.empty()) {
        expectedErr.push_back("tarvix-design: " + c.fault);
    }
    EXPECT_EQ(linesOf(run.err), expectedErr);
    const json object = json::parse(run.out);
    EXPECT_EQ(object["warnings"].get<Lines>(), c.warnings);
    EXPECT_TRUE(object.contains("inductance_uH"));
}

const std::string kNegativeInductance = "the inductance is negative: the antenna is longer than "
                                        "resonance needs, so it wants a capacitor, not a coil";

// clang-format off
INSTANTIATE_TEST_SUITE_P(TarvixDesign, Warnings, testing::Values(
    WarningCase{"WindowsRangeChecksInTheWindowsOrder", "--freq 31 --length 14 --coil-distance 5.5",
                {"Input HF range only (1.5 to 30MHz)", "A ahould be larger than 14.3 ft",
                 " A should be smaller than  13 ft", "B should be lower than 5 ft"}, ""},
    // The same design in metres: the window's texts with the limits in metres beside them.
    WarningCase{"WindowsRangeChecksInMetres", "--metric --freq 31 --length 4.2672 --coil-distance 1.6764",
                {"Input HF range only (1.5 to 30MHz)", "A ahould be larger than 14.3 ft (4.35864 m)",
                 " A should be smaller than  13 ft (3.9624 m)", "B should be lower than 5 ft (1.524 m)"}, ""},
    WarningCase{"NegativeDistanceInMetres", "--metric --freq 7 --length 18.288 --coil-distance -6.096",
                {"the coil distance B is negative (-6.096 m): a length cannot be below zero"}, ""},
    WarningCase{"NegativeDistance", "--freq 7 --length 60 --coil-distance -20",
                {"the coil distance B is negative (-20 ft): a length cannot be below zero"}, ""},
    WarningCase{"NegativeFormerAndCoilLength", kWorked + "--former-dia -2 --coil-length -2",
                {"the coil former diameter is negative (-2 in): a length cannot be below zero",
                 "the coil length is negative (-2 in): a length cannot be below zero"},
                "winding: Invalid argument"},
    WarningCase{"LongerThanResonanceNeeds", "--freq 7 --length 70 --coil-distance 0",
                {" A should be smaller than  60 ft", kNegativeInductance}, ""}),
    [](const testing::TestParamInfo<WarningCase>& info) { return info.param.name; });
// clang-format on

// ---- one design given two ways: metric lengths, AWG and diameters ----------------

// Within the last bits of a binary conversion.
void expectClose(double window, double other, const std::string& where) {
    EXPECT_LE(std::abs(other - window), 1e-12 * std::abs(window)) << where;
}

// Walks a report of the window's units beside one of the same design given
// another way. Numbers agree within 1e-12 relative; a key in feet or inches
// has its twin in metres or millimetres in a metric report, the revised
// lengths rounded to 0.1 mm; a metric warning is the window's text, with the
// limit in metres after it when it names one.
void expectSameDesign(const json& window, const json& other, bool metric,
                      const std::string& where) {
    ASSERT_EQ(window.type(), other.type()) << where;
    ASSERT_EQ(window.size(), other.size()) << where;
    if (window.is_array()) {
        for (std::size_t i = 0; i < window.size(); ++i) {
            expectSameDesign(window[i], other[i], metric, where + "/" + std::to_string(i));
        }
    } else if (window.is_object()) {
        for (const auto& [key, value] : window.items()) {
            std::string otherKey = key;
            if (metric && key.ends_with("_in")) {
                otherKey = key.substr(0, key.size() - 3) + "_mm";
            } else if (metric && key.ends_with("_ft")) {
                otherKey = key.substr(0, key.size() - 3) + "_m";
            }
            ASSERT_TRUE(other.contains(otherKey)) << where << "/" << otherKey;
            const json& twin = other[otherKey];
            if (key == "units" || key == "message") {
                continue; // the texts of their own units
            }
            if (otherKey.ends_with("_mm")) {
                EXPECT_EQ(twin.get<double>(), std::round(value.get<double>() * 254) / 10)
                    << where << "/" << key;
            } else if (otherKey.ends_with("_m")) {
                expectClose(value.get<double>() * 0.3048, twin.get<double>(), where + "/" + key);
            } else {
                expectSameDesign(value, twin, metric, where + "/" + key);
            }
        }
    } else if (window.is_number()) {
        expectClose(window.get<double>(), other.get<double>(), where);
    } else if (window.is_string() && metric && where.find("/warnings/") != std::string::npos) {
        const std::string& text = window.get_ref<const std::string&>();
        const std::string& metricText = other.get_ref<const std::string&>();
        EXPECT_TRUE(metricText == text ||
                    (metricText.rfind(text + " (", 0) == 0 && metricText.ends_with(" m)")))
            << where << ": " << metricText;
    } else {
        EXPECT_EQ(window, other) << where;
    }
}

struct BothWaysCase {
    const char* name;
    std::string window; // feet, inches and SWG, as the window takes them
    std::string other;
};

void PrintTo(const BothWaysCase& c, std::ostream* os) {
    *os << c.name;
}

class GivenBothWays : public testing::TestWithParam<BothWaysCase> {};

TEST_P(GivenBothWays, IsTheSamePhysicalDesign) {
    const ProgramRun window = design(GetParam().window + " --json");
    const ProgramRun other = design(GetParam().other + " --json");
    EXPECT_EQ(other.status, window.status) << other.err;
    const json windowJson = json::parse(window.out);
    const json otherJson = json::parse(other.out);
    const bool metric = GetParam().other.find("--metric") != std::string::npos;
    const json& first = otherJson.is_array() ? otherJson.at(0) : otherJson;
    EXPECT_EQ(first["units"], metric ? "metric" : "imperial");
    expectSameDesign(windowJson, otherJson, metric, "");
}

const std::string kWorkedMetric = "--metric --freq 7 --length 18.288 --coil-distance 6.096 ";
const std::string kWindingMetric = "--former-dia 50.8 --coil-length 50.8 ";

// clang-format off
INSTANTIATE_TEST_SUITE_P(TarvixDesign, GivenBothWays, testing::Values(
    BothWaysCase{"WorkedExampleInMetres", kWorked + kWinding, kWorkedMetric + kWindingMetric},
    BothWaysCase{"GaugesAsTheirDiameters", kWorked + kWinding + "--antenna-swg 16 --coil-swg 22",
                 kWorked + kWinding + "--antenna-wire-dia 0.0640157 --coil-wire-dia 0.028"},
    BothWaysCase{"DiametersInMillimetres", kWorked + kWinding + "--antenna-wire-dia 0.1 --coil-wire-dia 0.05",
                 kWorkedMetric + kWindingMetric + "--antenna-wire-dia 2.54 --coil-wire-dia 1.27"},
    BothWaysCase{"AwgInMetres",
                 "--freq 3.6 --length 100 --coil-distance 30 --former-dia 3 --coil-length 4 --antenna-awg 12 --coil-awg 18",
                 "--metric --freq 3.6 --length 30.48 --coil-distance 9.144 --former-dia 76.2 --coil-length 101.6 "
                 "--antenna-awg 12 --coil-awg 18"},
    BothWaysCase{"WarningsInMetres", "--freq 31 --length 14 --coil-distance 5.5",
                 "--metric --freq 31 --length 4.2672 --coil-distance 1.6764"},
    BothWaysCase{"WindingFaultInMetres", "--freq 7 --length 70 --coil-distance 20 " + kWinding,
                 "--metric --freq 7 --length 21.336 --coil-distance 6.096 " + kWindingMetric},
    BothWaysCase{"SweepInMetres", kFA + "--sweep-b 0:25:5", "--metric --freq 7 --length 18.288 --sweep-b 0:7.62:1.524"}),
    [](const testing::TestParamInfo<BothWaysCase>& info) { return info.param.name; });
// clang-format on

// ---- coil-position sweep -----------------------------------------------------------

TEST(Sweep, CsvAndTextHaveOneRowPerDistanceAndFaultTextForFaultingRows) {
    const ProgramRun csv = design(kFA + "--sweep-b 0:30:10 --csv");
    EXPECT_EQ(csv.status, 0);
    const Lines lines = linesOf(csv.out);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "b_ft,inductance_uH,inductance_display,fault");
    EXPECT_EQ(lines[3], "20,5.533500417592047,5.5,");
    EXPECT_EQ(lines[4], "30,,,Invalid argument");

    const Lines text = linesOf(design(kFA + "--sweep-b 0:30:10").out);
    ASSERT_EQ(text.size(), 5u);
    EXPECT_EQ(words(text[3]), words("20 5.533500417592047 5.5"));
    EXPECT_EQ(words(text[4]), words("30 Invalid argument"));
}

TEST(Sweep, MetricDistancesAreHeadedAndNamedInMetres) {
    const std::string args = "--metric --freq 7 --length 18.288 --sweep-b 6.096:7.62:1.524";
    const ProgramRun csv = design(args + " --csv");
    EXPECT_EQ(csv.status, 0);
    const Lines lines = linesOf(csv.out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "b_m,inductance_uH,inductance_display,fault");
    EXPECT_EQ(lines[2].rfind("7.62,14.4431902498", 0), 0u) << lines[2];
    EXPECT_EQ(linesOf(csv.err).at(0),
              "tarvix-design: warning: B = 7.62 m: A ahould be larger than 65 ft (19.812 m)");
    EXPECT_EQ(words(linesOf(design(args).out).at(0)), words("B (m) L (uH) Shown (uH)"));
}

TEST(Sweep, JsonRowsAreDesignsWithTheirDistanceAndWarnings) {
    const ProgramRun run = design(kFA + "--sweep-b 20:32:12 --json");
    EXPECT_EQ(run.status, 0);
    const json rows = json::parse(run.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0]["b_ft"].get<double>(), 20);
    EXPECT_EQ(rows[0]["inductance_uH"],
              json::parse(design(kWorked + "--json").out)["inductance_uH"]);
    EXPECT_EQ(rows[1]["fault"], "Invalid argument");
    EXPECT_EQ(rows[1]["stage"], "inductance");
    EXPECT_FALSE(rows[1].contains("inductance_uH"));
    EXPECT_EQ(rows[1]["warnings"].size(), 2u);
    EXPECT_EQ(linesOf(run.err).front(),
              "tarvix-design: warning: B = 32 ft: A ahould be larger than 83.2 ft");

    EXPECT_EQ(linesOf(design(kFA + "--sweep-b -5:0:5").err),
              Lines{"tarvix-design: warning: B = -5 ft: the coil distance B is negative (-5 ft): "
                    "a length cannot be below zero"});
}

// ---- NEC deck -------------------------------------------------------------------------

// The fields of every card of one type, in deck order.
std::vector<Lines> cardsOf(const std::string& deck, const std::string& type) {
    std::vector<Lines> cards;
    for (const std::string& line : linesOf(deck)) {
        if (Lines fields = words(line); !fields.empty() && fields[0] == type) {
            cards.push_back(fields);
        }
    }
    return cards;
}

TEST(NecDeck, DescribesTheWorkedExampleInMetres) {
    const ProgramRun run = design(kWorked + "--nec -");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string& deck = run.out;
    for (const char* fact : {"CM Design frequency 7 MHz", "A = 60 ft", "B = 20 ft", "SWG 14",
                             "5.533500417592047 uH", "CM Free space\n"}) {
        EXPECT_NE(deck.find(fact), std::string::npos) << fact;
    }
    // Pieces of wire from tip to tip; SWG 14 is 0.08 in thick.
    const auto wires = cardsOf(deck, "GW");
    ASSERT_GT(wires.size(), 7u);
    EXPECT_EQ(wires.front()[3], "-9.144");
    EXPECT_EQ(wires.back()[6], "9.144");
    EXPECT_EQ(wires.front()[9], "0.001016");
    EXPECT_EQ(cardsOf(deck, "GE"), (std::vector<Lines>{{"GE", "0"}}));
    EXPECT_TRUE(cardsOf(deck, "GN").empty());
    // The feed is the middle piece's one segment, each coil a piece of one
    // segment centred on +-20 ft, lossy at Q 200 (omega L / Q = 1.217 ohm),
    // on copper wire.
    const std::string middle = std::to_string(wires.size() / 2 + 1);
    EXPECT_EQ(cardsOf(deck, "EX").at(0), words("EX 0 " + middle + " 1 0 1 0"));
    const auto loads = cardsOf(deck, "LD");
    ASSERT_EQ(loads.size(), 3u);
    for (const std::size_t coil : {0u, 1u}) {
        const Lines& wire = wires.at(std::stoul(loads[coil][2]) - 1);
        EXPECT_EQ(wire[2], "1");
        EXPECT_NEAR((std::stod(wire[3]) + std::stod(wire[6])) / 2, coil == 0 ? -6.096 : 6.096,
                    1e-12);
        EXPECT_EQ(loads[coil][5], "1.21688029823803");
        EXPECT_EQ(loads[coil][6], "5.53350041759205E-06");
    }
    EXPECT_EQ(loads[2], words("LD 5 0 0 0 58000000"));
    EXPECT_EQ(cardsOf(deck, "FR").at(0), words("FR 0 41 0 0 5.6 0.07"));
    EXPECT_EQ(linesOf(deck).back(), "EN");
}

TEST(NecDeck, HeightPutsTheWireOverAverageGround) {
    const std::string deck = design(kWorked + "--nec - --height 30").out;
    for (const Lines& wire : cardsOf(deck, "GW")) {
        EXPECT_EQ(wire[5], "9.144"); // 30 ft up at both ends
        EXPECT_EQ(wire[8], "9.144");
    }
    EXPECT_EQ(cardsOf(deck, "GE"), (std::vector<Lines>{{"GE", "1"}}));
    EXPECT_EQ(cardsOf(deck, "GN"), (std::vector<Lines>{words("GN 2 0 0 0 13 0.005")}));
}

TEST(NecDeck, MetricDesignIsTheSameModelDescribedAsTheUserGaveIt) {
    const std::string window = design(kWorked + kWinding + "--nec - --height 30").out;
    const std::string metric =
        design(kWorkedMetric + kWindingMetric +
               "--antenna-wire-dia 2.032 --coil-awg 20 --nec - --height 9.144")
            .out;
    for (const char* fact :
         {"CM Total length A = 18.288 m, centre to coil B = 6.096 m\n",
          "CM Antenna wire 2.032 mm diameter, copper\n",
          "turns of AWG 20 on a 50.8 mm former, 5.1 mm long\n", "CM 9.144 m over average ground"}) {
        EXPECT_NE(metric.find(fact), std::string::npos) << fact << "\n" << metric;
    }
    const auto cards = [](const std::string& deck) {
        Lines model;
        for (const std::string& line : linesOf(deck)) {
            if (line.rfind("CM", 0) != 0) {
                model.push_back(line);
            }
        }
        return model;
    };
    const Lines windowCards = cards(window);
    const Lines metricCards = cards(metric);
    ASSERT_EQ(windowCards.size(), metricCards.size());
    for (std::size_t i = 0; i < windowCards.size(); ++i) {
        const Lines windowFields = words(windowCards[i]);
        const Lines metricFields = words(metricCards[i]);
        ASSERT_EQ(windowFields.size(), metricFields.size()) << windowCards[i];
        EXPECT_EQ(metricFields.at(0), windowFields.at(0));
        for (std::size_t f = 1; f < windowFields.size(); ++f) {
            expectClose(std::stod(windowFields[f]), std::stod(metricFields[f]), windowCards[i]);
        }
    }
}

TEST(NecDeck, DesignsThatComputeButCannotBeModelledLeaveNoDeck) {
    const std::vector<std::pair<std::string, std::string>> rows{
        {"--freq 7 --length 0.1 --coil-distance 0",
         "tarvix-design: --nec: the wire is too short against its radius to model"},
        // Refused by the simulation's rules before the deck is made.
        {"--freq 7 --length 70 --coil-distance 0",
         "tarvix-design: --length: '70' is already a half wave at 7 MHz or longer: the antenna "
         "needs no coils"}};
    for (const auto& [args, complaint] : rows) {
        const ProgramRun onStdout = design(args + " --nec -");
        EXPECT_EQ(onStdout.status, 2) << args;
        EXPECT_EQ(onStdout.out, "") << args;
        EXPECT_EQ(linesOf(onStdout.err).front(), complaint);

        const ScratchDir scratch;
        const auto deck = scratch.path("design.nec");
        const ProgramRun toFile = design(args + " --nec " + deck.string());
        EXPECT_EQ(toFile.status, 2) << args;
        EXPECT_EQ(toFile.out, "") << args;
        EXPECT_FALSE(std::filesystem::exists(deck)) << args;
    }
}

TEST(NecDeck, CoilsAtTheFeedAreOneLoadOfTwiceTheInductance) {
    const std::string args = "--freq 7 --length 60 --coil-distance 0";
    const double inductanceUH = json::parse(design(args + " --json").out)["inductance_uH"];
    const std::string deck = design(args + " --nec -").out;
    // Series RLC loads (type 0) are the coils: LD 0 wire first-segment last-segment R L C.
    std::vector<Lines> coils;
    for (const Lines& load : cardsOf(deck, "LD")) {
        if (load.at(1) == "0") {
            coils.push_back(load);
        }
    }
    ASSERT_EQ(coils.size(), 1u) << deck;
    const Lines feed = cardsOf(deck, "EX").at(0); // EX 0 wire segment ...
    EXPECT_EQ(coils[0].at(2), feed.at(2));
    EXPECT_EQ(coils[0].at(3), feed.at(3));
    EXPECT_EQ(coils[0].at(4), feed.at(3));
    EXPECT_NEAR(std::stod(coils[0].at(6)), 2 * inductanceUH * 1e-6, 1e-18);
}

TEST(NecDeck, FileGetsTheDeckAndStdoutTheReport) {
    const ScratchDir scratch;
    const auto path = scratch.path("design.nec");
    const ProgramRun run = design(kWorked + "--nec " + path.string());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, design(kWorked).out);
    EXPECT_EQ(readFile(path), design(kWorked + "--nec -").out);

    // A link is followed, not replaced.
    const auto link = scratch.path("link.nec");
    std::filesystem::create_symlink(path, link);
    std::ofstream(path) << "old deck\n";
    EXPECT_EQ(design(kWorked + "--nec " + link.string()).status, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(readFile(path), design(kWorked + "--nec -").out);

    const ProgramRun unwritable =
        design(kWorked + "--nec " + (scratch.path("no-dir") / "x").string());
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(unwritable.err.rfind("tarvix-design: cannot write", 0), 0u) << unwritable.err;
}

TEST(NecDeck, AFailedWriteKeepsTheOldDeckAndLeavesNoOtherFile) {
    const ScratchDir scratch;
    const auto deck = scratch.path("design.nec");
    std::ofstream(deck) << "old deck\n";
    // A file size limit of one 512-byte block stops the write part-way
    // through this deck; standard output and standard error stay below it.
    std::vector<std::string> args{"-c", "trap '' XFSZ; ulimit -f 1; exec \"$0\" \"$@\"",
                                  TARVIX_DESIGN_PATH};
    for (const std::string& word :
         words(kWorked + kWinding + "--height 30 --nec " + deck.string())) {
        args.push_back(word);
    }
    const ProgramRun run = runProgram("/bin/sh", args);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "tarvix-design: cannot write " + deck.string() + ": File too large\n");
    EXPECT_EQ(readFile(deck), "old deck\n");
    const auto entries = std::distance(std::filesystem::directory_iterator(deck.parent_path()),
                                       std::filesystem::directory_iterator());
    EXPECT_EQ(entries, 1);
}

// ---- standard output that cannot be written: exit 1 -----------------------------

TEST(StandardOutput, AFullDiskIsReportedWithExitOne) {
    for (const std::string& args : {kWorked, kWorked + "--json", kWorked + "--nec -",
                                    kFA + "--sweep-b 0:20:5", std::string("--help")}) {
        std::vector<std::string> shellArgs{"-c", "exec \"$0\" \"$@\" >/dev/full",
                                           TARVIX_DESIGN_PATH};
        for (const std::string& word : words(args)) {
            shellArgs.push_back(word);
        }
        const ProgramRun run = runProgram("/bin/sh", shellArgs);
        EXPECT_EQ(run.status, 1) << args;
        EXPECT_EQ(run.err, "tarvix-design: cannot write standard output: No space left on device\n")
            << args;
    }
}

} // namespace
} // namespace tarvix::test
