// What the NEC-2 model of a design can stand for: the bounds on the inputs
// that --nec writes and --simulate solves, beyond which nec2c fails or prints
// nothing to read (a wire in the ground plane, coordinates or radii that its
// numbers cannot hold), and the coil position the model cannot place.
#pragma once

#include <optional>
#include <string>

namespace tarvix {

// The wire must clear the ground by more than this many of its radii; at or
// below it nec2c finds a segment in the ground plane, or its ground
// integrals fail.
inline constexpr double kMinHeightRadii = 4;
// Higher than any antenna: the ground's effect is gone long before.
inline constexpr double kMaxHeightFt = 1e5;
// The thinnest antenna wire modelled, a tenth of the finest wire drawn.
inline constexpr double kMinModelWireDiaIn = 1e-4;

// Said of a height that is not above zero, and of an insulation's relative
// permittivity below 1.
inline constexpr const char* kNotAboveGroundText = "is not above the ground";
// An inverted V's tips without a feed point height, and above it.
inline constexpr const char* kEndHeightNeedsHeightText =
    "needs the feed point's height: an inverted V hangs over the ground";
inline constexpr const char* kTipsAboveFeedText =
    "is above the feed point: with its tips higher than its middle the antenna is another "
    "one, not an inverted V";
inline constexpr const char* kBelowVacuumPermittivityText =
    "is below 1, the permittivity of vacuum";

// The feed line's impedance for the SWR: no line is made beyond these, and
// the SWR of an antenna on one would mean nothing.
inline constexpr double kMinZ0Ohm = 1;
inline constexpr double kMaxZ0Ohm = 10000;

// The antenna's inputs that the options set; heights and lengths in feet,
// diameters in inches.
struct ModelInputs {
    double centreToCoilFt = 0;
    double wireDiaIn = 0;
    std::optional<double> heightFt;
};

// Which input is out of the model's range, and why in words.
struct ModelLimitProblem {
    enum class Input { CoilDistance, WireDiameter, Height };
    Input input;
    std::string why;
};

// The first input the model cannot stand for, or none. Lengths in the
// message are in feet or inches, or metres and millimetres when metric.
std::optional<ModelLimitProblem> modelLimitProblem(const ModelInputs& inputs, bool metric);

} // namespace tarvix
