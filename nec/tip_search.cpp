// The tip search.
#include "nec/tip_search.h"

#include <algorithm>
#include <cmath>
#include <future>
#include <utility>
#include <vector>

namespace tarvix::nec_detail {

namespace {

// The tip change is modelled by a quadratic through the formula's tips and
// tips this fraction longer and shorter, and trusted this far from them.
constexpr double kTipStep = 0.1;
constexpr double kFarthestTipChange = 0.25;

double tipOf(const AntennaModel& model) {
    return model.totalLengthFt / 2 - std::fabs(model.centreToCoilFt);
}

// The reactance at F against the change u of the tip: middle + b u + c u^2.
struct TipQuadratic {
    double middle = 0;
    double b = 0;
    double c = 0;
};

// The quadratic's rising root nearest the formula's tips; none where it has
// none.
std::optional<double> risingChange(const TipQuadratic& x) {
    std::vector<double> changes;
    if (x.c == 0) {
        changes.push_back(-x.middle / x.b);
    } else {
        const double discriminant = x.b * x.b - 4 * x.c * x.middle;
        if (discriminant < 0) {
            return std::nullopt;
        }
        const double q = -(x.b + std::copysign(std::sqrt(discriminant), x.b)) / 2;
        changes = {q / x.c, x.middle / q};
    }
    std::optional<double> change;
    for (const double u : changes) {
        if (std::isfinite(u) && x.b + 2 * x.c * u > 0 &&
            (!change || std::fabs(u) < std::fabs(*change))) {
            change = u;
        }
    }
    return change;
}

} // namespace

AntennaModel withTip(const AntennaModel& model, double tipFt) {
    AntennaModel trial = model;
    trial.totalLengthFt = 2 * (std::fabs(model.centreToCoilFt) + tipFt);
    return trial;
}

std::optional<TipNeighbours> tipNeighbours(const AntennaModel& model, double freqMHz, double z0Ohm,
                                           NecEngine& engine) {
    const double tipFt = tipOf(model);
    const double step = kTipStep * tipFt;
    auto reactance = [&](double tip) {
        return solveAt(engine, withTip(model, tip), {{freqMHz, 0, 1}}, z0Ohm).front().reactanceOhm;
    };
    try {
        auto shorter = std::async(kSolveLaunch, [&] { return reactance(tipFt - step); });
        const double longer = reactance(tipFt + step);
        return TipNeighbours{shorter.get(), longer};
    } catch (const NecDeckError&) {
        return std::nullopt;
    }
}

std::optional<double> directTipChange(const DirectSearch& direct, const AntennaModel& model,
                                      std::optional<SimulatedPoint> solvedAtF) {
    const double f = direct.freqMHz();
    const double tipFt = tipOf(model);
    auto reactance = [&](double tip) { return direct.at(withTip(model, tip), f).reactanceOhm; };
    try {
        const SimulatedPoint atF = solvedAtF ? *solvedAtF : direct.at(model, f);
        const auto root = risingRoot(reactance, tipFt, atF.reactanceOhm, 1.1, kSizeTolerance);
        if (root) {
            return direct.unsettled().settle(*root, "the tip change") - tipFt;
        }
    } catch (const NecDeckError&) {
        // A tip too short to model has no answer here.
    }
    return std::nullopt;
}

std::optional<double> modelledTipChange(const ModelSearch& search, const DirectSearch& direct,
                                        const AntennaModel& model,
                                        const TipNeighbours& neighbours) {
    const double f = direct.freqMHz();
    const double tipFt = tipOf(model);
    const double step = kTipStep * tipFt;
    const double lower = neighbours.shorterOhm;
    const double longer = neighbours.longerOhm;
    auto reactance = [&](double tip) { return direct.at(withTip(model, tip), f).reactanceOhm; };
    try {
        TipQuadratic x;
        x.middle = search.atF(model).reactanceOhm;
        x.b = (longer - lower) / (2 * step);
        x.c = (longer - 2 * x.middle + lower) / (2 * step * step);
        const auto change = risingChange(x);
        if (!change || !(std::fabs(*change) <= kFarthestTipChange * tipFt)) {
            return std::nullopt;
        }
        // The check: one solve and a Newton step with the quadratic's slope.
        // The wire's segments change with its length, so the reactance jumps
        // a little where a segment comes or goes; where the step does not
        // settle, false position closes in on the rising crossing between the
        // solved tips, as the direct search does.
        CheckedRoot checked(tipFt + *change, kSizeTolerance,
                            [&](double tip) { return x.b + 2 * x.c * (tip - tipFt); });
        const double checkedTip = checked.next();
        const double atChecked = reactance(checkedTip);
        if (!checked.take(atChecked)) {
            return std::nullopt;
        }
        if (checked.settled()) {
            return checked.root() - tipFt;
        }
        std::vector<std::pair<double, double>> solved{
            {tipFt - step, lower}, {tipFt + step, longer}, {checkedTip, atChecked}};
        std::sort(solved.begin(), solved.end());
        for (std::size_t i = 1; i < solved.size(); ++i) {
            const auto [a, ga] = solved[i - 1];
            const auto [z, gz] = solved[i];
            if (ga < 0 && gz >= 0) {
                const Root root = bracketedRoot(reactance, a, ga, z, gz, kSizeTolerance);
                return direct.unsettled().settle(root, "the tip change") - tipFt;
            }
        }
    } catch (const NecDeckError&) {
        // A tip too short to model: the direct search says what it can.
    }
    return std::nullopt;
}

} // namespace tarvix::nec_detail
