// The segmentation of the model's wire. Lengths are in metres; one leg is
// built from the feed outwards and mirrored.
#include "nec/nec_geometry.h"

#include "calc/units.h"
#include "nec/nec_deck.h"
#include "nec/segment_grading.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <tuple>
#include <utility>

namespace tarvix {

namespace {

using namespace nec_detail;

constexpr double kSpeedOfLight = 299.792458; // m/us: wavelength in m = this / MHz
constexpr double kSegmentsPerWavelength = 100;
constexpr double kMinSegmentsOnWire = 61;
// The coil segments: a 400th of the wire, at least kLoadSegmentRadii radii,
// or kMinSegmentRadii where the feed or a tip leaves no room.
constexpr double kLoadSegmentsOnWire = 400;
constexpr double kLoadSegmentRadii = 8;
constexpr double kMinSegmentRadii = 4;
// Segments of its own length on each side of each coil and of the feed.
constexpr int kFlankSegments = 2;
// The segments shrink towards each tip to about this many coil segments: the
// charge gathers at a wire's end, and NEC-2's answer moves with the segment
// there. Grown to the normal length at the tips, graded models of nearly
// half-wave wires needed up to 0.5 % more inductance than uniform ones of 400
// segments; ending in two coil segments, within 0.15 % in eighteen of
// nineteen designs from 160 m to 10 m, and 0.36 % in the last (nec2c).
constexpr double kTipLoadSegments = 2;
// Beyond this the deck takes minutes to solve.
constexpr int kMaxSegments = 2000;

// One leg of the wire, from the feed segment outwards.
struct Leg {
    Segments segments;               // the feed's not among them
    double feed = 0;                 // the feed segment's length
    std::optional<std::size_t> coil; // the coil's centre segment in segments; none: on the feed
    int coilRun = 0;                 // segments each side of it that carry the coil too
};

// The lengths that shape the graded model.
struct Sizes {
    double normal = 0; // the wire's segment away from the coils and the feed
    double load = 0;   // the coil segments, and the feed's where it carries the coils
    double least = 0;  // the shortest segment modelled
    double feed = 0;   // the feed's where it does not carry the coils
};

// How many segments of about this length on each side of the coil's centre
// segment carry it too, so that the 2 n + 1 of them span the winding's length
// (0: one segment carries the coil).
int coilRunFor(double coilLength, double segment) {
    return coilLength > segment ? static_cast<int>(std::lround((coilLength / segment - 1) / 2)) : 0;
}

// From the coil's centre segment outwards: the rest of its run and its
// flanks (flank segments of its length), then the grading to the tip; none
// where that does not fit.
std::optional<Segments> outerSide(const Sizes& sizes, double tip, double segment, int flank) {
    auto rest = stretchSegments(tip - segment / 2 - flank * segment, segment,
                                kTipLoadSegments * sizes.load, sizes.normal, Tip::Right);
    if (!rest) {
        return std::nullopt;
    }
    Segments lengths = repeated(segment, flank);
    append(lengths, *rest);
    return lengths;
}

// The coil's segment and the segments beyond it where the tip leaves no room
// for the grading: equal segments from the coil to the tip, as near the load
// length as whole segments allow, at least kFlankSegments of them where the
// wire's radius allows.
std::pair<double, Segments> equalOuterSide(const Sizes& sizes, double tip) {
    int count = std::max(kFlankSegments, static_cast<int>(std::lround(tip / sizes.load - 0.5)));
    while (count > 1 && tip / (count + 0.5) < sizes.least) {
        --count;
    }
    const double segment = tip / (count + 0.5);
    if (segment < sizes.least * (1 - kSameLength)) {
        throw NecDeckError("the coils sit too near the tips against the wire's radius to model");
    }
    return {segment, repeated(segment, count)};
}

Leg gradedLeg(const Sizes& sizes, double half, double coil, double coilLength) {
    const double load = sizes.load;
    if (coil == 0) {
        Leg leg{repeated(load, kFlankSegments), load, std::nullopt};
        const double rest = half - load / 2 - kFlankSegments * load;
        append(leg.segments,
               stretchSegments(rest, load, kTipLoadSegments * load, sizes.normal, Tip::Right)
                   .value_or(equalToTip(load, rest)));
        return leg;
    }
    const double tip = half - coil;
    // A winding's length is spread over 2 run + 1 equal segments of about
    // the load length, none longer than the normal segment.
    int run = coilRunFor(coilLength, load);
    while (run > 0 && coilLength / (2 * run + 1) > sizes.normal) {
        ++run;
    }
    double coilSegment = run > 0 ? coilLength / (2 * run + 1) : load;
    std::optional<Segments> outer = outerSide(sizes, tip, coilSegment, kFlankSegments + run);
    if (!outer) {
        // Crowded by the tip: the coil on one segment.
        run = 0;
        std::tie(coilSegment, outer) = equalOuterSide(sizes, tip);
    }

    // The feed and the coil apart, each flanked, graded between them.
    std::optional<Leg> apart;
    const double feed = sizes.feed;
    const double gap =
        coil - (kFlankSegments + 0.5) * feed - (kFlankSegments + run + 0.5) * coilSegment;
    if (gap > 0) {
        if (const auto inner = stretchSegments(gap, feed, coilSegment, sizes.normal)) {
            apart = Leg{repeated(feed, kFlankSegments), feed, std::nullopt, run};
            append(apart->segments, *inner);
            append(apart->segments, repeated(coilSegment, kFlankSegments + run));
            apart->coil = apart->segments.size();
            apart->segments.push_back(coilSegment);
            append(apart->segments, *outer);
        }
    }

    // The feed and the coil on one grid, B a whole number of segments.
    auto steps = static_cast<int>(std::ceil(coil / std::min(load, coilSegment) - kSameLength));
    if (coil / steps < sizes.least) {
        steps = static_cast<int>(std::floor(coil / sizes.least + kSameLength));
    }
    if (steps < 1) {
        throw NecDeckError("the coils sit too near the feed point against the wire's radius to "
                           "model");
    }
    if (apart && static_cast<std::size_t>(steps) >= apart->segments.size()) {
        return *apart;
    }
    const double grid = coil / steps;
    const int gridRun = std::min(coilRunFor(coilLength, grid), steps - 1);
    const std::optional<Segments> gridOuter = outerSide(sizes, tip, grid, kFlankSegments + gridRun);
    if (apart && !gridOuter) {
        return *apart;
    }
    Leg shared{repeated(grid, steps), grid, static_cast<std::size_t>(steps - 1),
               gridOuter ? gridRun : 0};
    // A leg too short for both (far shorter than any design) keeps equal
    // segments to the tip, the last one taking up what is left.
    append(shared.segments, gridOuter.value_or(equalToTip(grid, tip - grid / 2)));
    if (apart && apart->segments.size() < shared.segments.size()) {
        return *apart;
    }
    return shared;
}

Leg uniformLeg(int count, double half, double coil, double coilLength) {
    if (coil == 0) {
        const double segment = 2 * half / count;
        return {equalToTip(segment, half - segment / 2), segment, std::nullopt};
    }
    // A / s at least count + 1: with the tips' rounding, count segments or more.
    const double steps = std::ceil(coil * (count + 1) / (2 * half) - kSameLength);
    const double segment = coil / steps;
    if (half - coil < segment / 2) {
        throw NecDeckError("the coils sit too near the tips against the wire's radius to model");
    }
    Leg leg{repeated(segment, static_cast<int>(steps)), segment,
            static_cast<std::size_t>(steps - 1)};
    const Segments outer = equalToTip(segment, half - coil - segment / 2);
    append(leg.segments, outer);
    // The run stays off the feed and off the tip's odd segment.
    leg.coilRun = std::clamp(
        coilRunFor(coilLength, segment), 0,
        std::min(static_cast<int>(steps) - 1, std::max(static_cast<int>(outer.size()) - 1, 0)));
    return leg;
}

// The whole wire from the leg and its mirror image, with the feed and the
// coils placed exactly; runs of equal segments are one wire, the feed and
// each coil (its run) a wire of their own, so that the feed is segment 1 of
// its tag and each coil's centre segment run + 1 of its.
NecGeometry assemble(const Leg& leg, double half, double coil) {
    Segments lengths(leg.segments.rbegin(), leg.segments.rend());
    const std::size_t feedIndex = lengths.size();
    lengths.push_back(leg.feed);
    append(lengths, leg.segments);

    std::vector<double> nodes{-half};
    for (const double length : lengths) {
        nodes.push_back(nodes.back() + length);
    }
    nodes.back() = half;
    nodes[feedIndex] = -leg.feed / 2;
    nodes[feedIndex + 1] = leg.feed / 2;
    // Where each wire of its own starts, and its segments.
    std::vector<std::pair<std::size_t, std::size_t>> own{{feedIndex, 1}};
    const auto run = static_cast<std::size_t>(leg.coilRun);
    if (leg.coil) {
        const double coilSegment = leg.segments[*leg.coil];
        const std::size_t count = 2 * run + 1;
        const std::size_t left = feedIndex - 1 - *leg.coil - run;
        const std::size_t right = feedIndex + 1 + *leg.coil - run;
        for (std::size_t k = 0; k <= count; ++k) {
            const double offset =
                (static_cast<double>(k) - static_cast<double>(count) / 2) * coilSegment;
            nodes[left + k] = -coil + offset;
            nodes[right + k] = coil + offset;
        }
        own = {{left, count}, {feedIndex, 1}, {right, count}};
    }
    auto ownCount = [&](std::size_t i) -> std::size_t {
        for (const auto& [start, count] : own) {
            if (start == i) {
                return count;
            }
        }
        return 0;
    };

    NecGeometry geometry;
    for (std::size_t i = 0; i < lengths.size();) {
        std::size_t end = i + std::max<std::size_t>(ownCount(i), 1);
        if (ownCount(i) == 0) {
            while (end < lengths.size() && ownCount(end) == 0 &&
                   std::fabs(lengths[end] - lengths[i]) <= kSameLength * lengths[i]) {
                ++end;
            }
        }
        const int tag = static_cast<int>(geometry.wires.size()) + 1;
        geometry.wires.push_back({tag, static_cast<int>(end - i), nodes[i], nodes[end]});
        geometry.totalSegments += static_cast<int>(end - i);
        if (i == feedIndex) {
            geometry.feed = {tag, 1};
        } else if (ownCount(i) > 0) {
            geometry.coils.push_back({tag, leg.coilRun + 1});
        }
        i = end;
    }
    geometry.coilRun = leg.coilRun;
    if (!leg.coil) {
        geometry.coils = {geometry.feed};
    }
    return geometry;
}

} // namespace

NecGeometry buildGeometry(const AntennaModel& model) {
    if (!(model.designFreqMHz > 0) || !std::isfinite(model.designFreqMHz)) {
        throw NecDeckError("the frequency must be above 0 MHz");
    }
    if (!(model.totalLengthFt > 0) || !std::isfinite(model.totalLengthFt)) {
        throw NecDeckError("the total length A must be above 0 ft");
    }
    if (!(model.wireDiaIn > 0)) {
        throw NecDeckError("the antenna wire has no diameter");
    }
    const double half = model.totalLengthFt * kMetresPerFoot / 2;
    const double coil = std::fabs(model.centreToCoilFt) * kMetresPerFoot;
    if (!(coil < half)) {
        throw NecDeckError(coil == half ? "the coils at +-B sit on the ends of the wire"
                                        : "the coils at +-B lie beyond the ends of the wire");
    }
    const double radius = model.wireDiaIn / 2 * kMetresPerInch;
    const double wavelength = kSpeedOfLight / model.designFreqMHz;
    Sizes sizes;
    sizes.normal = std::min(wavelength / kSegmentsPerWavelength, 2 * half / kMinSegmentsOnWire);
    sizes.least = kMinSegmentRadii * radius;
    sizes.load = std::min(sizes.normal,
                          std::max(2 * half / kLoadSegmentsOnWire, kLoadSegmentRadii * radius));
    // The feed is a normal segment on a level wire, where its length moves
    // the answers little. An inverted V's feed segment stays level between
    // its sloping legs: as short as a coil's, so that the legs meet where
    // they would.
    sizes.feed = model.heightFt && model.endHeightFt ? sizes.load : sizes.normal;
    const double coilLength = std::max(model.coilLengthIn, 0.0) * kMetresPerInch;
    const bool uniform = model.uniformSegments > 0;
    const double finest = uniform ? 2 * half / model.uniformSegments : sizes.normal;
    if (2 * half / finest > kMaxSegments) {
        throw NecDeckError("the wire is too long against the wavelength to model");
    }
    if (finest < sizes.least) {
        throw NecDeckError("the wire is too short against its radius to model");
    }

    const Leg leg = uniform ? uniformLeg(model.uniformSegments, half, coil, coilLength)
                            : gradedLeg(sizes, half, coil, coilLength);
    const NecGeometry geometry = assemble(leg, half, coil);
    for (const NecWire& wire : geometry.wires) {
        if ((wire.toM - wire.fromM) / wire.segments < sizes.least * (1 - kSameLength)) {
            throw NecDeckError(leg.coil && (wire.fromM > coil || wire.toM < -coil)
                                   ? "the coils sit too near the tips against the wire's radius "
                                     "to model"
                                   : "the coils sit too near the feed point against the wire's "
                                     "radius to model");
        }
    }
    if (geometry.totalSegments > kMaxSegments) {
        throw NecDeckError("the wire is too long against the wavelength to model");
    }
    return geometry;
}

} // namespace tarvix
