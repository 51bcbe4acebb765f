// NEC-2 deck writer. NEC works in metres, ohms and henries; the design is in
// feet, inches and microhenries.
#include "nec/nec_deck.h"

#include "calc/conversions.h"
#include "calc/units.h"
#include "nec/coil_load.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <ostream>
#include <sstream>

namespace tarvix {

namespace {

constexpr double kHenriesPerMicrohenry = 1e-6;
constexpr double kMu0Over2Pi = kMu0HPerM / (2 * std::numbers::pi); // H/m

// The voltage of a port that is not driven.
constexpr const char* kQuietVolts = "1E-12";

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

namespace {

// The segments that carry each coil, a share each.
double coilRunSegments(const NecGeometry& geometry) {
    return 2 * geometry.coilRun + 1;
}

// A coil's run as a load card names it: its tag, first and last segment.
std::string coilSegments(const NecGeometry& geometry, const NecSegmentRef& coil) {
    return std::to_string(coil.tag) + ' ' + std::to_string(coil.segment - geometry.coilRun) + ' ' +
           std::to_string(coil.segment + geometry.coilRun);
}

// The wire's own loads: copper, and the insulation's inductance per metre.
// nec2c reads a card into a buffer of 132 characters and aborts ("a memory
// allocation request has failed") on a longer one: a comment is cut at its
// spaces into cards of at most kCommentWidth characters.
constexpr std::size_t kCommentWidth = 80;

void writeCommentLines(std::ostream& deck, const std::string& comment) {
    std::string line;
    std::size_t from = 0;
    while (from < comment.size()) {
        std::size_t end = comment.find(' ', from);
        if (end == std::string::npos) {
            end = comment.size();
        }
        const std::string word = comment.substr(from, end - from);
        if (!line.empty() && line.size() + 1 + word.size() > kCommentWidth - 3) {
            deck << "CM " << line << '\n';
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
        from = end + 1;
    }
    deck << "CM " << line << '\n';
}

void writeWireLoads(std::ostream& deck, const AntennaModel& model) {
    deck << "LD 5 0 0 0 " << num(kCopperConductivity) << '\n';
    if (model.insulation) {
        deck << "LD 2 0 0 0 0 "
             << num(insulationHenriesPerMetre(model.wireDiaIn, *model.insulation)) << " 0\n";
    }
}

double feedLengthM(const NecGeometry& geometry) {
    const NecWire& feed = geometry.wires.at(static_cast<std::size_t>(geometry.feed.tag - 1));
    return feed.toM - feed.fromM;
}

// How far each leg drops for each metre along it: sin of its slope.
double legDropPerMetre(const AntennaModel& model, double feedM) {
    if (!model.heightFt || !model.endHeightFt) {
        return 0;
    }
    const double leg = model.totalLengthFt * kMetresPerFoot / 2 - feedM / 2;
    const double drop = (*model.heightFt - *model.endHeightFt) * kMetresPerFoot;
    return leg > 0 ? std::clamp(drop / leg, 0.0, 1.0) : 0;
}

} // namespace

WirePoint wirePoint(const AntennaModel& model, double feedM, double alongM) {
    const double heightM = model.heightFt ? *model.heightFt * kMetresPerFoot : 0;
    const double beyondFeed = std::max(std::fabs(alongM) - feedM / 2, 0.0);
    if (beyondFeed == 0) {
        return {alongM, heightM};
    }
    const double sine = legDropPerMetre(model, feedM);
    const double cosine = std::sqrt(1 - sine * sine);
    return {std::copysign(feedM / 2 + beyondFeed * cosine, alongM), heightM - beyondFeed * sine};
}

double apexAngleDeg(const AntennaModel& model) {
    const double sine =
        model.endHeightFt ? legDropPerMetre(model, feedLengthM(buildGeometry(model))) : 0;
    return 180 - 2 * std::asin(sine) * 180 / std::numbers::pi;
}

namespace {

// The comment cards, the geometry, the ground and the loads; the coils' only
// where they are loads, and not where they are driven, nor where they are
// windings (written with each frequency).
void writeStructure(std::ostream& deck, const AntennaModel& model, const NecGeometry& geometry,
                    const std::vector<std::string>& comments, bool coilLoads) {
    for (const std::string& comment : comments) {
        writeCommentLines(deck, comment);
    }
    deck << "CE\n";

    const std::string radius = num(model.wireDiaIn / 2 * kMetresPerInch);
    const double feedM = feedLengthM(geometry);
    for (const NecWire& wire : geometry.wires) {
        const WirePoint from = wirePoint(model, feedM, wire.fromM);
        const WirePoint to = wirePoint(model, feedM, wire.toM);
        deck << "GW " << wire.tag << ' ' << wire.segments << ' ' << num(from.xM) << " 0 "
             << num(from.zM) << ' ' << num(to.xM) << " 0 " << num(to.zM) << ' ' << radius << '\n';
    }
    if (model.heightFt) {
        // Sommerfeld-Norton ground.
        deck << "GE 1\n"
             << "GN 2 0 0 0 " << num(model.ground.permittivity) << ' '
             << num(model.ground.conductivitySPerM) << '\n';
    } else {
        deck << "GE 0\n";
    }

    // Series RLC loads; NEC reads C = 0 as no capacitor. Loads on one segment
    // add in series, so the coils, the wire's conductivity and the
    // insulation's inductance per metre all apply together. With both coils on
    // the feed segment they are in series there.
    const double coilCount = geometry.coils.size() == 1 ? 2 : 1;
    const double share = coilCount / coilRunSegments(geometry);
    for (const NecSegmentRef& coil : geometry.coils) {
        if (coilLoads && !model.coilCircuit) {
            deck << "LD 0 " << coilSegments(geometry, coil) << ' ' << num(share * model.coilOhm)
                 << ' ' << num(share * model.coilUH * kHenriesPerMicrohenry) << " 0\n";
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
    const std::complex<double> coil =
        coilCount / coilRunSegments(geometry) * coilLoadOhm(model, freqMHz);
    for (const NecSegmentRef& segment : geometry.coils) {
        deck << "LD 4 " << coilSegments(geometry, segment) << ' ' << num(coil.real()) << ' '
             << num(coil.imag()) << '\n';
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
    if (geometry.coilRun != 0) {
        throw NecDeckError("each coil spans several segments: it has no one port");
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
