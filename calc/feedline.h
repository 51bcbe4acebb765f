// The feed line between the antenna and the rig: the lines the program knows
// by name, with their makers' figures, and the lossy line's transformation of
// an impedance from one end to the other, its loss, and the SWR the rig sees.
// Lengths in feet, frequencies in MHz, impedances in ohm.
#pragma once

#include <complex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvix {

// A matched loss read off a published table.
struct LossPoint {
    double freqMHz = 0;
    double dbPer100Ft = 0;
};

// Matched loss in dB per 100 ft = k1 sqrt(f) + k2 f, f in MHz: the conductors'
// skin-effect loss and the dielectric's.
struct LossCoefficients {
    double k1 = 0;
    double k2 = 0;
};

// A line known by name: its impedance, velocity factor and the published
// matched loss it is fitted to. Open lines' points are all near one
// frequency, where the dielectric's share is not told apart: they are fitted
// with k2 = 0.
struct FeedLineType {
    std::string_view name;
    double z0Ohm = 0;
    double velocityFactor = 0;
    std::span<const LossPoint> points;
    bool conductorLossOnly = false;
};

// Every line known by name, in the order the help lists them.
std::span<const FeedLineType> feedLineTypes();
std::optional<FeedLineType> feedLineTypeNamed(std::string_view name);
// "RG-58, RG-8X, ...".
std::string feedLineTypeNames();

// Least squares of k1 sqrt(f) + k2 f through the type's points.
LossCoefficients fittedLoss(const FeedLineType& type);

// A line as the user laid it. typeName is empty for a line given by its
// figures.
struct FeedLine {
    std::string typeName;
    double z0Ohm = 50;
    double velocityFactor = 1;
    LossCoefficients loss;
    double lengthFt = 0;

    double matchedDbPer100Ft(double freqMHz) const;
    double matchedLossDb(double freqMHz) const;
    // gamma times the length: nepers and radians.
    std::complex<double> propagation(double freqMHz) const;
};

FeedLine feedLineOfType(const FeedLineType& type, double lengthFt);
// A line given by its figures: the loss at freqMHz scaled by sqrt(f)
// elsewhere, as the conductors' loss is.
FeedLine feedLineOfFigures(double z0Ohm, double velocityFactor, double dbPer100Ft, double freqMHz,
                           double lengthFt);

// The line's input impedance with loadOhm at its far end (the telegrapher's
// equations with a real Z0, as a low-loss line has it):
// Zin = Z0 (ZL + Z0 tanh gl) / (Z0 + ZL tanh gl).
std::complex<double> lineInputOhm(const FeedLine& line, std::complex<double> loadOhm,
                                  double freqMHz);
// The other way: the load that shows inputOhm at the line's input.
std::complex<double> lineLoadOhm(const FeedLine& line, std::complex<double> inputOhm,
                                 double freqMHz);
// 10 log10(P_in / P_load), from the voltages and currents at both ends.
double lineLossDb(const FeedLine& line, std::complex<double> loadOhm, double freqMHz);
// |reflection| of an impedance on a real reference; the SWR of it (infinity
// where nothing is absorbed).
double reflectionMagnitude(std::complex<double> ohm, double z0Ohm);
double swrOf(std::complex<double> ohm, double z0Ohm);
double swrOfReflection(double reflection);
double reflectionOfSwr(double swr);

// An SWR curve in frequency order, and where it crosses mark on each side of
// its lowest point (straight lines between the points). None: never down to
// mark; a side with no crossing is beyond the curve.
struct SwrCurvePoint {
    double freqMHz = 0;
    double swr = 0;
};
struct SwrCrossings {
    std::optional<double> lowMHz;
    std::optional<double> highMHz;
};
std::optional<SwrCrossings> swrCrossings(const std::vector<SwrCurvePoint>& curve, double mark);

} // namespace tarvix
