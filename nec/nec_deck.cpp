// NEC-2 deck writer. NEC works in metres, ohms and henries; the design is in
// feet, inches and microhenries.
#include "nec/nec_deck.h"

#include "calc/conversions.h"
#include "calc/units.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <sstream>

namespace tarvix {

namespace {

constexpr double kSpeedOfLight = 299.792458; // m/us: wavelength in m = this / MHz
constexpr double kHenriesPerMicrohenry = 1e-6;
constexpr double kMu0Over2Pi = 2e-7; // H/m

// A hundred segments to the wavelength, and at least 61 on the wire: twice as
// many move the worked example's resonance by 0.03 % and its corrected coil
// by 0.4 %. Very short antennas and coils near the tips converge more slowly
// (a 12 ft dipole for 28.5 MHz with its coils a foot from the tips moves by
// 0.4 %, its coil by 2 %); halving the segments again costs eight times the
// time.
constexpr double kSegmentsPerWavelength = 100;
constexpr double kMinSegmentsOnWire = 61;
constexpr double kMinSegmentRadii = 8;
// Beyond this the deck takes minutes to solve.
constexpr int kMaxSegments = 2000;

int nearestWhole(double count) {
    return static_cast<int>(std::max(1.0, std::round(count)));
}

// NEC reads free-format numbers; 15 significant digits keep every value as
// the design has it, to well below a micrometre.
std::string num(double value) {
    return numberText(value);
}

} // namespace

FrequencyRun designSweep(double freqMHz, int points) {
    const double low = freqMHz * kNecSweepLowFactor;
    const double step = freqMHz * (kNecSweepHighFactor - kNecSweepLowFactor) / (points - 1);
    return {low, step, points};
}

double insulationHenriesPerMetre(double wireDiaIn, const Insulation& insulation) {
    const double radius = wireDiaIn / 2;
    return kMu0Over2Pi * (1 - 1 / insulation.permittivity) *
           std::log((radius + insulation.thicknessIn) / radius);
}

NecGeometry buildGeometry(const AntennaModel& model) {
    if (!(model.designFreqMHz > 0) || !std::isfinite(model.designFreqMHz)) {
        throw NecDeckError("the frequency must be above 0 MHz");
    }
    if (!(model.totalLengthFt > 0) || !std::isfinite(model.totalLengthFt)) {
        throw NecDeckError("the total length A must be above 0 ft");
    }
    if (!(model.wireDiaIn > 0)) {
        throw NecDeckError("the antenna wire has no diameter");
    }
    const double half = model.totalLengthFt * kMetresPerFoot / 2;
    const double coil = std::fabs(model.centreToCoilFt) * kMetresPerFoot;
    if (!(coil < half)) {
        throw NecDeckError(coil == half ? "the coils at +-B sit on the ends of the wire"
                                        : "the coils at +-B lie beyond the ends of the wire");
    }
    const double wavelength = kSpeedOfLight / model.designFreqMHz;
    const double segment =
        std::min(wavelength / kSegmentsPerWavelength, 2 * half / kMinSegmentsOnWire) /
        model.refinement;
    if (2 * half / segment > kMaxSegments) {
        throw NecDeckError("the wire is too long against the wavelength to model");
    }

    // The feed and each coil are one segment of their own. Where B or the
    // tips leave less than a segment and a half the coil segments shrink, and
    // close to the feed the feed segment and the coils meet.
    double gap = segment;
    double coilSegment = segment;
    if (coil > 0 && coil < 1.5 * segment) {
        gap = coil;
        coilSegment = coil;
    }
    if (coil > 0) {
        coilSegment = std::min(coilSegment, half - coil);
    }

    NecGeometry geometry;
    auto addWire = [&geometry](int segments, double from, double to) {
        const int tag = static_cast<int>(geometry.wires.size()) + 1;
        geometry.wires.push_back({tag, segments, from, to});
        geometry.totalSegments += segments;
        return tag;
    };
    // A stretch of plain wire, cut into segments of about the model's length.
    auto addStretch = [&](double from, double to) {
        if (to - from > 1e-9 * half) {
            addWire(nearestWhole((to - from) / segment), from, to);
        }
    };
    if (coil == 0) {
        addStretch(-half, -gap / 2);
        geometry.feed = {addWire(1, -gap / 2, gap / 2), 1};
        geometry.coils = {geometry.feed};
        addStretch(gap / 2, half);
    } else {
        const double innerEnd = coil - coilSegment / 2;
        const double outerStart = coil + coilSegment / 2;
        addStretch(-half, -outerStart);
        geometry.coils.push_back({addWire(1, -outerStart, -innerEnd), 1});
        addStretch(-innerEnd, -gap / 2);
        geometry.feed = {addWire(1, -gap / 2, gap / 2), 1};
        addStretch(gap / 2, innerEnd);
        geometry.coils.push_back({addWire(1, innerEnd, outerStart), 1});
        addStretch(outerStart, half);
    }

    const double radius = model.wireDiaIn / 2 * kMetresPerInch;
    for (const NecWire& wire : geometry.wires) {
        if ((wire.toM - wire.fromM) / wire.segments < kMinSegmentRadii * radius) {
            throw NecDeckError(wire.segments > 1
                                   ? "the wire is too short against its radius to model"
                                   : "the coils sit too near the feed point or the tips "
                                     "against the wire's radius to model");
        }
    }
    if (geometry.totalSegments > kMaxSegments) {
        throw NecDeckError("the wire is too long against the wavelength to model");
    }
    return geometry;
}

void writeNecDeck(std::ostream& out, const AntennaModel& model,
                  const std::vector<std::string>& comments, const std::vector<FrequencyRun>& runs) {
    const NecGeometry geometry = buildGeometry(model);
    std::ostringstream deck;
    for (const std::string& comment : comments) {
        deck << "CM " << comment << '\n';
    }
    deck << "CE\n";

    const double heightM = model.heightFt ? *model.heightFt * kMetresPerFoot : 0;
    const std::string radius = num(model.wireDiaIn / 2 * kMetresPerInch);
    for (const NecWire& wire : geometry.wires) {
        deck << "GW " << wire.tag << ' ' << wire.segments << ' ' << num(wire.fromM) << " 0 "
             << num(heightM) << ' ' << num(wire.toM) << " 0 " << num(heightM) << ' ' << radius
             << '\n';
    }
    if (model.heightFt) {
        // Sommerfeld-Norton ground.
        deck << "GE 1\n"
             << "GN 2 0 0 0 " << num(kGroundPermittivity) << ' ' << num(kGroundConductivity)
             << '\n';
    } else {
        deck << "GE 0\n";
    }

    // Series RLC loads; NEC reads C = 0 as no capacitor. Loads on one segment
    // add in series, so the coils, the wire's conductivity and the
    // insulation's inductance per metre all apply together. With both coils on
    // the feed segment they are in series there.
    const double coilCount = geometry.coils.size() == 1 ? 2 : 1;
    for (const NecSegmentRef& coil : geometry.coils) {
        deck << "LD 0 " << coil.tag << ' ' << coil.segment << ' ' << coil.segment << ' '
             << num(coilCount * model.coilOhm) << ' '
             << num(coilCount * model.coilUH * kHenriesPerMicrohenry) << " 0\n";
    }
    if (model.copperWire) {
        deck << "LD 5 0 0 0 " << num(kCopperConductivity) << '\n';
    }
    if (model.insulation) {
        deck << "LD 2 0 0 0 0 "
             << num(insulationHenriesPerMetre(model.wireDiaIn, *model.insulation)) << " 0\n";
    }
    deck << "EX 0 " << geometry.feed.tag << ' ' << geometry.feed.segment << " 0 1 0\n";
    // Currents and loads are not printed: only the feed point and the power
    // budget are read.
    deck << "PT -1\n";
    for (const FrequencyRun& run : runs) {
        deck << "FR 0 " << run.count << " 0 0 " << num(run.startMHz) << ' ' << num(run.stepMHz)
             << '\n'
             << "XQ\n";
    }
    deck << "EN\n";
    out << deck.str();
}

} // namespace tarvix
