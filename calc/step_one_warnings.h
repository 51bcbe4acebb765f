// The range checks of the window's first step, as warnings. The window runs
// them keystroke by keystroke; the command line has all three values at once
// and runs each check once. None of them stops a design. A metric report has
// the window's text, in feet, with the limit in metres beside it. Beside them,
// the command line's warnings about values a design cannot mean.
#pragma once

#include "calc/units.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvix {

// "Input HF range only (1.5 to 30MHz)" when F is above 30 or below 1. The
// message names 1.5 MHz but the check has always let 1 to 1.5 pass.
std::optional<std::string> frequencyWarning(double freqMHz);

// "A ahould be larger than 2.6*B ft" when A is below 2.6 times B.
std::optional<std::string> coilDistanceRatioWarning(double totalLengthFt, double centreToCoilFt,
                                                    Units units = Units::FeetAndInches);

// " A should be smaller than  LIMIT ft" when A is above Int(421.2 / F),
// compared in single precision.
std::optional<std::string> lengthLimitWarning(double freqMHz, double totalLengthFt,
                                              Units units = Units::FeetAndInches);

// "B should be lower than LIMIT ft" when B is above Int(A * 0.8 / 2),
// compared in single precision.
std::optional<std::string> coilDistanceLimitWarning(double totalLengthFt, double centreToCoilFt,
                                                    Units units = Units::FeetAndInches);

// All four, in the order the window shows them when F, A and B are typed in
// that order.
std::vector<std::string> stepOneWarnings(double freqMHz, double totalLengthFt,
                                         double centreToCoilFt, Units units = Units::FeetAndInches);

// "QUANTITY is negative (VALUE UNIT): a length cannot be below zero" for a
// negative length or distance, such as "the total length A" in "ft".
std::optional<std::string> negativeWarning(std::string_view quantity, double value,
                                           std::string_view unit);

// negativeWarning for A and for B, given in feet, stated in the user's units.
std::optional<std::string> negativeLengthWarning(double totalLengthFt,
                                                 Units units = Units::FeetAndInches);
std::optional<std::string> negativeDistanceWarning(double centreToCoilFt,
                                                   Units units = Units::FeetAndInches);

// A negative inductance: the antenna is longer than resonance needs.
std::optional<std::string> negativeInductanceWarning(double inductanceUH);

} // namespace tarvix
