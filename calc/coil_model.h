// The loading coil as the program uses it: a single-layer winding of enamelled
// copper (calc/coil_winding.h) whose inductance at the working frequency comes
// from a field solution of its surface currents (calc/coil_field.h), its loss
// from Medhurst's measured proximity factor (calc/coil_loss.h), its
// self-capacitance from Medhurst's table corrected for the former and for a
// coil that floats (calc/coil_capacitance.h); the impedance across its terminals
// at any frequency, its self-resonance, and the winding that has a wanted
// inductance at a frequency.
//
// Against the measurements in shared/reference/coil-loss-and-capacitance.md: the
// loss is Medhurst's Phi times the isolated wire's by construction (his table,
// interpolated); the self-capacitance is his table with one end earthed on a
// solid rod, below it on a tube or in air, and below that again floating, as the
// coil hangs in the antenna; the worked coil (84 turns, 1.6 in) comes to 2.0 pF,
// 127 uH and an apparent 146 uH at 3.6 MHz on the table as the reference has it.
// The lumped model puts the self-resonance of the measured 30-turn air-cored coil
// (1.83 mm wire on a 38 mm diameter), alone with both ends free, at 44.5, 58 and
// 65 MHz where 37.0, 57.4 and 67.8 MHz were measured: the spaced ones within 5 %,
// the close-wound one between the floating and the earthed figure (34.8 MHz).
// Near its self-resonance a coil is a helical line, and is best used below a
// third of it.
#pragma once

#include "calc/coil_capacitance.h"
#include "calc/coil_field.h"
#include "calc/coil_loss.h"
#include "calc/coil_winding.h"

#include <complex>
#include <optional>
#include <string>

namespace tarvix {

// The coil at a frequency, its self-capacitance aside: L(f) is the strong-skin
// inductance of the field solution plus the wire's internal inductance, Im Z / omega
// of coilWireImpedanceOhm (Phi times an isolated wire's: R / omega in the
// strong-skin limit); R(f) is Re Z, Medhurst's Phi times the isolated wire's loss;
// Q = omega L / R. One field solution per call.
CoilAtFrequency coilAtFrequency(const CoilWinding& coil, double freqMHz);

// Across the terminals: the series R(f) + j omega L(f) of coilAtFrequency in
// parallel with selfCapacitancePF, Z = (R + j omega L) / (1 - omega^2 L C + j omega R C).
// The lumped model holds well below the self-resonance (a third of it, say); near
// it the coil is a helical line and resonates higher than this model does. One
// field solution per call: for many frequencies, CoilCircuit.
std::complex<double> coilImpedanceOhm(const CoilWinding& coil, double freqMHz);

// A series impedance with a capacitance of pF across it, at freqMHz:
// Z / (1 + j omega C Z).
std::complex<double> withCapacitanceAcross(std::complex<double> seriesOhm, double pF,
                                           double freqMHz);

// What an impedance analyser reads across the coil at a frequency: Z as R + jX,
// and the apparent inductance X / omega, L / (1 - omega^2 L C) while R is small.
struct CoilAtTerminals {
    double apparentInductanceUH = 0;
    double analyzerROhm = 0;
    double analyzerXOhm = 0;
};

// The coil as a circuit: what does not depend on the frequency (the field
// solution, some milliseconds) worked out once, so that each frequency after it
// takes some microseconds; the same values as the functions above.
class CoilCircuit {
public:
    explicit CoilCircuit(const CoilWinding& winding);
    const CoilWinding& winding() const { return m_winding; }
    double strongSkinInductanceUH() const { return m_strongSkinInductanceUH; }
    double capacitancePF() const { return m_capacitancePF; }
    // kFieldSolutionShortText when the field solution stopped short of its
    // tolerance, for the caller to show beside the results.
    std::optional<std::string> warning() const;

    CoilAtFrequency atFrequency(double freqMHz) const;
    std::complex<double> impedanceOhm(double freqMHz) const;
    CoilAtTerminals atTerminals(double freqMHz) const;

private:
    CoilWinding m_winding;
    double m_strongSkinInductanceUH;
    double m_capacitancePF;
    bool m_fieldSolutionConverged;
};

// The self-resonance of the lumped model, 1 = omega^2 L C, with the low-frequency
// inductance (no field solution; L(f) lies 1 to 15 % below it, least for thin
// wire on a wide former, which would move this up by half as much) and
// selfCapacitancePF.
double selfResonanceMHz(const CoilWinding& coil);

// The winding of a target inductance at freqMHz (coilAtFrequency's, without the
// self-capacitance) on a former with a wire (bare diameter).
// pitchIn empty: the fewest whole turns that reach the target close-wound (pitch =
// enamelled diameter), spread evenly (larger pitch) to the length at which the
// inductance at freqMHz is the target (within 0.1 %).
// pitchIn given: that pitch, and the turns, to a tenth of a turn and at least one,
// whose inductance at freqMHz is nearest the target.
// std::nullopt when no winding can have it: a target <= 0 or not finite, a
// frequency <= 0, a pitch below the enamelled diameter, a former or wire of no
// size, or more than 10000 turns.
std::optional<CoilWinding> windingForInductance(double targetUH, double freqMHz, double formerDiaIn,
                                                double wireDiaIn, std::optional<double> pitchIn);

// The same winding, with kPitchSearchShortText when the spread's iteration ran
// out before the inductance at freqMHz came within its tolerance of the target.
struct InductanceWinding {
    CoilWinding winding;
    std::optional<std::string> warning;
};
std::optional<InductanceWinding> windingOfInductance(double targetUH, double freqMHz,
                                                     double formerDiaIn, double wireDiaIn,
                                                     std::optional<double> pitchIn);

inline constexpr const char* kPitchSearchShortText =
    "the search for the coil's pitch stopped short of its tolerance: the coil's inductance is "
    "approximate";

} // namespace tarvix
