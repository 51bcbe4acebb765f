// What the coils carry at a power, from the two-port's algebra, against an
// independent solve: the antenna as built, each coil its winding across its
// terminals on the segments that span it, with nec2c printing the current on
// every segment.
#include "calc/coil_model.h"
#include "calc/wire_gauge.h"
#include "designs.h"
#include "nec/design_model.h"
#include "nec/nec2c.h"
#include "nec/nec_deck.h"
#include "nec/nec_geometry.h"
#include "nec/simulation.h"
#include "needs_nec2c.h"

#include <cmath>
#include <complex>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <numbers>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace tarvix::test {
namespace {

struct Solved {
    std::complex<double> feedCurrent;
    std::complex<double> feedImpedance;
    std::complex<double> coilCurrent; // on the coil's middle segment
};

// nec2c's listing of the model at F: the feed's current and impedance, and
// the current of the segment numbered coilSegment.
Solved solveWithCurrents(const AntennaModel& model, int coilSegment) {
    std::ostringstream deck;
    writeNecDeck(deck, model, {}, {FrequencyRun{model.designFreqMHz, 0, 1}});
    std::string text = deck.str();
    const auto noCurrents = text.find("PT -1");
    if (noCurrents != std::string::npos) {
        text.replace(noCurrents, 5, "PT 0 0 0 0");
    }
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("tarvix-power-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "in.nec") << text;
    const std::string command = std::string(NEC2C_PATH) + " -i " + (dir / "in.nec").string() +
                                " -o " + (dir / "out.txt").string() + " > /dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::ifstream listing(dir / "out.txt");
    Solved solved;
    std::string line;
    bool currents = false;
    bool input = false;
    while (std::getline(listing, line)) {
        std::istringstream row(line);
        if (line.find("ANTENNA INPUT PARAMETERS") != std::string::npos) {
            input = true;
            continue;
        }
        if (line.find("CURRENTS AND LOCATION") != std::string::npos) {
            currents = true;
            continue;
        }
        int first = 0;
        int tag = 0;
        if (!(row >> first >> tag)) {
            continue;
        }
        if (input) {
            double vr, vi, ir, ii, zr, zi;
            if (row >> vr >> vi >> ir >> ii >> zr >> zi) {
                solved.feedCurrent = {ir, ii};
                solved.feedImpedance = {zr, zi};
                input = false;
            }
        } else if (currents && first == coilSegment) {
            double x, y, z, length, re, im;
            row >> x >> y >> z >> length >> re >> im;
            solved.coilCurrent = {re, im};
            currents = false;
        }
    }
    std::filesystem::remove_all(dir);
    return solved;
}

struct PowerRow {
    const char* name;
    double f, a, b;
    double formerIn;
    std::optional<double> heightFt;
};

void PrintTo(const PowerRow& row, std::ostream* os) {
    *os << row.name;
}

class CoilPower : public testing::TestWithParam<PowerRow> {};

// The current through each coil within 5 % of the independent solve's, the
// voltage across it and its heat with it; four times the power, four times
// the heat and twice the current.
TEST_P(CoilPower, AgreesWithTheCurrentNecSolvesOnTheCoilWithTheRealEngine) {
    NEEDS_NEC2C();
    const PowerRow& row = GetParam();
    const DesignResult design = designOf(row.f, row.a, row.b);
    SimulationOptions options;
    options.model.heightFt = row.heightFt;
    options.build =
        CoilBuild{row.formerIn, *coilWireDiameter(20), std::nullopt, "SWG 20", CoilFormer::pvcPipe};
    options.power = PowerOptions{400, "cw", 40};
    Nec2c engine(NEC2C_PATH);
    const SimulationResult result = simulateDesign(design, std::nullopt, options, engine);
    ASSERT_TRUE(result.build && result.correctedStress);
    const CoilStress& stress = *result.correctedStress;

    const CoilCircuit circuit(result.build->winding);
    const AntennaModel built = windingModel(design.record, circuit, options.model);
    const NecGeometry geometry = buildGeometry(built);
    int segment = geometry.coils.front().segment;
    for (const NecWire& wire : geometry.wires) {
        if (wire.tag < geometry.coils.front().tag) {
            segment += wire.segments;
        }
    }
    const Solved solved = solveWithCurrents(built, segment);
    ASSERT_GT(std::abs(solved.feedCurrent), 0);
    ASSERT_GT(solved.feedImpedance.real(), 0);
    const double feedArms = std::sqrt(400 / solved.feedImpedance.real());
    const double coilArms = feedArms * std::abs(solved.coilCurrent / solved.feedCurrent);
    EXPECT_NEAR(stress.currentArms, coilArms, 0.05 * coilArms);
    const std::complex<double> terminals = result.build->analyzerOhm;
    EXPECT_NEAR(stress.voltagePeakV, std::numbers::sqrt2 * coilArms * std::abs(terminals),
                0.05 * stress.voltagePeakV);
    EXPECT_NEAR(stress.dissipationW, coilArms * coilArms * terminals.real(),
                0.1 * stress.dissipationW);
    EXPECT_NEAR(stress.averageW, 0.4 * stress.dissipationW, 1e-9);

    options.power.powerW = 1600;
    const SimulationResult four = simulateDesign(design, std::nullopt, options, engine);
    ASSERT_TRUE(four.correctedStress);
    EXPECT_NEAR(four.correctedStress->dissipationW, 4 * stress.dissipationW,
                1e-6 * stress.dissipationW);
    EXPECT_NEAR(four.correctedStress->currentArms, 2 * stress.currentArms,
                1e-6 * stress.currentArms);
    ASSERT_TRUE(stress.temperatureRiseC && four.correctedStress->temperatureRiseC);
    EXPECT_GT(*four.correctedStress->temperatureRiseC, *stress.temperatureRiseC);
}

INSTANTIATE_TEST_SUITE_P(
    Nec, CoilPower,
    testing::Values(PowerRow{"WorkedExample", 7, 60, 20, 2, std::nullopt},
                    PowerRow{"EightyMetresAtThirtyFeet", 3.6, 80, 20, 3, 30},
                    PowerRow{"SeventeenMetresCoilsNearTheFeed", 18.1, 16, 2, 1.5, std::nullopt}),
    [](const testing::TestParamInfo<PowerRow>& info) { return info.param.name; });

} // namespace
} // namespace tarvix::test
