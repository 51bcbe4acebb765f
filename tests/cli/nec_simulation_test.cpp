// The designs checked in a real antenna simulator. The deck tarvix-design
// writes must resonate near the design frequency when nec2c solves it; the
// simulation built on nec2c must be converged, reproduce the physics of plain
// and loaded dipoles, and fail cleanly when nec2c is missing or fails.
#include "calc/coil_model.h"
#include "calc/design_run.h"
#include "calc/number_text.h"
#include "fake_nec2c.h"
#include "nec/nec2c.h"
#include "nec/simulation.h"
#include "needs_nec2c.h"
#include "program_run.h"
#include "report/simulation_report.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <complex>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace tarvix::test {
namespace {

// The first frequency where the reactance changes sign, interpolated between
// the two sweep points either side of it.
std::optional<double> resonanceOf(const std::vector<FeedPoint>& points) {
    for (std::size_t i = 1; i < points.size(); ++i) {
        const FeedPoint& a = points[i - 1];
        const FeedPoint& b = points[i];
        if ((a.reactanceOhm < 0) != (b.reactanceOhm < 0)) {
            return a.freqMHz +
                   (b.freqMHz - a.freqMHz) * a.reactanceOhm / (a.reactanceOhm - b.reactanceOhm);
        }
    }
    return std::nullopt;
}

struct SimulatedDesign {
    const char* name;
    std::vector<std::string> args;
    double freqMHz;
};

void PrintTo(const SimulatedDesign& d, std::ostream* os) {
    *os << d.name;
}

class NecSimulation : public testing::TestWithParam<SimulatedDesign> {};

TEST_P(NecSimulation, ReactanceChangesSignNearTheDesignFrequency) {
    NEEDS_NEC2C();
    const std::string nec2c = NEC2C_PATH;
    const SimulatedDesign& design = GetParam();
    const ScratchDir scratch;
    const auto deck = scratch.path("design.nec");
    const auto output = scratch.path("design.out");

    std::vector<std::string> args = design.args;
    args.insert(args.end(), {"--nec", deck.string()});
    const ProgramRun made = runProgram(TARVIX_DESIGN_PATH, args);
    ASSERT_EQ(made.status, 0) << made.err;

    const ProgramRun solved = runProgram(nec2c, {"-i", deck.string(), "-o", output.string()});
    ASSERT_EQ(solved.status, 0) << solved.out << solved.err;

    const std::vector<FeedPoint> points = readNecOutput(readFile(output));
    ASSERT_GE(points.size(), 3u);
    // The sweep reaches beyond 10 % either side, so a resonance outside the
    // band would be seen and fail.
    EXPECT_LT(points.front().freqMHz, 0.9 * design.freqMHz);
    EXPECT_GT(points.back().freqMHz, 1.1 * design.freqMHz);

    const auto resonance = resonanceOf(points);
    ASSERT_TRUE(resonance) << "no sign change of the reactance in the sweep";
    EXPECT_NEAR(*resonance, design.freqMHz, 0.1 * design.freqMHz);
    for (const FeedPoint& point : points) {
        EXPECT_GT(point.resistanceOhm, 0) << point.freqMHz << " MHz";
    }
}

INSTANTIATE_TEST_SUITE_P(
    TarvixDesign, NecSimulation,
    testing::Values(
        // The worked example: 40 m band, 60 ft against a 67 ft half wave.
        SimulatedDesign{
            "WorkedExampleInFreeSpace",
            {"--freq", "7", "--length", "60", "--coil-distance", "20", "--antenna-swg", "14"},
            7},
        // Top band on 40 ft of wire: 16 % of the 253 ft half wave, coils a
        // quarter of the way out.
        SimulatedDesign{"TopBandOnFortyFeet",
                        {"--freq", "1.85", "--length", "40", "--coil-distance", "10"},
                        1.85},
        // 80 m band on 40 ft: a third of the half wave.
        SimulatedDesign{
            "EightyMetresOnFortyFeet",
            {"--freq", "3.6", "--length", "40", "--coil-distance", "10", "--antenna-swg", "16"},
            3.6},
        SimulatedDesign{
            "WorkedExampleThirtyFeetOverGround",
            {"--freq", "7", "--length", "60", "--coil-distance", "20", "--height", "30"},
            7}),
    [](const testing::TestParamInfo<SimulatedDesign>& info) { return info.param.name; });

// ---- --simulate as a user runs it ------------------------------------------------------

std::vector<std::string> words(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> args;
    for (std::string word; stream >> word;) {
        args.push_back(word);
    }
    return args;
}

const std::string kWorkedSimulation = "--freq 7 --length 60 --coil-distance 20 --simulate ";

bool emptyFolder(const std::filesystem::path& folder) {
    return std::filesystem::is_empty(folder);
}

TEST(SimulateCommand, ReportsInSentencesAndInJson) {
    NEEDS_NEC2C();
    const ProgramRun text =
        runProgram(TARVIX_DESIGN_PATH, words(kWorkedSimulation + "--former-dia 2 --coil-length 2"));
    ASSERT_EQ(text.status, 0) << text.err;
    for (const char* sentence :
         {"Revised length = 0.2 inch\n\nSimulated (nec2c, ", "bare copper wire in free space",
          "):\nWind 10 turns of SWG 20 on the 2 in former, spread to ", "uH at 7 MHz, Q ",
          "The calculator's classic winding of the formula's coil, 7 turns close-wound, has ",
          "outside the 2:1 SWR band; ", " turns at the same pitch bring it to 7 MHz.\n",
          "; an LCR meter reads ", " uH, and an analyzer across it at 7 MHz reads ",
          " uH apparent (self-capacitance ", "--height models it",
          "The formula's coils resonate at 7.2", "For resonance at 7 MHz",
          " turns, revised length ", "each tip must be ",
          "2:1 SWR band: ", "Radiation efficiency at 7 MHz: "}) {
        EXPECT_NE(text.out.find(sentence), std::string::npos) << sentence << "\n" << text.out;
    }
    // What to cut and wind opens the report: one turn count, the one to build.
    EXPECT_EQ(text.out.rfind("Build sheet (the coils as wound, from the simulation) for F = 7 "
                             "MHz, A = 60 ft tip to tip, B = 20 ft:\nCut the antenna wire (SWG "
                             "14) in four pieces",
                             0),
              0u)
        << text.out;
    EXPECT_LT(text.out.find("Wind each coil: 10 turns of SWG 20 on a 2 in PVC pipe"),
              text.out.find("Turns:          7"));

    const ProgramRun run = runProgram(
        TARVIX_DESIGN_PATH,
        words(kWorkedSimulation + "--json --height 30 --insulation 0.02 --coil-q 150 --z0 75"));
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json sim = nlohmann::json::parse(run.out).at("simulation");
    EXPECT_EQ(sim["engine"], "nec2c");
    EXPECT_EQ(sim["height_ft"], 30);
    EXPECT_EQ(sim["insulation_in"], 0.02);
    EXPECT_EQ(sim["insulation_er"], 3.5);
    EXPECT_EQ(sim["coil_q"], 150);
    EXPECT_EQ(sim["z0_ohm"], 75);
    EXPECT_TRUE(sim["segments"].is_number_integer());
    EXPECT_EQ(sim["formula"]["inductance_uH"], 5.533500417592047);
    EXPECT_NEAR(sim["corrected"]["resonance_MHz"].get<double>(), 7, 7 * 0.0005);
    EXPECT_TRUE(sim["corrected"]["impedance_ohm"]["r"].is_number());
    EXPECT_TRUE(sim["corrected"]["turns"].is_null());
    EXPECT_TRUE(sim["corrected"]["revised_length_in"].is_null());
    EXPECT_TRUE(sim["tip_change_ft"].is_number());
    EXPECT_TRUE(sim["swr2_band_MHz"]["low"].is_number());
    EXPECT_TRUE(sim["feedline"].is_null());
    EXPECT_GT(sim["efficiency_percent"].get<double>(), 50);
    EXPECT_GT(sim["loss_dB"].get<double>(), 0);
    // Each deck nec2c ran has a frequency at least.
    EXPECT_GE(sim.at("frequencies").get<int>(), sim.at("solves").get<int>());

    // The same antenna given in metres and millimetres: the same answers,
    // lengths in metric under keys that say so.
    const ProgramRun metric = runProgram(
        TARVIX_DESIGN_PATH,
        words("--metric --freq 7 --length 18.288 --coil-distance 6.096 "
              "--simulate --json --height 9.144 --insulation 0.508 "
              "--coil-q 150 --z0 75 --former-dia 50.8 --coil-length 50.8 --measured 7.2"));
    ASSERT_EQ(metric.status, 0) << metric.err;
    const nlohmann::json metricSim = nlohmann::json::parse(metric.out).at("simulation");
    EXPECT_NEAR(metricSim["height_m"].get<double>(), 9.144, 1e-12);
    EXPECT_NEAR(metricSim["insulation_mm"].get<double>(), 0.508, 1e-12);
    EXPECT_NEAR(metricSim["tip_change_m"].get<double>(),
                sim["tip_change_ft"].get<double>() * 0.3048, 1e-6);
    EXPECT_NEAR(metricSim["corrected"]["inductance_uH"].get<double>(),
                sim["corrected"]["inductance_uH"].get<double>(), 1e-6);
    // The winding to build and the window's winding, in millimetres.
    const nlohmann::json& winding = metricSim["corrected"]["winding"];
    // Across its terminals, self-capacitance included, it acts as the ideal
    // coil the search found; its own inductance is less.
    EXPECT_NEAR(winding["apparent_inductance_uH"].get<double>(),
                metricSim["corrected"]["inductance_uH"].get<double>(), 0.01 * 7);
    EXPECT_LT(winding["inductance_uH"].get<double>(),
              winding["apparent_inductance_uH"].get<double>());
    EXPECT_GT(winding["self_capacitance_pF"].get<double>(), 0);
    EXPECT_NEAR(winding["analyzer"]["x_ohm"].get<double>(),
                2 * 3.141592653589793 * 7 * winding["apparent_inductance_uH"].get<double>(),
                1e-9 * winding["analyzer"]["x_ohm"].get<double>());
    EXPECT_NEAR(winding["length_mm"].get<double>(),
                winding["pitch_mm"].get<double>() * winding["turns"].get<double>(), 1e-9);
    EXPECT_GT(winding["wire_length_m"].get<double>(), 10 * 3.14 * 0.0508);
    EXPECT_EQ(metricSim["coil_q_from"], "given");
    EXPECT_EQ(metricSim["window_winding"]["turns"], 7);
    EXPECT_TRUE(metricSim["window_winding"]["in_swr2_band"].is_boolean());
    // Measured above F: shorter than built, more turns, longer tips.
    const nlohmann::json trim = nlohmann::json::parse(metric.out).at("trim");
    EXPECT_LT(trim["length_scale"].get<double>(), 1);
    EXPECT_GT(trim["turns_change"].get<double>(), 0);
    EXPECT_GT(trim["tip_change_m"].get<double>(), 0);
    EXPECT_LT(trim["khz_per_cm_of_tip"].get<double>(), 0);
    EXPECT_TRUE(trim.contains("winding_length_mm"));
    EXPECT_NE(trim["assumption"].get<std::string>().find("shorter than built"), std::string::npos);
}

// The winding to build as the report names it, from the way the wire and the
// pitch were given.
// The rig's end of 66 ft of RG-213: the feed point carried through the line
// by the textbook formula, from the figures the report gives of the line.
TEST(SimulateCommand, FeedLineShowsTheFeedPointAtTheRig) {
    NEEDS_NEC2C();
    const ProgramRun run =
        runProgram(TARVIX_DESIGN_PATH,
                   words(kWorkedSimulation + "--former-dia 2 --feedline RG-213:66 --json"));
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json sim = nlohmann::json::parse(run.out).at("simulation");
    const nlohmann::json& line = sim.at("feedline");
    EXPECT_EQ(line["type"], "RG-213");
    EXPECT_EQ(line["length_ft"], 66);
    EXPECT_EQ(line["z0_ohm"], 50);
    const double z0 = line["z0_ohm"];
    const double alphaL = line["loss_dB"].get<double>() / (20 / std::log(10.0));
    const double betaL =
        2 * M_PI * 66 * 0.3048 * 7e6 / (299792458.0 * line["velocity_factor"].get<double>());
    const std::complex<double> t = std::tanh(std::complex<double>(alphaL, betaL));
    const std::complex<double> zl(sim["corrected"]["impedance_ohm"]["r"].get<double>(),
                                  sim["corrected"]["impedance_ohm"]["x"].get<double>());
    const std::complex<double> rig = z0 * (zl + z0 * t) / (z0 + zl * t);
    const nlohmann::json& atRig = sim.at("at_rig");
    EXPECT_NEAR(atRig["impedance_ohm"]["r"].get<double>(), rig.real(), 1e-6 * std::abs(rig));
    EXPECT_NEAR(atRig["impedance_ohm"]["x"].get<double>(), rig.imag(), 1e-6 * std::abs(rig));
    const double reflection = std::abs((rig - 50.0) / (rig + 50.0));
    EXPECT_NEAR(atRig["swr"].get<double>(), (1 + reflection) / (1 - reflection), 1e-9);
    EXPECT_EQ(atRig["loss_dB"], line["loss_with_swr_dB"]);
    // The line's loss flatters the SWR: the rig's 2:1 band holds the antenna's.
    const nlohmann::json& band = atRig["swr2_band_MHz"];
    ASSERT_TRUE(band.is_array()) << line;
    EXPECT_LE(band[0].get<double>(), sim["swr2_band_MHz"]["low"].get<double>() + 1e-6);
    EXPECT_GE(band[1].get<double>(), sim["swr2_band_MHz"]["high"].get<double>() - 1e-6);
    EXPECT_GT(line["loss_with_swr_dB"].get<double>(), line["loss_dB"].get<double>());

    const ProgramRun text = runProgram(
        TARVIX_DESIGN_PATH, words(kWorkedSimulation + "--former-dia 2 --feedline RG-213:66"));
    ASSERT_EQ(text.status, 0) << text.err;
    // The build sheet's expectations give what the builder's meter reads at
    // the rig, as the JSON has it.
    char rigSwr[16];
    std::snprintf(rigSwr, sizeof rigSwr, "%.2f", atRig["swr"].get<double>());
    const std::string atTheRig =
        std::string(". At the rig: SWR ") + rigSwr + " at 7 MHz, 2:1 from ";
    for (const std::string& sentence :
         {std::string("At the rig, through 66 ft of RG-213 (50 ohm, velocity factor"),
          std::string("2:1 SWR band at the rig: "),
          std::string("dB with the antenna's SWR on it.\n"), atTheRig}) {
        EXPECT_NE(text.out.find(sentence), std::string::npos) << sentence << "\n" << text.out;
    }
    EXPECT_LT(text.out.find(atTheRig), text.out.find("\nBench check: ")) << text.out;
}

TEST(SimulateCommand, BuildSheetSentences) {
    NEEDS_NEC2C();
    struct Row {
        std::string args;
        std::vector<const char*> fragments;
    };
    for (const Row& row : std::vector<Row>{
             {kWorkedSimulation + "--former-dia 2 --coil-pitch 0.05",
              {"):\nWind ", " turns of SWG 20 on the 2 in former at a pitch of 0.050 in ("}},
             {kWorkedSimulation + "--former-dia 1.5 --coil-awg 22",
              {"):\nWind ", " turns of AWG 22 on the 1.5 in former, spread to "}},
             {"--metric --freq 7 --length 18.288 --coil-distance 6.096 --simulate "
              "--former-dia 40 --coil-wire-dia 0.8",
              {" turns of 0.80 mm wire on the 40 mm former, spread to ", " m of wire (76 mm "}},
             {kWorkedSimulation + "--former-dia 2 --measured 6.9 --measured-r 90",
              {"\nTrim for the resonance measured at 6.9 MHz:\nThe model resonates there when "
               "the antenna behaves as if its wire were 1.",
               "% longer than built", "(measured: 90 ohm).\nThe resistance measured above",
               "try them in this order:\n1. Shorten each tip by ", "\n2. Spread the 10 turns to ",
               "\n3. Remove ", "For the next trim: each quarter turn moves the resonance about "}},
             // A long coil near a tip: its body adds percents in the antenna.
             {"--freq 14.2 --length 24 --coil-distance 10 --simulate --former-dia 2 "
              "--coil-pitch 0.2 --coil-former air --coil-swg 16",
              {" self-resonance 40.5 MHz); in the antenna its body, a cylinder where the wire "
               "would be, acts as "}},
             {"--freq 1.85 --length 100 --coil-distance 30 --simulate --former-dia 3 "
              "--coil-swg 18 --coil-turns 150",
              {"The coil already wound, 150 turns close-wound, has ", "; an LCR meter reads ",
               ": that antenna does not resonate between ",
               " turns at the same pitch bring it to 1.85 MHz.\n",
               "Warning: the coil resonates by itself near ",
               " MHz, less than three times 1.85 MHz: at 1.85 MHz it acts as much more "
               "inductance than it has",
               "A larger former with fewer turns, spaced turns, thinner wire or the coils "
               "further out raise its self-resonance."}}}) {
        const ProgramRun run = runProgram(TARVIX_DESIGN_PATH, words(row.args));
        ASSERT_EQ(run.status, 0) << row.args << "\n" << run.err;
        for (const char* fragment : row.fragments) {
            EXPECT_NE(run.out.find(fragment), std::string::npos) << fragment << "\n" << run.out;
        }
    }
}

struct SimulateFault {
    const char* name;
    std::string args;
    std::vector<std::string> environment; // PATH for nec2c
    int status;
    const char* complaint;
};

void PrintTo(const SimulateFault& c, std::ostream* os) {
    *os << c.name;
}

class SimulateFaults : public testing::TestWithParam<SimulateFault> {};

// Each fault has its exit status, says what went wrong, and leaves nothing in
// the temporary folder.
TEST_P(SimulateFaults, ExitStatusMessageAndNoTemporaryFilesLeft) {
    NEEDS_NEC2C();
    const SimulateFault& c = GetParam();
    const ScratchDir scratch;
    const auto temporary = scratch.path("tmp");
    std::filesystem::create_directory(temporary);
    std::vector<std::string> environment{"TMPDIR=" + temporary.string()};
    for (const std::string& setting : c.environment) {
        if (setting == "PATH=fake" || setting == "PATH=steady") {
            // A failing engine, or one whose antenna never changes.
            const std::string engine = setting == "PATH=fake"
                                           ? fakeEngine(scratch, "nec2c: bad card", 255)
                                           : fakeEngine(scratch, "", 0);
            environment.push_back("PATH=" + std::filesystem::path(engine).parent_path().string());
        } else {
            environment.push_back(setting);
        }
    }
    const ProgramRun run = runProgram(TARVIX_DESIGN_PATH, words(c.args), environment);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.complaint), std::string::npos) << run.err;
    // A simulation that fails keeps the design's report; a design that
    // cannot be run or modelled has none.
    EXPECT_EQ(run.out.empty(), c.status != 1) << run.out;
    EXPECT_TRUE(emptyFolder(temporary));
}

INSTANTIATE_TEST_SUITE_P(
    Nec, SimulateFaults,
    testing::Values(
        SimulateFault{"NoEngineOnPath",
                      kWorkedSimulation,
                      {"PATH=/nonexistent"},
                      1,
                      "needs the NEC-2 engine of the Debian package nec2c"},
        SimulateFault{
            "EngineFails", kWorkedSimulation, {"PATH=fake"}, 1, "nec2c failed: nec2c: bad card"},
        SimulateFault{"NoCoilMakesItResonate",
                      kWorkedSimulation,
                      {"PATH=steady"},
                      1,
                      "--simulate: no coil inductance makes the antenna resonate at 7 MHz"},
        // B beyond 234 / F ft: the formula's logarithm has no argument.
        SimulateFault{"DesignFaults",
                      "--freq 7 --length 70 --coil-distance 34 --simulate",
                      {},
                      3,
                      "inductance: "},
        SimulateFault{"NoCoilToSimulate",
                      "--freq 7 --length 70 --coil-distance 0 --simulate",
                      {},
                      2,
                      "--length: '70' is already a half wave at 7 MHz or longer: the antenna "
                      "needs no coils"},
        SimulateFault{"WireThickAgainstItsLength",
                      "--freq 29 --length 0.1 --coil-distance 0.01 --antenna-swg 10 --simulate",
                      {},
                      2,
                      "--simulate: "},
        SimulateFault{"PlotIntoNoFolder",
                      kWorkedSimulation + "--plot /nonexistent/folder/plot.svg",
                      {},
                      1,
                      "--plot: cannot write /nonexistent/folder/plot.svg"},
        SimulateFault{"SheetIntoNoFolder",
                      kWorkedSimulation + "--former-dia 2 --sheet /nonexistent/folder/sheet.pdf",
                      {},
                      1,
                      "--sheet: cannot write /nonexistent/folder/sheet.pdf"}),
    [](const testing::TestParamInfo<SimulateFault>& info) { return info.param.name; });

// Stopped by a signal while nec2c works, the program still removes its
// temporary folder.
TEST(SimulateCommand, InterruptedRunLeavesNoTemporaryFiles) {
    const ScratchDir scratch;
    const auto temporary = scratch.path("tmp");
    std::filesystem::create_directory(temporary);
    const auto slowEngine = scratch.path("nec2c");
    std::ofstream(slowEngine) << "#!/bin/sh\nexec /bin/sleep 5\n";
    chmod(slowEngine.c_str(), 0755);
    // A program started in the background ignores INT; TERM and HUP reach it.
    for (const char* signal : {"TERM", "HUP"}) {
        const ProgramRun run = runProgram(
            "/bin/sh",
            {"-c", std::string(TARVIX_DESIGN_PATH) + " " + kWorkedSimulation +
                       "& sleep 0.5; kill -" + signal + " $!; wait $!; echo $? >&2"},
            {"TMPDIR=" + temporary.string(), "PATH=" + scratch.path("").string() + ":/bin"});
        EXPECT_NE(run.err, "0\n") << signal;
        EXPECT_TRUE(emptyFolder(temporary)) << signal;
    }
}

TEST(SimulateCommand, PlotReplacesTheFileWholeAsSvgOrPng) {
    NEEDS_NEC2C();
    const ScratchDir scratch;
    for (const char* name : {"plot.svg", "plot.PNG"}) {
        const auto path = scratch.path(name);
        std::ofstream(path) << "an older picture";
        const ProgramRun run =
            runProgram(TARVIX_DESIGN_PATH, words(kWorkedSimulation + "--plot " + path.string()));
        ASSERT_EQ(run.status, 0) << run.err;
        const std::string picture = readFile(path);
        if (std::string(name).ends_with(".svg")) {
            EXPECT_NE(picture.find("<svg"), std::string::npos);
            EXPECT_NE(picture.find("Frequency (MHz)"), std::string::npos);
            EXPECT_NE(picture.find("SWR on 50 ohm"), std::string::npos);
            EXPECT_NE(picture.find("Reactance (ohm)"), std::string::npos);
        } else {
            EXPECT_EQ(picture.substr(0, 8), "\x89PNG\r\n\x1a\n");
        }
    }
    // Under a locale with a decimal comma the axes and the report still
    // write points.
    const auto german = scratch.path("german.svg");
    const ProgramRun run =
        runProgram(TARVIX_DESIGN_PATH, words(kWorkedSimulation + "--plot " + german.string()),
                   {"LC_ALL=de_DE.UTF-8"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(readFile(german).find(">7.0<"), std::string::npos);
    EXPECT_EQ(readFile(german).find(">7,0<"), std::string::npos);
    EXPECT_NE(run.out.find("Radiation efficiency at 7 MHz: 96."), std::string::npos) << run.out;
    std::filesystem::remove(german);

    // Nothing but the two pictures is left beside them.
    int files = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(scratch.path(""))) {
        ++files;
    }
    EXPECT_EQ(files, 2);
}

// The build sheet is one page holding the winding the report gives: its
// turns, its wire to cut, and the antenna's pieces, A/2 - B or B less half a
// coil each, with 3 in (0.0762 m) of loops on every piece; hung over the
// ground, the antenna as hung with its heights and its legs' angle.
TEST(SimulateCommand, BuildSheetIsOnePageOfTheReportsWinding) {
    NEEDS_NEC2C();
    struct Row {
        std::string args;
        const char* name;
        double aFt, bFt;
        bool metric;
        std::vector<std::string> hung = {};
    };
    const ScratchDir scratch;
    for (const Row& row : std::vector<Row>{
             {kWorkedSimulation + "--former-dia 2", "sheet.svg", 60, 20, false},
             {kWorkedSimulation + "--former-dia 1.5 --coil-awg 22", "sheet.PDF", 60, 20, false},
             {"--metric --freq 7 --length 18.288 --coil-distance 6.096 --simulate "
              "--former-dia 40 --coil-wire-dia 0.8",
              "metric.svg", 60, 20, true},
             {kWorkedSimulation + "--former-dia 2 --height 30 --end-height 10 --ground sea",
              "hung.svg",
              60,
              20,
              false,
              {">inverted V: legs 96 degrees apart<", ">tips 10 ft<", ">feed point 30 ft<",
               ">sea water<"}}}) {
        const auto path = scratch.path(row.name);
        const ProgramRun run =
            runProgram(TARVIX_DESIGN_PATH, words(row.args + " --json --sheet " + path.string()));
        ASSERT_EQ(run.status, 0) << row.args << "\n" << run.err;
        const nlohmann::json winding =
            nlohmann::json::parse(run.out).at("simulation").at("corrected").at("winding");
        const std::string sheet = readFile(path);
        if (std::string(row.name).ends_with(".PDF")) {
            EXPECT_EQ(sheet.substr(0, 4), "%PDF");
            std::size_t pages = 0;
            for (std::size_t at = sheet.find("/Type /Page"); at != std::string::npos;
                 at = sheet.find("/Type /Page", at + 1)) {
                pages += sheet.compare(at, 12, "/Type /Pages") != 0;
            }
            EXPECT_EQ(pages, 1u);
            continue;
        }
        const double coilFt = row.metric ? winding.at("length_mm").get<double>() / 304.8
                                         : winding.at("length_in").get<double>() / 12;
        // Wire to cut as a tape reads it: metres to 5 mm, or feet and inches.
        const auto length = [&](double feet) {
            return row.metric ? fixedText(std::round(feet * 0.3048 / 0.005) * 0.005, 3) + " m"
                              : feetAndInches(feet);
        };
        const std::string wire =
            length(winding.at(row.metric ? "wire_length_m" : "wire_length_ft").get<double>() /
                   (row.metric ? 0.3048 : 1));
        for (const std::string& fragment :
             {">" + std::to_string(winding.at("turns").get<int>()) + " turns on the ",
              ": cut " + wire + " each<", ">cut " + length(row.bFt - coilFt / 2 + 0.5) + " each<",
              ">cut " + length(row.aFt / 2 - row.bFt - coilFt / 2 + 0.5) + " each<",
              // A4 or Letter, in points.
              std::string(row.metric ? "viewBox=\"0 0 595 842\"" : "viewBox=\"0 0 612 792\"")}) {
            EXPECT_NE(sheet.find(fragment), std::string::npos) << row.args << ": " << fragment;
        }
        for (const std::string& fragment : row.hung) {
            EXPECT_NE(sheet.find(fragment), std::string::npos) << row.args << ": " << fragment;
        }
        EXPECT_EQ(sheet.find(">level wire<") != std::string::npos,
                  row.args.find("--height") != std::string::npos && row.hung.empty());
    }
}

// The curves of the SVG plot are the simulation's: each spans the panels'
// width in frequency order; the corrected reactance crosses the zero line at
// the resonance the report gives, and the corrected SWR meets the 2:1 line at
// the band edges the report gives, lowest between them.
struct PlotCase {
    const char* name;
    double freqMHz;
    std::string arguments;
};

struct SvgPoint {
    double x;
    double y;
};

// The points of every shape of one kind (path or polyline) drawn in a
// colour, in drawing order; solid: only those of a solid pen.
std::vector<std::vector<SvgPoint>> svgShapes(const std::string& svg, const std::string& colour,
                                             const std::string& shape, bool solid) {
    std::vector<std::vector<SvgPoint>> shapes;
    const std::string attribute = shape == "path" ? " d=\"" : " points=\"";
    for (std::size_t group = svg.find("<g "); group != std::string::npos;
         group = svg.find("<g ", group + 1)) {
        const std::size_t opened = svg.find('>', group);
        const std::size_t closed = svg.find("</g>", opened);
        const std::string pen = svg.substr(group, opened - group);
        if (pen.find("stroke=\"" + colour + "\"") == std::string::npos ||
            (solid && pen.find("stroke-dasharray") != std::string::npos)) {
            continue;
        }
        for (std::size_t at = svg.find("<" + shape + " ", opened); at < closed;
             at = svg.find("<" + shape + " ", at + 1)) {
            const std::size_t from = svg.find(attribute, at) + attribute.size();
            std::string text = svg.substr(from, svg.find('"', from) - from);
            for (char& c : text) {
                c = (c == 'M' || c == 'L' || c == ',') ? ' ' : c;
            }
            std::istringstream numbers(text);
            std::vector<SvgPoint> points;
            for (SvgPoint point{}; numbers >> point.x >> point.y;) {
                points.push_back(point);
            }
            shapes.push_back(points);
        }
    }
    return shapes;
}

// The point of a curve at x, drawn from a frequency of the sweep.
std::optional<SvgPoint> pointAt(const std::vector<SvgPoint>& curve, double x) {
    for (const SvgPoint& point : curve) {
        if (std::fabs(point.x - x) < 0.05) {
            return point;
        }
    }
    return std::nullopt;
}

void PrintTo(const PlotCase& plot, std::ostream* out) {
    *out << plot.arguments;
}

class PlotCurves : public testing::TestWithParam<PlotCase> {};

TEST_P(PlotCurves, FollowTheSimulation) {
    NEEDS_NEC2C();
    const PlotCase& plot = GetParam();
    const ScratchDir scratch;
    const auto path = scratch.path("plot.svg");
    const ProgramRun run = runProgram(
        TARVIX_DESIGN_PATH, words(plot.arguments + " --simulate --json --plot " + path.string()));
    ASSERT_EQ(run.status, 0) << run.err;
    const nlohmann::json sim = nlohmann::json::parse(run.out).at("simulation");
    const std::string svg = readFile(path);

    // The corrected antenna's pen is solid: SWR first, then reactance. The
    // dotted lines: SWR 2, then reactance 0.
    const auto curves = svgShapes(svg, "#005ab5", "path", true);
    // The legend's sample of the dotted line is short: it is left out.
    auto lines = svgShapes(svg, "#787878", "polyline", false);
    std::erase_if(lines, [](const std::vector<SvgPoint>& line) {
        return line.size() < 2 || line.back().x - line.front().x < 100;
    });
    ASSERT_EQ(curves.size(), 2U);
    ASSERT_EQ(lines.size(), 2U);
    const auto& swr = curves[0];
    const auto& reactance = curves[1];
    const double left = lines[0].front().x;
    const double right = lines[0].back().x;
    ASSERT_GT(swr.size(), static_cast<std::size_t>(kSimulationSweepPoints));
    EXPECT_EQ(reactance.size(), swr.size());
    for (const auto* curve : {&swr, &reactance}) {
        EXPECT_DOUBLE_EQ(curve->front().x, left);
        EXPECT_DOUBLE_EQ(curve->back().x, right);
        for (std::size_t i = 1; i < curve->size(); ++i) {
            // F, the corrected resonance, may stand in the sweep twice.
            EXPECT_GE((*curve)[i].x, (*curve)[i - 1].x) << i;
        }
    }

    // The sweep runs from 80 % to 120 % of F.
    const auto x = [&](double f) { return left + (f / plot.freqMHz - 0.8) / 0.4 * (right - left); };
    const auto resonance = pointAt(reactance, x(sim["corrected"]["resonance_MHz"]));
    ASSERT_TRUE(resonance.has_value());
    EXPECT_NEAR(resonance->y, lines[1].front().y, 0.05);
    const auto low = pointAt(swr, x(sim["swr2_band_MHz"]["low"]));
    const auto high = pointAt(swr, x(sim["swr2_band_MHz"]["high"]));
    ASSERT_TRUE(low.has_value() && high.has_value());
    EXPECT_NEAR(low->y, lines[0].front().y, 0.5);
    EXPECT_NEAR(high->y, lines[0].front().y, 0.5);
    const auto lowest =
        std::max_element(swr.begin(), swr.end(), [](SvgPoint a, SvgPoint b) { return a.y < b.y; });
    EXPECT_GT(lowest->x, low->x);
    EXPECT_LT(lowest->x, high->x);
}

INSTANTIATE_TEST_SUITE_P(
    SimulateCommand, PlotCurves,
    testing::Values(PlotCase{"WorkedExample", 7, "--freq 7 --length 60 --coil-distance 20"},
                    PlotCase{"WoundOverGroundInMetres", 3.6,
                             "--metric --freq 3.6 --length 30 --coil-distance 8 --former-dia 50 "
                             "--height 10"}),
    [](const testing::TestParamInfo<PlotCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace tarvix::test
