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
// The report's units, one rule for each kind of length, as a builder
// measures it: wire to cut along a tape (metres, or feet and inches); a
// coil's length with a rule and its pitch and wire with calipers
// (millimetres, or inches); never centimetres.

// Wire to cut or a change of a wire's length: metres to the nearest 5 mm
// ("4.255 m"), or feet and inches to the nearest quarter inch ("13 ft 4 1/4
// in"): finer than a tape is read along a span of wire is noise.
std::string wireLengthText(double inches, Units units);
// How much a tip changes, unsigned (the sentence says longer or shorter): a
// wire length.
std::string tipChange(double feet, Units units);
// A coil's length as a rule reads it: inches to 2 decimals; millimetres to
// 0.1 mm, whole millimetres from 100 mm.
std::string coilText(double inches, Units units);
// A pitch or a wire's diameter as calipers read it: inches to 3 decimals,
// millimetres to 2 ("0.040 in", "1.03 mm").
std::string caliperText(double inches, Units units);
// The build sheet's page names its precision by decimals: 2 for a coil's
// length (coilText), more for a pitch or a wire (caliperText).
std::string coilText(double inches, Units units, int decimals);
std::string wireText(const CoilBuild& build, Units units);
// A few inches for the ends of a wire, as a small length: "3 in", "76 mm".
std::string endLengthText(double inches, Units units);
// An inductance to 3 significant figures ("7.41 uH", "0.523 uH", "43.0
// uH"), what an LCR meter shows; with other, the inductance it stands
// beside, as many more (up to 3 decimals) as tell the two apart.
std::string inductanceText(double uH, double other = 0);
std::string turnsText(double turns);
// The coil to wind, its bench figures and any warning of its self-resonance,
// each a sentence ending in a new line.
std::string windingSentence(const WoundCoil& coil, const CoilBuild& build, double freqMHz,
                            Units units);
std::string benchText(const WoundCoil& coil, double freqMHz);
// "; in the antenna its body ... acts as 2.0 uH more", where that matters.
std::string bodyText(const WoundCoil& coil);
std::string selfResonanceWarning(const WoundCoil& coil, double freqMHz);
// The winding a check is of, in words: "12 turns close-wound".
std::string checkedWindingText(const WindingCheck& check, Units units);
// Where the antenna with a checked winding resonates, and the turns that
// bring it to F (atF: "7.1 MHz").
std::string checkedAntennaText(const WindingCheck& check, const std::string& atF);

} // namespace tarvix::simulation_phrases
