// NEC-2 deck writer. NEC works in metres and henries; the design is in feet,
// inches and microhenries.
#include "nec/nec_deck.h"

#include "calc/conversions.h"
#include "calc/units.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>

namespace tarvix {

namespace {

constexpr double kSpeedOfLight = 299.792458; // m/us: wavelength in m = this / MHz
constexpr double kHenriesPerMicrohenry = 1e-6;

constexpr double kMaxSegmentWavelengths = 1.0 / 20;   // at the top of the sweep
constexpr double kMinSegmentWavelengths = 1.0 / 1000; // at the bottom of the sweep
constexpr double kMinSegmentRadii = 8;
constexpr int kMinSegments = 11;   // five either side of the feed at least
constexpr int kMaxSegments = 2001; // beyond this the deck would take hours to solve
// The feed-point reactance is sensitive to where the coils sit: a coil 2 % of
// A off its place moves the resonance by several per cent. More segments bring
// a segment centre nearer B; this many always bring it within half a segment,
// A/502, of it.
constexpr int kPlacementSearchSegments = 251;
constexpr double kPlacementTolerance = 1.0 / 500; // of the total length

int oddAtLeast(double count) {
    const auto whole = static_cast<int>(std::ceil(count));
    return whole % 2 == 0 ? whole + 1 : whole;
}

int oddAtMost(double count) {
    const auto whole = static_cast<int>(std::floor(count));
    return whole % 2 == 0 ? whole - 1 : whole;
}

// NEC reads free-format numbers; 15 significant digits keep every value as
// the design has it, to well below a micrometre.
std::string num(double value) {
    return numberText(value);
}

void writeCard(std::ostream& out, const std::string& card) {
    out << card << '\n';
}

// Lengths in the comments are in the user's units: "60 ft" or "18.288 m",
// "2 in" or "50.8 mm".
std::string antennaLength(double feet, Units units) {
    return num(antennaUnitFromFeet(feet, units)) + " " + antennaUnitName(units);
}

std::string coilSize(double inches, Units units) {
    return num(coilUnitFromInches(inches, units)) + " " + coilUnitName(units);
}

// The gauge the user named a wire by; none for a wire given by its diameter.
std::optional<std::string> gaugeName(const std::optional<GivenWire>& given, double swg) {
    if (!given) {
        return "SWG " + num(swg);
    }
    if (given->awg) {
        return "AWG " + std::to_string(*given->awg);
    }
    return std::nullopt;
}

} // namespace

NecSegmentation chooseSegmentation(double freqMHz, double totalLengthFt, double centreToCoilFt,
                                   double wireDiaIn) {
    if (!(freqMHz > 0)) {
        throw NecDeckError("the frequency must be above 0 MHz");
    }
    if (!(totalLengthFt > 0)) {
        throw NecDeckError("the total length A must be above 0 ft");
    }
    if (!(wireDiaIn > 0)) {
        throw NecDeckError("the antenna wire has no diameter");
    }
    const double distanceFt = std::fabs(centreToCoilFt);
    if (distanceFt > totalLengthFt / 2) {
        throw NecDeckError("the coils at +-B lie beyond the ends of the wire");
    }

    const double lengthM = totalLengthFt * kMetresPerFoot;
    const double radiusM = wireDiaIn / 2 * kMetresPerInch;
    const double shortestWavelengthM = kSpeedOfLight / (freqMHz * kNecSweepHighFactor);
    const double longestWavelengthM = kSpeedOfLight / (freqMHz * kNecSweepLowFactor);
    const double fewest =
        std::fmax(kMinSegments, lengthM / (shortestWavelengthM * kMaxSegmentWavelengths));
    const double mostForRadius = lengthM / (kMinSegmentRadii * radiusM);
    const double mostForWavelength = lengthM / (longestWavelengthM * kMinSegmentWavelengths);
    if (!(fewest <= kMaxSegments)) {
        throw NecDeckError("the wire is too long against the wavelength to model");
    }
    const int first = oddAtLeast(fewest);
    if (first > oddAtMost(std::fmin(mostForRadius, kMaxSegments))) {
        throw NecDeckError("the wire is too short against its radius to model");
    }
    const int last =
        oddAtMost(std::fmin(std::fmin(mostForRadius, mostForWavelength), kMaxSegments));
    if (first > last) {
        throw NecDeckError("the wire is too short against the wavelength to model");
    }

    NecSegmentation best;
    double bestErrorFt = totalLengthFt;
    const int searchEnd = std::min(last, std::max(first, kPlacementSearchSegments));
    for (int segments = first; segments <= searchEnd; segments += 2) {
        // B in segment lengths from the feed segment's centre; the coil goes
        // on the segment whose centre is nearest.
        const double offset = distanceFt / totalLengthFt * segments;
        const double errorFt = std::fabs(offset - std::round(offset)) * totalLengthFt / segments;
        if (errorFt < bestErrorFt) {
            bestErrorFt = errorFt;
            best.segments = segments;
            best.feedSegment = (segments + 1) / 2;
            best.coilOffset = std::min(static_cast<int>(std::round(offset)), segments / 2);
        }
        if (errorFt <= totalLengthFt * kPlacementTolerance) {
            break;
        }
    }
    return best;
}

void writeNecDeck(std::ostream& out, const DesignResult& design, std::optional<double> heightFt) {
    const DesignRecord& r = design.record;
    const Units units = design.inputs.units;
    const NecSegmentation seg =
        chooseSegmentation(r.freqMHz, r.totalLengthFt, r.centreToCoilFt, r.antennaWireDiaIn);

    const double halfLengthM = r.totalLengthFt * kMetresPerFoot / 2;
    const double radiusM = r.antennaWireDiaIn / 2 * kMetresPerInch;
    const double heightM = heightFt ? *heightFt * kMetresPerFoot : 0;
    const double lowMHz = r.freqMHz * kNecSweepLowFactor;
    const double stepMHz =
        r.freqMHz * (kNecSweepHighFactor - kNecSweepLowFactor) / (kNecSweepPoints - 1);
    const double highMHz = lowMHz + stepMHz * (kNecSweepPoints - 1);
    const int lowCoil = seg.feedSegment - seg.coilOffset;
    const int highCoil = seg.feedSegment + seg.coilOffset;
    const double coilCentreFt = r.totalLengthFt / seg.segments * seg.coilOffset;

    writeCard(out, "CM Loaded dipole from tarvix-design " TARVIX_VERSION);
    writeCard(out, "CM Design frequency " + num(r.freqMHz) + " MHz");
    writeCard(out, "CM Total length A = " + antennaLength(r.totalLengthFt, units) +
                       ", centre to coil B = " + antennaLength(r.centreToCoilFt, units));
    const auto antennaGauge = gaugeName(design.inputs.antennaWire, r.antennaSwg);
    writeCard(out, "CM Antenna wire " + (antennaGauge ? *antennaGauge + ", " : "") +
                       coilSize(r.antennaWireDiaIn, units) + " diameter");
    writeCard(out, "CM Loading coils " + fullPrecisionText(r.inductanceUH) + " uH each (shown as " +
                       design.inductanceDisplay + " uH), lossless");
    if (design.windingDone) {
        const auto coilGauge = gaugeName(design.inputs.coilWire, r.coilSwg);
        writeCard(out, "CM Each coil " + num(r.turnCount) + " turns of " +
                           (coilGauge ? *coilGauge : coilSize(r.coilWireDiaIn, units) + " wire") +
                           " on a " + coilSize(r.coilFormerDiaIn, units) + " former, " +
                           num(reportedCoilLength(r.revisedLengthIn, units)) + " " +
                           coilUnitName(units) + " long");
    }
    if (seg.coilOffset == 0) {
        writeCard(out, "CM " + std::to_string(seg.segments) + " segments; feed and both coils " +
                           "on segment " + std::to_string(seg.feedSegment));
    } else {
        writeCard(out, "CM " + std::to_string(seg.segments) + " segments; feed on segment " +
                           std::to_string(seg.feedSegment) + ", coils on segments " +
                           std::to_string(lowCoil) + " and " + std::to_string(highCoil) +
                           " (centres at +-" +
                           num(std::round(antennaUnitFromFeet(coilCentreFt, units) * 100) / 100) +
                           " " + antennaUnitName(units) + ")");
    }
    if (heightFt) {
        writeCard(out, "CM " + antennaLength(*heightFt, units) +
                           " over average ground (permittivity " + num(kGroundPermittivity) +
                           ", conductivity " + num(kGroundConductivity) + " S/m)");
    } else {
        writeCard(out, "CM Free space");
    }
    writeCard(out, "CM Sweep " + num(lowMHz) + " to " + num(highMHz) + " MHz, " +
                       std::to_string(kNecSweepPoints) + " frequencies");
    writeCard(out, "CE");

    // The wire along x, centred on the z axis.
    writeCard(out, "GW 1 " + std::to_string(seg.segments) + " " + num(-halfLengthM) + " 0 " +
                       num(heightM) + " " + num(halfLengthM) + " 0 " + num(heightM) + " " +
                       num(radiusM));
    if (heightFt) {
        // Sommerfeld-Norton ground.
        writeCard(out, "GE 1");
        writeCard(out, "GN 2 0 0 0 " + num(kGroundPermittivity) + " " + num(kGroundConductivity));
    } else {
        writeCard(out, "GE 0");
    }
    // Series RLC loads with only the inductance: NEC reads C = 0 as no capacitor.
    const double henries = r.inductanceUH * kHenriesPerMicrohenry;
    if (seg.coilOffset == 0) {
        // Both coils on the feed segment are in series there.
        writeCard(out, "LD 0 1 " + std::to_string(seg.feedSegment) + " " +
                           std::to_string(seg.feedSegment) + " 0 " + num(2 * henries) + " 0");
    } else {
        for (const int coil : {lowCoil, highCoil}) {
            writeCard(out, "LD 0 1 " + std::to_string(coil) + " " + std::to_string(coil) + " 0 " +
                               num(henries) + " 0");
        }
    }
    writeCard(out, "EX 0 1 " + std::to_string(seg.feedSegment) + " 0 1 0");
    writeCard(out, "FR 0 " + std::to_string(kNecSweepPoints) + " 0 0 " + num(lowMHz) + " " +
                       num(stepMHz));
    writeCard(out, "XQ");
    writeCard(out, "EN");
}

} // namespace tarvix
