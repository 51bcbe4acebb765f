// The grading of a stretch of wire into segments.
#include "nec/segment_grading.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace tarvix::nec_detail {

void append(Segments& to, const Segments& more) {
    to.insert(to.end(), more.begin(), more.end());
}

Segments repeated(double length, int count) {
    return Segments(static_cast<std::size_t>(std::max(count, 0)), length);
}

// The largest ratio between neighbours along left, the pieces and right.
double worstRatio(const Segments& pieces, double left, double right, Tip tip) {
    Segments row{left};
    append(row, pieces);
    if (tip == Tip::None) {
        row.push_back(right);
    }
    double worst = 1;
    for (std::size_t i = 1; i < row.size(); ++i) {
        worst = std::max({worst, row[i] / row[i - 1], row[i - 1] / row[i]});
    }
    return worst;
}

// The segments of a stretch of plain wire between segments of lengths left
// and right (or, at a tip, the length to end in), none longer than longest.
// They follow h(x) = min(longest, left + g x, right + g (length - x)) with
// g = ln kMaxGrowth: cut at equal steps of the integral of 1 / h, segments
// along a slope h grow by kMaxGrowth to the power of the step, so with at
// least as many segments as the integral no step is above kMaxGrowth. The
// fewest segments that keep every pair of neighbours within kMaxGrowth, or
// none where no count does (a stretch too short to fit between its ends).
std::optional<Segments> stretchSegments(double length, double left, double right, double longest,
                                        Tip tip) {
    const double scale = std::max({left, right, longest});
    if (length <= kSameLength * scale) {
        return length >= -kSameLength * scale ? std::optional(Segments{}) : std::nullopt;
    }
    constexpr int kSamples = 2048;
    const double slope = std::log(kMaxGrowth);
    auto size = [&](double x) {
        return std::min({longest, left + slope * x, right + slope * (length - x)});
    };
    // The integral of 1 / h at kSamples + 1 points, by the midpoint rule.
    std::vector<double> cells(kSamples + 1, 0.0);
    const double dx = length / kSamples;
    for (int i = 0; i < kSamples; ++i) {
        cells[i + 1] = cells[i] + dx / size((i + 0.5) * dx);
    }
    auto cut = [&](int count) {
        Segments lengths;
        double from = 0;
        std::size_t at = 0;
        for (int k = 1; k < count; ++k) {
            const double target = cells.back() * k / count;
            while (cells[at + 1] < target) {
                ++at;
            }
            const double x =
                (static_cast<double>(at) + (target - cells[at]) / (cells[at + 1] - cells[at])) * dx;
            lengths.push_back(x - from);
            from = x;
        }
        lengths.push_back(length - from);
        return lengths;
    };
    // The sampled integral may leave a step a hair above kMaxGrowth: a few
    // more segments are tried.
    const int fewest = std::max(1, static_cast<int>(std::ceil(cells.back() - 1e-6)));
    for (int count = fewest; count <= fewest + 3; ++count) {
        Segments lengths = cut(count);
        if (worstRatio(lengths, left, right, tip) <= kMaxGrowth * (1 + kSameLength)) {
            return lengths;
        }
    }
    return std::nullopt;
}

// Segments of the given length over a stretch that ends at a tip; the last
// takes up what is left, so it is between half and one and a half segments.
Segments equalToTip(double segment, double length) {
    const auto count = static_cast<int>(std::floor(length / segment + kSameLength));
    Segments lengths = repeated(segment, count);
    const double rest = length - count * segment;
    if (rest > kSameLength * segment) {
        if (rest < segment / 2 * (1 - kSameLength) && !lengths.empty()) {
            lengths.back() += rest;
        } else {
            lengths.push_back(rest);
        }
    }
    return lengths;
}

} // namespace tarvix::nec_detail
