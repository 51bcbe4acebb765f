// Cutting a stretch of wire into segments for NEC-2: neighbours that differ
// by at most kMaxGrowth, growing away from the short segments at a coil or the
// feed and shrinking again towards the next. Lengths in any one unit.
#pragma once

#include <optional>
#include <vector>

namespace tarvix::nec_detail {

// The most one segment may differ from its neighbour.
inline constexpr double kMaxGrowth = 1.3;
// Lengths that differ by less than this fraction are equal.
inline constexpr double kSameLength = 1e-9;

using Segments = std::vector<double>;

void append(Segments& to, const Segments& more);
Segments repeated(double length, int count);

// Whether the right end of a stretch is a tip: its length there bounds the
// segments, but is no neighbour.
enum class Tip { None, Right };

// The largest ratio between neighbours along left, the pieces and right.
double worstRatio(const Segments& pieces, double left, double right, Tip tip);

// The segments of a stretch of plain wire between segments of lengths left
// and right (or, at a tip, the length to end in), none longer than longest;
// none where no count keeps every pair of neighbours within kMaxGrowth.
std::optional<Segments> stretchSegments(double length, double left, double right, double longest,
                                        Tip tip = Tip::None);

// Segments of the given length over a stretch that ends at a tip; the last
// takes up what is left, so it is between half and one and a half segments.
Segments equalToTip(double segment, double length);

} // namespace tarvix::nec_detail
