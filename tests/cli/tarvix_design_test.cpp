// tarvix-design as a user runs it: the built executable, its outputs and its
// exit status.
#include "program_run.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

namespace tarvix::test {
namespace {

using nlohmann::json;
using Lines = std::vector<std::string>;

std::vector<std::string> words(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> result;
    for (std::string word; stream >> word;) {
        result.push_back(word);
    }
    return result;
}

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
    EXPECT_EQ(object["revised_length_in"].get<double>(), 0.2);
    EXPECT_EQ(object["message"], "Revised length = 0.2 inch");
    EXPECT_EQ(object["warnings"], json::array());
    std::vector<std::pair<int, double>> passes;
    for (const json& pass : object["passes"]) {
        EXPECT_EQ(pass.size(), 2u);
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
    for (const std::string& option : words("--freq --length --coil-distance --antenna-swg "
                                           "--former-dia --coil-length --coil-swg --json "
                                           "--sweep-b --csv --nec --height")) {
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

// clang-format off
INSTANTIATE_TEST_SUITE_P(TarvixDesign, UsageError, testing::Values(
    UsageCase{"FrequencyNotANumber", "--freq 7x --length 60 --coil-distance 20", "--freq: '7x' is not a number"},
    UsageCase{"LengthWithComma", "--freq 7 --length 60,5 --coil-distance 20", "--length: '60,5' is not a number"},
    UsageCase{"DistanceEmpty", kFA + "--coil-distance=", "--coil-distance: "},
    UsageCase{"AntennaGaugeWord", kWorked + "--antenna-swg abc", "--antenna-swg: 'abc' is not a number"},
    UsageCase{"CoilGaugeLetterO", kWorked + kWinding + "--coil-swg 2O", "--coil-swg: '2O' is not a number"},
    UsageCase{"FrequencyBeyondDouble", "--freq 1e999 --length 60 --coil-distance 20", "--freq: '1e999' is out of range"},
    UsageCase{"FrequencyMissing", "--length 60 --coil-distance 20", "--freq is required"},
    UsageCase{"DistanceMissing", kFA, "--coil-distance is required"},
    UsageCase{"FormerWithoutLength", kWorked + "--former-dia 2", "--former-dia requires --coil-length"},
    UsageCase{"SweepWithDistance", kWorked + "--sweep-b 0:20:5", "--coil-distance excludes --sweep-b"},
    UsageCase{"SweepStepZero", kFA + "--sweep-b 0:20:0", "--sweep-b: '0:20:0': the step must be above 0"},
    UsageCase{"HeightOnTheGround", kWorked + "--nec - --height 0", "--height: '0' is not above the ground"},
    UsageCase{"DeckAndJsonOnStdout", kWorked + "--nec - --json", "--nec - and --json both write to standard output"}),
    [](const testing::TestParamInfo<UsageCase>& info) { return info.param.name; });
// clang-format on

// ---- calculation faults: exit 3, stage and fault named, no deck -----------------

struct FaultCase {
    const char* name;
    std::string args;
    std::string stage;
    std::string fault;
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
    EXPECT_EQ(design(c.args + " --nec " + deck.string()).status, 3);
    EXPECT_FALSE(std::filesystem::exists(deck));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(TarvixDesign, CalculationFault, testing::Values(
    FaultCase{"ZeroFrequency", "--freq 0 --length 60 --coil-distance 20", "inductance", "Division by zero"},
    FaultCase{"AntennaGaugeNotInTable", kWorked + "--antenna-swg 11", "inductance", "Division by zero"},
    FaultCase{"CoilsAtTheTips", kFA + "--coil-distance 30", "inductance", "Invalid argument"},
    FaultCase{"FrequencyOverflows", "--freq 1e300 --length 60 --coil-distance 20", "inductance", "Overflow"},
    FaultCase{"ZeroFormerDiameter", kWorked + "--former-dia 0 --coil-length 2", "winding", "Division by zero"},
    FaultCase{"NegativeInductance", "--freq 7 --length 70 --coil-distance 20 " + kWinding, "winding", "Invalid argument"},
    FaultCase{"CoilGaugeNotInTable", kWorked + kWinding + "--coil-swg 11", "winding",
              "Coil wire SWG must be an even gauge from 10 to 30"}),
    [](const testing::TestParamInfo<FaultCase>& info) { return info.param.name; });
// clang-format on

TEST(StepOneWarnings, GoToStandardErrorAndJsonInTheWindowsOrderWithoutStopping) {
    const Lines warnings{"Input HF range only (1.5 to 30MHz)", "A ahould be larger than 14.3 ft",
                         " A should be smaller than  13 ft", "B should be lower than 5 ft"};
    const ProgramRun run = design("--freq 31 --length 14 --coil-distance 5.5 --json");
    EXPECT_EQ(run.status, 0);
    Lines expectedErr;
    for (const std::string& warning : warnings) {
        expectedErr.push_back("tarvix-design: warning: " + warning);
    }
    EXPECT_EQ(linesOf(run.err), expectedErr);
    const json object = json::parse(run.out);
    EXPECT_EQ(object["warnings"].get<Lines>(), warnings);
    EXPECT_TRUE(object.contains("inductance_uH"));
}

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
    const auto wire = cardsOf(deck, "GW").at(0);
    // 30 ft either side of the centre; SWG 14 is 0.08 in thick.
    EXPECT_EQ(wire, words("GW 1 15 -9.144 0 0 9.144 0 0 0.001016"));
    EXPECT_EQ(cardsOf(deck, "GE"), (std::vector<Lines>{{"GE", "0"}}));
    EXPECT_TRUE(cardsOf(deck, "GN").empty());
    EXPECT_EQ(cardsOf(deck, "EX").at(0), words("EX 0 1 8 0 1 0"));
    // 15 segments of 4 ft: the centres 5 segments from the feed are at +-20 ft.
    EXPECT_EQ(cardsOf(deck, "LD"),
              (std::vector<Lines>{words("LD 0 1 3 3 0 5.53350041759205E-06 0"),
                                  words("LD 0 1 13 13 0 5.53350041759205E-06 0")}));
    EXPECT_EQ(cardsOf(deck, "FR").at(0), words("FR 0 41 0 0 5.6 0.07"));
    EXPECT_EQ(linesOf(deck).back(), "EN");
}

TEST(NecDeck, HeightPutsTheWireOverAverageGround) {
    const std::string deck = design(kWorked + "--nec - --height 30").out;
    EXPECT_EQ(cardsOf(deck, "GW").at(0), words("GW 1 15 -9.144 0 9.144 9.144 0 9.144 0.001016"));
    EXPECT_EQ(cardsOf(deck, "GE"), (std::vector<Lines>{{"GE", "1"}}));
    EXPECT_EQ(cardsOf(deck, "GN"), (std::vector<Lines>{words("GN 2 0 0 0 13 0.005")}));
}

TEST(NecDeck, FileGetsTheDeckAndStdoutTheReport) {
    const ScratchDir scratch;
    const auto path = scratch.path("design.nec");
    const ProgramRun run = design(kWorked + "--nec " + path.string());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, design(kWorked).out);
    EXPECT_EQ(readFile(path), design(kWorked + "--nec -").out);

    const ProgramRun unwritable =
        design(kWorked + "--nec " + (scratch.path("no-dir") / "x").string());
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(unwritable.err.rfind("tarvix-design: cannot write", 0), 0u) << unwritable.err;
}

} // namespace
} // namespace tarvix::test
