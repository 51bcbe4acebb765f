// The advice for a poor design: its reasons, and the larger former's figures.
#include "nec/design_advice.h"

#include "nec/coil_load.h"
#include "nec/design_model.h"
#include "nec/roots.h"
#include "nec/search_common.h"

#include <cmath>
#include <complex>
#include <functional>

namespace tarvix {

namespace {

// The model is searched for the band's edges at this many points over the
// sweep, each then closed in on by bisection, as the model search does.
constexpr int kEdgeSearchPoints = 801;
constexpr int kEdgeBisections = 60;

// The first point from F towards end (exclusive of F) where the SWR excess
// changes sign, closed in on; none when it never does before end.
std::optional<double> edgeFrom(const std::function<double(double)>& excess, double freqMHz,
                               double endMHz, double stepMHz) {
    const int steps = static_cast<int>(std::ceil(std::fabs(endMHz - freqMHz) / stepMHz));
    const double direction = endMHz > freqMHz ? 1 : -1;
    double previous = freqMHz;
    for (int i = 1; i <= steps; ++i) {
        const double f = i == steps ? endMHz : freqMHz + direction * stepMHz * i;
        if (excess(f) >= 0) {
            return bisectedRoot([&](double x) { return excess(x) < 0; }, previous, f,
                                kEdgeBisections, 0)
                .x;
        }
        previous = f;
    }
    return std::nullopt;
}

} // namespace

std::optional<DesignAdvice> adviceReasons(double freqMHz, double efficiencyPercent,
                                          const std::optional<SwrBand>& swr2Band) {
    DesignAdvice advice;
    advice.lowEfficiency = efficiencyPercent < kAdviceEfficiencyPercent;
    if (const auto band = amateurBandAt(freqMHz)) {
        const bool narrow =
            !swr2Band || (swr2Band->lowMHz && swr2Band->highMHz &&
                          *swr2Band->highMHz - *swr2Band->lowMHz < band->highMHz - band->lowMHz);
        if (narrow) {
            advice.narrowBand = band;
        }
    }
    if (!advice.lowEfficiency && !advice.narrowBand) {
        return std::nullopt;
    }
    return advice;
}

std::optional<SwrBand> modelledSwr2Band(const AntennaModel& model,
                                        const std::vector<TwoPortPoint>& ports, double freqMHz,
                                        double z0Ohm) {
    std::vector<double> freqs;
    std::vector<std::complex<double>> values;
    for (const TwoPortPoint& port : ports) {
        freqs.push_back(port.freqMHz);
        values.push_back(loadedImpedance(port, coilLoadOhm(model, port.freqMHz)));
    }
    const FrequencyRun sweep = designSweep(freqMHz, kSimulationSweepPoints);
    const double low = sweep.startMHz;
    const double high = sweep.startMHz + (sweep.count - 1) * sweep.stepMHz;
    const auto impedance = RationalModel::through(freqs, values, low, high);
    if (!impedance) {
        return std::nullopt;
    }
    const auto excess = [&](double f) {
        const std::complex<double> z = (*impedance)(f);
        return standingWaveRatio(z.real(), z.imag(), z0Ohm) - nec_detail::kSwrMark;
    };
    if (!(excess(freqMHz) < 0)) {
        return std::nullopt;
    }
    const double step = (high - low) / (kEdgeSearchPoints - 1);
    return SwrBand{edgeFrom(excess, freqMHz, low, step), edgeFrom(excess, freqMHz, high, step)};
}

std::optional<AdvisedFormer> largerFormerChange(const DesignRecord& record,
                                                const SimulationOptions& options,
                                                const std::vector<TwoPortPoint>& ports,
                                                const WindingNeed& need, double guessUH,
                                                NecEngine& engine) {
    if (!options.build) {
        return std::nullopt;
    }
    CoilBuild larger = *options.build;
    larger.formerDiaIn *= kAdvisedFormerScale;
    const double f = record.freqMHz;
    const auto wound = windingForNeed(larger, f, guessUH, need);
    if (!wound) {
        return std::nullopt;
    }
    const AntennaModel model = windingModel(record, *wound, options.model);
    AdvisedFormer change;
    change.formerDiaIn = larger.formerDiaIn;
    change.coil = woundCoil(model, f);
    change.atF = nec_detail::solveAt(engine, model, {FrequencyRun{f, 0, 1}}, options.z0Ohm,
                                     &change.efficiencyPercent)
                     .front();
    change.swr2Band = modelledSwr2Band(model, ports, f, options.z0Ohm);
    return change;
}

} // namespace tarvix
