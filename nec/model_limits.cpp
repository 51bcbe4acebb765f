// The model's bounds, checked in the order of the options.
#include "nec/model_limits.h"

#include "calc/conversions.h"
#include "calc/units.h"

namespace tarvix {

namespace {

std::string feetText(double feet, bool metric) {
    return metric ? numberText(feet * kMetresPerFoot) + " m" : numberText(feet) + " ft";
}

std::string inchText(double inches, bool metric) {
    return metric ? numberText(inches * kMillimetresPerInch) + " mm" : numberText(inches) + " in";
}

} // namespace

std::optional<ModelLimitProblem> modelLimitProblem(const ModelInputs& inputs, bool metric) {
    using Input = ModelLimitProblem::Input;
    // The design takes B's size only; a coil at -B on one leg is a coil at
    // +B on the other, and the model would be of another design than the one
    // reported.
    if (inputs.centreToCoilFt < 0) {
        return ModelLimitProblem{Input::CoilDistance,
                                 "is below 0, and the NEC model cannot place a coil at a "
                                 "negative distance from the feed point"};
    }
    if (!(inputs.wireDiaIn >= kMinModelWireDiaIn)) {
        return ModelLimitProblem{Input::WireDiameter,
                                 "is thinner than the NEC model can stand for (at least " +
                                     inchText(kMinModelWireDiaIn, metric) + ")"};
    }
    if (inputs.heightFt) {
        const double radiusFt = inputs.wireDiaIn / 2 / 12;
        const double lowestFt = kMinHeightRadii * radiusFt;
        if (!(*inputs.heightFt > lowestFt)) {
            return ModelLimitProblem{Input::Height, "puts the wire in the ground for the NEC model "
                                                    "(it must be above " +
                                                        numberText(kMinHeightRadii) +
                                                        " wire radii, " +
                                                        inchText(lowestFt * 12, metric) + ")"};
        }
        if (!(*inputs.heightFt <= kMaxHeightFt)) {
            return ModelLimitProblem{Input::Height, "is beyond the NEC model's range (at most " +
                                                        feetText(kMaxHeightFt, metric) + ")"};
        }
    }
    return std::nullopt;
}

} // namespace tarvix
