// The antenna as it is hung: an inverted V's wire where the deck puts it,
// the ground's figures in the deck, and the V against an independent NEC-2
// model of the worked example hung the same ways.
#include "designs.h"
#include "nec/design_model.h"
#include "nec/nec2c.h"
#include "nec/nec_deck.h"
#include "nec/simulation.h"
#include "needs_nec2c.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace tarvix::test {
namespace {

constexpr double kMetresPerFoot = 0.3048;

struct Card {
    double x1, z1, x2, z2;
};

// The wires of the deck, and its ground card's figures (none in free space).
struct Deck {
    std::vector<Card> wires;
    std::optional<std::pair<double, double>> ground; // permittivity, conductivity
};

Deck readDeck(const AntennaModel& model) {
    std::ostringstream out;
    writeNecDeck(out, model, {}, {designSweep(model.designFreqMHz, 1)});
    std::istringstream in(out.str());
    Deck deck;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream card(line);
        std::string kind;
        card >> kind;
        if (kind == "GW") {
            double tag, segments, x1, y1, z1, x2, y2, z2;
            card >> tag >> segments >> x1 >> y1 >> z1 >> x2 >> y2 >> z2;
            deck.wires.push_back({x1, z1, x2, z2});
        } else if (kind == "GN") {
            double type, radials, f1, f2, permittivity, conductivity;
            card >> type >> radials >> f1 >> f2 >> permittivity >> conductivity;
            deck.ground = {permittivity, conductivity};
        }
    }
    return deck;
}

struct HangRow {
    const char* name;
    std::optional<double> heightFt, endHeightFt;
    std::optional<Ground> ground;
};

void PrintTo(const HangRow& row, std::ostream* os) {
    *os << row.name;
}

class HangDeck : public testing::TestWithParam<HangRow> {};

// The wire keeps its length A along itself, its middle at the feed point's
// height and its tips at theirs, joined end to end; the ground card carries
// the class's figures.
TEST_P(HangDeck, PutsTheWireWhereItHangs) {
    const HangRow& row = GetParam();
    ModelOptions options;
    options.heightFt = row.heightFt;
    options.endHeightFt = row.endHeightFt;
    if (row.ground) {
        options.ground = *row.ground;
    }
    const AntennaModel model = designModel(designOf(7, 60, 20).record, 7.4, options);
    const Deck deck = readDeck(model);
    ASSERT_FALSE(deck.wires.empty());
    double along = 0;
    for (std::size_t i = 0; i < deck.wires.size(); ++i) {
        const Card& w = deck.wires[i];
        along += std::hypot(w.x2 - w.x1, w.z2 - w.z1);
        if (i > 0) {
            EXPECT_NEAR(w.x1, deck.wires[i - 1].x2, 1e-6);
            EXPECT_NEAR(w.z1, deck.wires[i - 1].z2, 1e-6);
        }
    }
    EXPECT_NEAR(along, 60 * kMetresPerFoot, 1e-4);
    const double feet = kMetresPerFoot;
    const double middle = row.heightFt.value_or(0) * feet;
    const double tips = row.endHeightFt.value_or(row.heightFt.value_or(0)) * feet;
    EXPECT_NEAR(deck.wires.front().z1, tips, 1e-6);
    EXPECT_NEAR(deck.wires.back().z2, tips, 1e-6);
    double highest = -1;
    for (const Card& w : deck.wires) {
        highest = std::max({highest, w.z1, w.z2});
    }
    EXPECT_NEAR(highest, middle, 1e-6);
    EXPECT_NEAR(deck.wires.front().x1, -deck.wires.back().x2, 1e-6);
    ASSERT_EQ(deck.ground.has_value(), row.heightFt.has_value());
    if (deck.ground) {
        const Ground expected = row.ground.value_or(averageGround());
        EXPECT_DOUBLE_EQ(deck.ground->first, expected.permittivity);
        EXPECT_DOUBLE_EQ(deck.ground->second, expected.conductivitySPerM);
    }
    // The angle the report gives is the one between the deck's legs.
    const Card& left = deck.wires.front();
    const Card& right = deck.wires.back();
    const double legs = std::atan2(right.z1 - right.z2, right.x2 - right.x1) +
                        std::atan2(left.z2 - left.z1, left.x2 - left.x1);
    EXPECT_NEAR(apexAngleDeg(model), 180 - legs * 180 / std::numbers::pi, 1e-6);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HangDeck,
    testing::Values(HangRow{"FreeSpace", std::nullopt, std::nullopt, std::nullopt},
                    HangRow{"LevelOverAverageGround", 30, std::nullopt, std::nullopt},
                    HangRow{"InvertedVOverSeaWater", 30, 10, groundOfClass("sea")},
                    HangRow{"InvertedVOverGivenGround", 40, 15, Ground{"", 0.01, 10}},
                    HangRow{"TipsAtTheFeedPointAreLevel", 30, 30, groundOfClass("poor")}),
    [](const testing::TestParamInfo<HangRow>& info) { return info.param.name; });

// The worked example with its corrected coils, hung from 30 ft, solved by an
// independent NEC-2 model: 66 ohm at the feed point level, 44 ohm with the
// tips at 10 ft (the formula's coils resonating 1.0 % higher there than
// level), and 30 ohm with the feed at 40 ft and the tips at 15 ft. The
// resistances as ratios to the level one, which both models' coils share.
TEST(HangAgainstAnIndependentModel,
     InvertedVsLowerTheResistanceAndRaiseTheResonanceWithTheRealEngine) {
    NEEDS_NEC2C();
    Nec2c engine(NEC2C_PATH);
    const DesignResult design = designOf(7, 60, 20);
    auto corrected = [&](double height, std::optional<double> tips) {
        SimulationOptions options;
        options.model.heightFt = height;
        options.model.endHeightFt = tips;
        return simulateDesign(design, std::nullopt, options, engine);
    };
    const SimulationResult level = corrected(30, std::nullopt);
    const SimulationResult lowTips = corrected(30, 10);
    const SimulationResult higher = corrected(40, 15);
    const double levelR = level.corrected.atF.resistanceOhm;
    EXPECT_NEAR(lowTips.corrected.atF.resistanceOhm / levelR, 44.0 / 66, 0.03);
    EXPECT_NEAR(higher.corrected.atF.resistanceOhm / levelR, 30.0 / 66, 0.03);
    ASSERT_TRUE(level.formula.resonanceMHz && lowTips.formula.resonanceMHz);
    EXPECT_NEAR(*lowTips.formula.resonanceMHz / *level.formula.resonanceMHz - 1, 0.010, 0.002);
}

} // namespace
} // namespace tarvix::test
