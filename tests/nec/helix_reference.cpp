// The loaded dipole with helical coils as an NEC-2 deck, and its resonance.
// NEC works in metres; the design is in feet and inches. The wire lies along
// x at the height (z), the coils' axes on it.
#include "helix_reference.h"

#include "calc/number_text.h"
#include "calc/units.h"
#include "nec/nec2c.h"
#include "nec/nec_deck.h"
#include "nec/roots.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numbers>
#include <sstream>

namespace tarvix::test {

namespace {

constexpr double kSpeedOfLight = 299.792458; // m/us: wavelength in m = this / MHz
// The straight wire's segments grow from the coils' ends by this much from one
// to the next: NEC-2's answers drift where a segment meets a neighbour many
// times its length.
constexpr double kGrowth = 1.3;
// No straight segment shorter than this many of its radii (NEC-2's thin-wire
// kernel is good to about 1 % from there).
constexpr double kMinSegmentRadii = 8;
// The bracketing steps of the resonance search, and its tolerance.
constexpr double kSearchStep = 1.03;
constexpr double kResonanceTolerance = 1e-4;

struct Point {
    double x = 0;
    double y = 0;
    double z = 0;
};

// One straight wire of the deck: its segments, its ends and its radius.
struct Wire {
    int segments = 0;
    Point from;
    Point to;
    double radiusM = 0;
};

struct Geometry {
    std::vector<Wire> wires;
    int feedTag = 0; // the feed is segment 1 of it
};

// Segment lengths that fill span, the first as long as first and each next
// kGrowth times the one before, up to most; with endsInMiddle, the span ends
// in the middle of the last one (the feed segment, split by the middle of the
// wire). Of the counts that come nearest to the span from either side, the
// one needing the smaller stretch is taken, and every length is stretched by
// the same factor so that they fill it exactly.
std::vector<double> gradedSegments(double span, double first, double most, bool endsInMiddle) {
    std::vector<double> lengths{std::min(first, most)};
    auto covered = [&](const std::vector<double>& row) {
        double sum = 0;
        for (const double length : row) {
            sum += length;
        }
        return endsInMiddle ? sum - row.back() / 2 : sum;
    };
    while (covered(lengths) < span) {
        lengths.push_back(std::min(lengths.back() * kGrowth, most));
    }
    if (lengths.size() > 1) {
        std::vector<double> fewer(lengths.begin(), lengths.end() - 1);
        if (span / covered(fewer) < covered(lengths) / span) {
            lengths = std::move(fewer);
        }
    }
    const double stretch = span / covered(lengths);
    for (double& length : lengths) {
        length *= stretch;
    }
    return lengths;
}

// A straight wire from one point to another by the given segment lengths
// (stretched to its length), one wire to each run of equal lengths, the last
// node placed at exactly to; own (an index, or none) is a wire of its own
// whose tag is returned.
int addLine(Geometry& geometry, const std::vector<double>& lengths, const Point& from,
            const Point& to, double radiusM, std::optional<std::size_t> own = std::nullopt) {
    double total = 0;
    for (const double length : lengths) {
        total += length;
    }
    std::vector<Point> nodes{from};
    double along = 0;
    for (const double length : lengths) {
        along += length;
        const double share = along / total;
        nodes.push_back({from.x + (to.x - from.x) * share, from.y + (to.y - from.y) * share,
                         from.z + (to.z - from.z) * share});
    }
    nodes.back() = to;
    int ownTag = 0;
    for (std::size_t i = 0; i < lengths.size();) {
        std::size_t next = i + 1;
        if (i != own) {
            while (next < lengths.size() && next != own &&
                   std::fabs(lengths[next] - lengths[i]) <= 1e-9 * lengths[i]) {
                ++next;
            }
        }
        geometry.wires.push_back({static_cast<int>(next - i), nodes[i], nodes[next], radiusM});
        if (i == own) {
            ownTag = static_cast<int>(geometry.wires.size());
        }
        i = next;
    }
    return ownTag;
}

// The segment lengths where the straight wire meets a coil: the helix's
// chord, and the wire's first segment, the longer; the radial leads grade
// from the one to the other.
struct Junction {
    double chordM = 0;
    double wireM = 0;
};

double meanRadiusM(const CoilWinding& coil) {
    return (coil.formerDiaIn + coil.wireDiaIn) / 2 * kMetresPerInch;
}

// The nodes of a helix of the given number of straight segments from x =
// start to x = end around the x axis at height z, starting at +y and turning
// towards +z.
std::vector<Point> helixNodes(const CoilWinding& coil, int segments, double start, double end,
                              double z) {
    const double radius = meanRadiusM(coil);
    std::vector<Point> nodes;
    for (int node = 0; node <= segments; ++node) {
        const double turn = coil.turns * node / segments;
        const double angle = 2 * std::numbers::pi * turn;
        // The end exactly where the wire's next piece starts, for NEC to join them.
        const double x = node == segments ? end : start + (end - start) * node / segments;
        nodes.push_back({x, radius * std::cos(angle), z + radius * std::sin(angle)});
    }
    return nodes;
}

// The helix's segments, one wire each.
void addHelix(Geometry& geometry, const CoilWinding& coil, const std::vector<Point>& nodes) {
    for (std::size_t node = 0; node + 1 < nodes.size(); ++node) {
        geometry.wires.push_back(
            {1, nodes[node], nodes[node + 1], coil.wireDiaIn / 2 * kMetresPerInch});
    }
}

// One coil of the antenna from x = start to x = end along the wire at height
// z, with its radial leads to the axis at both ends. Both coils turn the same
// way, as a builder winds them.
void addCoil(Geometry& geometry, const CoilWinding& coil, int segmentsPerTurn,
             const Junction& junction, double start, double end, double z) {
    const int segments = std::max(1, static_cast<int>(std::ceil(coil.turns * segmentsPerTurn)));
    const std::vector<Point> nodes = helixNodes(coil, segments, start, end, z);
    // The leads' segments, from the helix towards the axis.
    const std::vector<double> lead =
        gradedSegments(meanRadiusM(coil), junction.chordM, junction.wireM, false);
    const double wireRadius = coil.wireDiaIn / 2 * kMetresPerInch;
    addLine(geometry, std::vector<double>(lead.rbegin(), lead.rend()), {start, 0, z}, nodes.front(),
            wireRadius);
    addHelix(geometry, coil, nodes);
    addLine(geometry, lead, nodes.back(), {end, 0, z}, wireRadius);
}

Geometry buildHelixGeometry(const HelixAntenna& antenna) {
    const CoilWinding& coil = antenna.coil;
    if (!(antenna.designFreqMHz > 0) || !(antenna.wireDiaIn > 0) || !(coil.turns > 0) ||
        !(coil.pitchIn > coil.wireDiaIn) || !(coil.wireDiaIn > 0) || !(coil.formerDiaIn > 0) ||
        antenna.segmentsPerTurn < 3 || antenna.wireRefinement < 1) {
        throw NecDeckError("the helix model needs a frequency, wires and a spaced winding");
    }
    const double half = antenna.totalLengthFt * kMetresPerFoot / 2;
    const double centre = std::fabs(antenna.centreToCoilFt) * kMetresPerFoot;
    const double coilLength = coil.turns * coil.pitchIn * kMetresPerInch;
    const double inner = centre - coilLength / 2; // from the feed to a coil's inner end
    const double outer = half - centre - coilLength / 2;
    if (!(inner > 0) || !(outer > 0)) {
        throw NecDeckError("the helices do not fit between the feed and the tips");
    }
    const double radius = meanRadiusM(coil);
    const double z = antenna.heightFt ? *antenna.heightFt * kMetresPerFoot : 0;
    if (antenna.heightFt && !(z > radius)) {
        throw NecDeckError("the helices hang into the ground");
    }

    // The straight wire meets each lead with segments about as long as the
    // helix's, then grows to its own length.
    const double wireRadius = antenna.wireDiaIn / 2 * kMetresPerInch;
    const double chord =
        std::hypot(2 * radius * std::sin(std::numbers::pi / antenna.segmentsPerTurn),
                   coil.pitchIn * kMetresPerInch / antenna.segmentsPerTurn);
    const double first = std::max(chord, kMinSegmentRadii * wireRadius);
    const Junction junction{chord, first};
    const double most = kSpeedOfLight / antenna.designFreqMHz / kHelixWireSegmentsPerWavelength /
                        antenna.wireRefinement;
    const std::vector<double> toFeed = gradedSegments(inner, first, most, true);
    const std::vector<double> toTip = gradedSegments(outer, first, most, false);

    Geometry geometry;
    addLine(geometry, std::vector<double>(toTip.rbegin(), toTip.rend()), {-half, 0, z},
            {-centre - coilLength / 2, 0, z}, wireRadius);
    addCoil(geometry, coil, antenna.segmentsPerTurn, junction, -centre - coilLength / 2, -inner, z);
    std::vector<double> middle(toFeed.begin(), toFeed.end() - 1);
    const std::size_t feed = middle.size();
    middle.push_back(toFeed.back());
    middle.insert(middle.end(), toFeed.rbegin() + 1, toFeed.rend());
    geometry.feedTag = addLine(geometry, middle, {-inner, 0, z}, {inner, 0, z}, wireRadius, feed);
    addCoil(geometry, coil, antenna.segmentsPerTurn, junction, inner, centre + coilLength / 2, z);
    addLine(geometry, toTip, {centre + coilLength / 2, 0, z}, {half, 0, z}, wireRadius);
    return geometry;
}

std::string num(double value) {
    return numberText(value);
}

// A length in metres to a tenth of a micrometre: nec2c rejects a card longer
// than 133 characters, which a geometry card of seven numbers to 15 digits
// can be.
std::string metres(double value) {
    std::array<char, 32> text{};
    const auto end =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, 7)
            .ptr;
    return std::string(text.data(), end);
}

// The geometry cards, then the ground, copper loss on every wire, a 1 V
// source on the feed and one solve at each frequency.
std::string writeDeck(const Geometry& geometry, const std::string& comment,
                      const std::optional<double>& heightFt, const std::vector<double>& freqsMHz) {
    std::ostringstream deck;
    deck << "CM " << comment << "\nCE\n";
    int tag = 0;
    for (const Wire& wire : geometry.wires) {
        deck << "GW " << ++tag << ' ' << wire.segments << ' ' << metres(wire.from.x) << ' '
             << metres(wire.from.y) << ' ' << metres(wire.from.z) << ' ' << metres(wire.to.x) << ' '
             << metres(wire.to.y) << ' ' << metres(wire.to.z) << ' ' << metres(wire.radiusM)
             << '\n';
    }
    // The ground as the program's own deck has it: Sommerfeld-Norton, average
    // ground.
    if (heightFt) {
        deck << "GE 1\nGN 2 0 0 0 " << num(averageGround().permittivity) << ' '
             << num(averageGround().conductivitySPerM) << '\n';
    } else {
        deck << "GE 0\n";
    }
    deck << "LD 5 0 0 0 " << num(kCopperConductivity) << '\n'
         << "EX 0 " << geometry.feedTag << " 1 0 1 0\n"
         << "PT -1\n";
    for (const double f : freqsMHz) {
        deck << "FR 0 1 0 0 " << num(f) << " 0\nXQ\n";
    }
    deck << "EN\n";
    return deck.str();
}

// Where the feed's reactance in the deck that deckAt writes for a frequency
// rises through zero, nearest nearMHz.
template <typename DeckAt>
std::optional<double> resonanceNear(DeckAt deckAt, double nearMHz, Nec2c& engine) {
    auto reactance = [&](double freqMHz) {
        const std::vector<FeedPoint> points = engine.solve(deckAt(freqMHz));
        if (points.size() != 1) {
            throw NecEngineError("nec2c gave no feed point for the helix model");
        }
        return points.front().reactanceOhm;
    };
    const auto root =
        risingRoot(reactance, nearMHz, reactance(nearMHz), kSearchStep, kResonanceTolerance);
    return root && root->converged ? std::optional(root->x) : std::nullopt;
}

Geometry buildIsolatedCoil(const CoilWinding& coil, int segmentsPerTurn) {
    if (!(coil.turns > 0) || !(coil.pitchIn > coil.wireDiaIn) || !(coil.wireDiaIn > 0) ||
        !(coil.formerDiaIn > 0) || segmentsPerTurn < 3) {
        throw NecDeckError("the helix model needs a spaced winding");
    }
    // An odd count, so that one segment sits on the middle of the wire.
    const int segments = static_cast<int>(std::ceil(coil.turns * segmentsPerTurn)) / 2 * 2 + 1;
    Geometry geometry;
    addHelix(geometry, coil,
             helixNodes(coil, segments, 0, coil.turns * coil.pitchIn * kMetresPerInch, 0));
    geometry.feedTag = segments / 2 + 1;
    return geometry;
}

} // namespace

std::string helixAntennaDeck(const HelixAntenna& antenna, const std::vector<double>& freqsMHz) {
    return writeDeck(buildHelixGeometry(antenna), "Loaded dipole, its coils as helices",
                     antenna.heightFt, freqsMHz);
}

int helixAntennaSegments(const HelixAntenna& antenna) {
    int segments = 0;
    for (const Wire& wire : buildHelixGeometry(antenna).wires) {
        segments += wire.segments;
    }
    return segments;
}

std::optional<double> helixResonanceMHz(const HelixAntenna& antenna, double nearMHz,
                                        Nec2c& engine) {
    return resonanceNear([&](double f) { return helixAntennaDeck(antenna, {f}); }, nearMHz, engine);
}

std::string isolatedCoilDeck(const CoilWinding& coil, const std::vector<double>& freqsMHz,
                             int segmentsPerTurn) {
    return writeDeck(buildIsolatedCoil(coil, segmentsPerTurn), "A coil alone, fed at its middle",
                     std::nullopt, freqsMHz);
}

std::optional<double> isolatedCoilResonanceMHz(const CoilWinding& coil, double nearMHz,
                                               Nec2c& engine, int segmentsPerTurn) {
    return resonanceNear([&](double f) { return isolatedCoilDeck(coil, {f}, segmentsPerTurn); },
                         nearMHz, engine);
}

} // namespace tarvix::test
