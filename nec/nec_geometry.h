// The wire of the NEC-2 model cut into segments: the graded model that --nec
// writes and --simulate solves, and a uniform model of many equal segments to
// hold it against.
//
// NEC-2 moves its answer when a loaded or driven segment differs in length
// from its neighbours. At 14.2 MHz, A = 20 ft, B = 5 ft, SWG 16 in free
// space, with the segments growing straight from the coil's, the antenna
// needs 6.994 uH coils for resonance where a uniform model of 405 equal
// segments needs 7.106 uH (805 segments: 7.094 uH). So each coil and the feed
// are flanked on each side by two segments of their own length before the
// segments grow, by at most 1.3 a step, to the wire's normal length: the
// graded model then needs 7.102 uH with 91 segments.
//
// The answer also depends on the coil segment's own length: it is the
// distance between the coil's ends, across which its voltage stands. A large
// coil near a tip moves most: at 7 MHz, A = 34 ft, B = 16 ft, SWG 14, uniform
// models of 400, 800 and 1600 segments need 155.1, 153.0 and 151.4 uH, and
// graded ones with coil segments of 1, 0.5 and 0.25 in 155.1, 153.2 and
// 151.7 uH; coils in the middle of a leg move a tenth of that (the worked
// example: 7.413 and 7.408 uH with 400 and 800 segments). The coil segments
// are therefore as long as a uniform model's of 400 segments (A / 400): the
// tests find the graded model within 0.13 % of such a model in the corrected
// coil and 0.06 % in the resonance, with 83 to 91 segments in place of 400
// (all figures solved by nec2c).
#pragma once

#include <vector>

namespace tarvix {

struct AntennaModel;

// One straight piece of the wire along x, in metres. NEC numbers the wires by
// tag and the segments of each wire from 1.
struct NecWire {
    int tag = 0;
    int segments = 0;
    double fromM = 0;
    double toM = 0;
};

struct NecSegmentRef {
    int tag = 0;
    int segment = 0;
};

// The wire is cut into pieces so that each coil's centre segment is centred
// exactly on +-B, and the feed one segment centred on the middle; runs of
// equal segments share a piece, and the feed and each coil are a piece of
// their own. With the coils at the feed point both share the feed segment.
// A coil of known length (model.coilLengthIn) is carried by 2 coilRun + 1
// equal segments that span it, its centre segment among them, each with its
// share of the coil's impedance: a chain of n blocks (R + jwL) / n across n C
// has the impedance of the whole, so the coil keeps its impedance and gains
// the length over which a helix spreads its voltage.
struct NecGeometry {
    std::vector<NecWire> wires;
    NecSegmentRef feed;
    std::vector<NecSegmentRef> coils; // the centre segments; one, the feed segment, when B = 0
    int coilRun = 0;                  // each coil's segments on each side of its centre segment
    int totalSegments = 0;
};

// The segments of the graded model (model.uniformSegments 0):
// - the wire's normal segment is a hundredth of the wavelength at the design
//   frequency, and at most 1/61 of the wire;
// - the coil segments are A / 400, no shorter than 8 radii (NEC-2's
//   thin-wire kernel holds to about 1 % above that: Burke and Poggio 1981,
//   NEC-2 user's guide), and no longer than the normal segment;
// - the feed is a normal segment (a coil segment in an inverted V, whose
//   legs meet there), whose length moves the answers little
//   (7.1055 and 7.1045 uH at 14.2 MHz for feed segments of 0.6 and 8.3 in),
//   or a coil segment when it carries the coils (B = 0);
// - a coil of known length has its run of 2 n + 1 segments of about the
//   coil segment's length spanning it (n = 0 where it is under two coil
//   segments long, or where the tip crowds it);
// - each coil (beyond its run) and the feed have two segments of their own
//   length on each side, then the segments grow or shrink by at most 1.3 a
//   step;
// - where the feed and the coils are close, all lie on one grid of equal
//   segments, with B a whole number of them (whichever of that and the
//   grading between them takes fewer segments);
// - towards each tip the segments shrink again, to about two coil segments;
// - where a tip leaves no room for the grading, the segments from the coil to
//   the tip are equal, the coil's among them.
// Where the feed or a tip crowds them, segments down to 4 radii are taken:
// the answers keep the trend they have at 8 to 16 radii (SWG 10 at 14.2 MHz:
// 6.343, 6.358 and 6.377 uH with coil segments of 4, 8 and 16 radii).
//
// With model.uniformSegments = n > 0, at least n equal segments, of the
// longest length s at most A / (n + 1) that makes B a whole number of them
// (A / n when B = 0), so that each coil's segment is centred on +-B and the
// feed's on 0; the segments at the tips take up what is left, between half
// and one and a half segments.
//
// Throws NecDeckError when the model cannot be built: coils at or beyond the
// tips, crowded by the feed or a tip below 4 radii, a wire too short against
// its radius or too long against the wavelength.
NecGeometry buildGeometry(const AntennaModel& model);

} // namespace tarvix
