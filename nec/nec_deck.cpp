// NEC-2 deck writer. NEC works in metres, ohms and henries; the design is in
// feet, inches and microhenries.
#include "nec/nec_deck.h"

#include "calc/conversions.h"
#include "calc/units.h"
#include "nec/coil_load.h"

#include <algorithm>
#include <cmath>
#include <ostream>
#include <sstream>

namespace tarvix {

namespace {

constexpr double kSpeedOfLight = 299.792458; // m/us: wavelength in m = this / MHz
constexpr double kHenriesPerMicrohenry = 1e-6;
constexpr double kMu0Over2Pi = 2e-7; // H/m

// A hundred segments to the wavelength, and at least 61 on the wire, at
// least 8 radii long. The feed and each coil are one segment of their own,
// and the wire's segments grow from them to the full length by about kGrowth
// from one to the next: NEC-2's answers drift when a segment meets a
// neighbour many times its length, so every pair stays within 1.5.
constexpr double kSegmentsPerWavelength = 100;
constexpr double kMinSegmentsOnWire = 61;
constexpr double kMinSegmentRadii = 8;
constexpr double kGrowth = 1.3;
constexpr double kCoilSegmentIn = 1;
// Each stretch's segments start this much longer than their neighbour, so
// that a coil's neighbours are not shorter than the coil.
constexpr double kLead = 1.1;
// Up to this many coil lengths from the feed, the feed, the coils and the
// wire between them are cut into equal segments.
constexpr double kUniformCoilLengths = 6;
// Beyond this the deck takes minutes to solve.
constexpr int kMaxSegments = 2000;
// The voltage of a port that is not driven.
constexpr const char* kQuietVolts = "1E-12";

// The segment lengths of a stretch of plain wire of the given length between
// two segments of the given lengths (0 at a tip, which sets no length). The
// lengths follow h(x) = min(segment, lead left + g x, lead right + g (length
// - x)), g = kGrowth - 1: the nodes sit at equal steps of the integral of
// 1 / h, so each segment is about kGrowth times the one before while it
// grows. Of the two whole counts either side of the integral, the one that
// keeps every pair of neighbours closest is taken.
std::vector<double> stretchSegments(double length, double left, double right, double segment) {
    constexpr int kSamples = 1024;
    constexpr double kSlope = kGrowth - 1;
    // A neighbour longer than the wire's segment (a coil that needs the room)
    // is met by segments that shrink from it, one shorter than it sets
    // segments that grow.
    auto size = [&](double x) {
        double h = segment;
        for (const auto& [end, distance] : {std::pair{left, x}, {right, length - x}}) {
            if (end > 0 && kLead * end > segment) {
                h = std::max(h, kLead * end - kSlope * distance);
            }
        }
        for (const auto& [end, distance] : {std::pair{left, x}, {right, length - x}}) {
            if (end > 0 && kLead * end <= segment) {
                h = std::min(h, kLead * end + kSlope * distance);
            }
        }
        return h;
    };
    // The integral of 1 / h at kSamples + 1 points, by the midpoint rule.
    std::vector<double> cells(kSamples + 1, 0.0);
    const double dx = length / kSamples;
    for (int i = 0; i < kSamples; ++i) {
        cells[i + 1] = cells[i] + dx / size((i + 0.5) * dx);
    }
    auto cut = [&](int count) {
        std::vector<double> lengths;
        lengths.reserve(static_cast<std::size_t>(count));
        double from = 0;
        std::size_t at = 0;
        for (int k = 1; k < count; ++k) {
            const double target = cells.back() * k / count;
            while (cells[at + 1] < target) {
                ++at;
            }
            const double x =
                (static_cast<double>(at) + (target - cells[at]) / (cells[at + 1] - cells[at])) * dx;
            lengths.push_back(x - from);
            from = x;
        }
        lengths.push_back(length - from);
        return lengths;
    };
    auto worstRatio = [&](const std::vector<double>& lengths) {
        std::vector<double> row;
        if (left > 0) {
            row.push_back(left);
        }
        row.insert(row.end(), lengths.begin(), lengths.end());
        if (right > 0) {
            row.push_back(right);
        }
        double worst = 1;
        for (std::size_t i = 1; i < row.size(); ++i) {
            worst = std::max({worst, row[i] / row[i - 1], row[i - 1] / row[i]});
        }
        return worst;
    };
    const int fewer = std::max(1, static_cast<int>(std::floor(cells.back())));
    std::vector<double> best = cut(fewer);
    std::vector<double> more = cut(fewer + 1);
    if (worstRatio(more) < worstRatio(best)) {
        best = std::move(more);
    }
    return best;
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
    const double baseSegment =
        std::min(wavelength / kSegmentsPerWavelength, 2 * half / kMinSegmentsOnWire);
    const double segment = baseSegment / model.refinement;
    if (2 * half / segment > kMaxSegments) {
        throw NecDeckError("the wire is too long against the wavelength to model");
    }
    const double radius = model.wireDiaIn / 2 * kMetresPerInch;

    // A coil is a load on a segment as long as the coil, and the answers move
    // with that length (a coil's ends are that far apart). NEC-2 answers well
    // only where a loaded segment is shorter than the wire's segments around
    // it: the coil segment is an inch, or an eighth of the wire's segment
    // where that is shorter, the same in a model refined four times, where
    // it is still half the wire's segment. Close to the feed, the feed, the
    // coil and the wire between them are equal segments of at most that
    // length; close to a tip, the coil and the wire beyond it.
    const double coilLength = std::max(std::min(kCoilSegmentIn * kMetresPerInch, baseSegment / 8),
                                       kMinSegmentRadii * radius);
    auto equalPieces = [&](double span, double offset) {
        // span = (pieces + offset) segments of at most coilLength, and at
        // least kMinSegmentRadii radii where the span allows.
        const double most = std::ceil(span / coilLength - offset);
        const double least = std::floor(span / (kMinSegmentRadii * radius) - offset);
        return std::max(1.0, std::min(most, least));
    };
    const double tolerance = 1e-9 * half;
    const double tip = half - coil;
    double feedSegment = segment;
    double coilSegment = coilLength;
    int innerPieces = 0; // equal segments between the feed and the coil
    int outerPieces = 0; // equal segments between the coil and the tip
    if (coil > 0 && coil <= kUniformCoilLengths * coilLength) {
        const double pieces = equalPieces(coil, 0);
        feedSegment = coilSegment = coil / pieces;
        innerPieces = static_cast<int>(pieces) - 1;
    }
    if (coil > 0 && tip <= kUniformCoilLengths * coilLength) {
        const double pieces = equalPieces(tip, 0.5);
        coilSegment = tip / (pieces + 0.5);
        outerPieces = static_cast<int>(pieces);
    }
    if (coil > kUniformCoilLengths * coilLength) {
        // The grading from the coil towards the feed ends near the feed's
        // length: f = lead c + g (B - c / 2 - f / 2).
        const double slope = kGrowth - 1;
        feedSegment =
            std::clamp((kLead * coilSegment + slope * (coil - coilSegment / 2)) / (1 + slope / 2),
                       coilSegment, segment);
    }

    // One side's segments, from the feed segment to the tip; the other side
    // is its mirror image.
    std::vector<double> side;
    std::size_t coilIndex = 0;
    auto extend = [&side](const std::vector<double>& pieces) {
        side.insert(side.end(), pieces.begin(), pieces.end());
    };
    if (coil == 0) {
        extend(stretchSegments(half - feedSegment / 2, feedSegment, 0, segment));
    } else {
        const double gap = coil - coilSegment / 2 - feedSegment / 2;
        if (innerPieces > 0 && feedSegment == coilSegment) {
            side.assign(static_cast<std::size_t>(innerPieces), coilSegment);
        } else if (gap > tolerance) {
            extend(stretchSegments(gap, feedSegment, coilSegment, segment));
        }
        coilIndex = side.size();
        side.push_back(coilSegment);
        const double outer = tip - coilSegment / 2;
        if (outerPieces > 0) {
            side.insert(side.end(), static_cast<std::size_t>(outerPieces), coilSegment);
        } else if (outer > tolerance) {
            extend(stretchSegments(outer, coilSegment, 0, segment));
        }
    }
    std::vector<double> lengths(side.rbegin(), side.rend());
    const std::size_t feedIndex = lengths.size();
    lengths.push_back(feedSegment);
    lengths.insert(lengths.end(), side.begin(), side.end());

    // The nodes between segments, with the feed and the coils placed exactly.
    std::vector<double> nodes{-half};
    for (const double length : lengths) {
        nodes.push_back(nodes.back() + length);
    }
    nodes.back() = half;
    nodes[feedIndex] = -feedSegment / 2;
    nodes[feedIndex + 1] = feedSegment / 2;
    const std::size_t leftCoil = feedIndex - 1 - coilIndex;
    const std::size_t rightCoil = feedIndex + 1 + coilIndex;
    if (coil > 0) {
        nodes[leftCoil] = -coil - coilSegment / 2;
        nodes[leftCoil + 1] = -coil + coilSegment / 2;
        nodes[rightCoil] = coil - coilSegment / 2;
        nodes[rightCoil + 1] = coil + coilSegment / 2;
    }

    // Runs of equal segments are one wire; the feed and each coil are a wire
    // of their own, so that each is segment 1 of its tag.
    auto own = [&](std::size_t i) {
        return i == feedIndex || (coil > 0 && (i == leftCoil || i == rightCoil));
    };
    NecGeometry geometry;
    for (std::size_t i = 0; i < lengths.size();) {
        std::size_t end = i + 1;
        if (!own(i)) {
            while (end < lengths.size() && !own(end) &&
                   std::fabs(lengths[end] - lengths[i]) <= 1e-9 * lengths[i]) {
                ++end;
            }
        }
        const int tag = static_cast<int>(geometry.wires.size()) + 1;
        geometry.wires.push_back({tag, static_cast<int>(end - i), nodes[i], nodes[end]});
        geometry.totalSegments += static_cast<int>(end - i);
        if (i == feedIndex) {
            geometry.feed = {tag, 1};
        } else if (own(i)) {
            geometry.coils.push_back({tag, 1});
        }
        i = end;
    }
    if (coil == 0) {
        geometry.coils = {geometry.feed};
    }

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

namespace {

// The wire's own loads: copper, and the insulation's inductance per metre.
void writeWireLoads(std::ostream& deck, const AntennaModel& model) {
    deck << "LD 5 0 0 0 " << num(kCopperConductivity) << '\n';
    if (model.insulation) {
        deck << "LD 2 0 0 0 0 "
             << num(insulationHenriesPerMetre(model.wireDiaIn, *model.insulation)) << " 0\n";
    }
}

// The comment cards, the geometry, the ground and the loads; the coils' only
// where they are loads, and not where they are driven, nor where they are
// windings (written with each frequency).
void writeStructure(std::ostream& deck, const AntennaModel& model, const NecGeometry& geometry,
                    const std::vector<std::string>& comments, bool coilLoads) {
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
        if (coilLoads && !model.coilCircuit) {
            deck << "LD 0 " << coil.tag << ' ' << coil.segment << ' ' << coil.segment << ' '
                 << num(coilCount * model.coilOhm) << ' '
                 << num(coilCount * model.coilUH * kHenriesPerMicrohenry) << " 0\n";
        }
    }
    if (!coilLoads || !model.coilCircuit) {
        writeWireLoads(deck, model);
    }
}

// A winding's impedance changes with frequency in a way no RLC load has (its
// self-capacitance is across its loss and inductance), so each frequency gets
// the coils' impedance there, as an impedance load (type 4), which replaces
// the one before it. nec2c drops the wire's loads (copper, insulation) that
// stand before an impedance load, so they follow it each time; clearing all
// loads with LD -1 instead puts the next frequency over ground a percent off.
void writeWindingLoads(std::ostream& deck, const AntennaModel& model, const NecGeometry& geometry,
                       double freqMHz) {
    const double coilCount = geometry.coils.size() == 1 ? 2 : 1;
    const std::complex<double> coil = coilCount * coilLoadOhm(model, freqMHz);
    for (const NecSegmentRef& segment : geometry.coils) {
        deck << "LD 4 " << segment.tag << ' ' << segment.segment << ' ' << segment.segment << ' '
             << num(coil.real()) << ' ' << num(coil.imag()) << '\n';
    }
    writeWireLoads(deck, model);
}

void writeSource(std::ostream& deck, const NecSegmentRef& segment, const char* volts) {
    deck << "EX 0 " << segment.tag << ' ' << segment.segment << " 0 " << volts << " 0\n";
}

} // namespace

void writeNecDeck(std::ostream& out, const AntennaModel& model,
                  const std::vector<std::string>& comments, const std::vector<FrequencyRun>& runs) {
    const NecGeometry geometry = buildGeometry(model);
    std::ostringstream deck;
    writeStructure(deck, model, geometry, comments, true);
    writeSource(deck, geometry.feed, "1");
    // Currents and loads are not printed: only the feed point and the power
    // budget are read.
    deck << "PT -1\n";
    if (model.coilCircuit) {
        for (const FrequencyRun& run : runs) {
            for (int i = 0; i < run.count; ++i) {
                const double f = run.startMHz + i * run.stepMHz;
                writeWindingLoads(deck, model, geometry, f);
                deck << "FR 0 1 0 0 " << num(f) << " 0\n"
                     << "XQ\n";
            }
        }
    } else {
        for (const FrequencyRun& run : runs) {
            deck << "FR 0 " << run.count << " 0 0 " << num(run.startMHz) << ' ' << num(run.stepMHz)
                 << '\n'
                 << "XQ\n";
        }
    }
    deck << "EN\n";
    out << deck.str();
}

void writeTwoPortDeck(std::ostream& out, const AntennaModel& model,
                      const std::vector<double>& freqsMHz) {
    const NecGeometry geometry = buildGeometry(model);
    if (geometry.coils.size() != 2) {
        throw NecDeckError("the coils share the feed segment: the antenna has one port");
    }
    std::ostringstream deck;
    writeStructure(deck, model, geometry, {}, false);
    deck << "PT -1\n";
    // Each frequency's matrix is filled and factored once and solved for both
    // excitations. EX cards after an XQ replace the sources before it. NEC
    // reads a source of 0 V as 1 V, so a port that is not driven gets a
    // picovolt: listed with its current, and too small to count.
    for (const double f : freqsMHz) {
        deck << "FR 0 1 0 0 " << num(f) << " 0\n";
        writeSource(deck, geometry.feed, "1");
        writeSource(deck, geometry.coils[0], kQuietVolts);
        writeSource(deck, geometry.coils[1], kQuietVolts);
        deck << "XQ\n";
        writeSource(deck, geometry.feed, kQuietVolts);
        writeSource(deck, geometry.coils[0], "1");
        writeSource(deck, geometry.coils[1], "1");
        deck << "XQ\n";
    }
    deck << "EN\n";
    out << deck.str();
}

} // namespace tarvix
