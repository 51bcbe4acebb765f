// The phrases the simulation's sentences are made of: frequencies, SWRs,
// impedances, the model's surroundings, and the coil to wind in the
// builder's words. The text report joins them into sentences; the JSON
// report shares the constants.
#pragma once

#include "calc/units.h"
#include "nec/simulation.h"

#include <complex>
#include <string>

namespace tarvix::simulation_phrases {

// Below this NEC's efficiency is rounding, or below zero.
inline constexpr double kLeastEfficiencyPercent = 0.1;

std::string mhz(double value);
std::string signedPercent(double value);
std::string swrText(double swr);
std::string impedanceText(std::complex<double> ohm);
std::string impedance(const SimulatedPoint& point);
// The wire and where it hangs: "bare copper wire in free space".
std::string surroundings(const SimulationOptions& options, Units units);
// How much a tip changes: feet and inches, or centimetres in a metric report.
std::string tipChange(double feet, Units units);

std::string wireLengthText(double inches, Units units);
// A coil size in the report's units: "0.52 in", "13.2 mm".
std::string coilText(double inches, Units units, int decimals);
std::string wireText(const CoilBuild& build, Units units);
// A few inches for the ends of a wire: "3 in", "76 mm".
std::string endLengthText(double inches, Units units);
std::string turnsText(double turns);
// The coil to wind, its bench figures and any warning of its self-resonance,
// each a sentence ending in a new line.
std::string windingSentence(const WoundCoil& coil, const CoilBuild& build, double freqMHz,
                            Units units);
std::string benchText(const WoundCoil& coil, double freqMHz);
std::string selfResonanceWarning(const WoundCoil& coil, double freqMHz);
// The winding a check is of, in words: "12 turns close-wound".
std::string checkedWindingText(const WindingCheck& check, Units units);
// Where the antenna with a checked winding resonates, and the turns that
// bring it to F (atF: "7.1 MHz").
std::string checkedAntennaText(const WindingCheck& check, const std::string& atF);

} // namespace tarvix::simulation_phrases
