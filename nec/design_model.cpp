// Models and deck comments of designs.
#include "nec/design_model.h"

#include "calc/conversions.h"
#include "calc/units.h"

#include <cmath>
#include <optional>
#include <sstream>
#include <string>

namespace tarvix {

namespace {

constexpr double kTwoPi = 6.283185307179586;

// Lengths are in the user's units: "60 ft" or "18.288 m", "2 in" or "50.8 mm".
std::string antennaLength(double feet, Units units) {
    return numberText(antennaUnitFromFeet(feet, units)) + " " + antennaUnitName(units);
}

std::string coilSize(double inches, Units units) {
    return numberText(coilUnitFromInches(inches, units)) + " " + coilUnitName(units);
}

} // namespace

std::optional<std::string> gaugeName(const std::optional<GivenWire>& given, double swg) {
    if (!given) {
        return "SWG " + numberText(swg);
    }
    if (given->awg) {
        return "AWG " + std::to_string(*given->awg);
    }
    return std::nullopt;
}

double coilLossOhm(double freqMHz, double coilUH, double coilQ) {
    return kTwoPi * freqMHz * std::fabs(coilUH) / coilQ; // MHz times uH is ohms
}

AntennaModel designModel(const DesignRecord& record, double coilUH, const ModelOptions& options) {
    AntennaModel model;
    model.designFreqMHz = record.freqMHz;
    model.totalLengthFt = record.totalLengthFt;
    model.centreToCoilFt = record.centreToCoilFt;
    model.wireDiaIn = record.antennaWireDiaIn;
    model.coilUH = coilUH;
    model.coilOhm = coilLossOhm(record.freqMHz, coilUH, options.coilQ);
    model.heightFt = options.heightFt;
    model.endHeightFt = options.endHeightFt;
    model.ground = options.ground;
    model.insulation = options.insulation;
    model.uniformSegments = options.uniformSegments;
    return model;
}

AntennaModel windingModel(const DesignRecord& record, const CoilCircuit& circuit,
                          const ModelOptions& options) {
    const CoilAtFrequency atF = circuit.atFrequency(record.freqMHz);
    AntennaModel model = designModel(record, atF.inductanceUH, options);
    model.coilCircuit = circuit;
    model.coilLengthIn = circuit.winding().turns * circuit.winding().pitchIn;
    if (options.coilQGiven) {
        model.coilQ = options.coilQ;
    } else {
        model.coilOhm = atF.resistanceOhm;
    }
    return model;
}

std::vector<std::string> designComments(const DesignResult& design, const AntennaModel& model) {
    const DesignRecord& r = design.record;
    const Units units = design.inputs.units;
    const auto antennaGauge = gaugeName(design.inputs.antennaWire, r.antennaSwg);
    std::vector<std::string> lines{
        "Loaded dipole from tarvix-design " TARVIX_VERSION,
        "Design frequency " + numberText(r.freqMHz) + " MHz",
        "Total length A = " + antennaLength(model.totalLengthFt, units) +
            ", centre to coil B = " + antennaLength(model.centreToCoilFt, units),
        "Antenna wire " + (antennaGauge ? *antennaGauge + ", " : std::string()) +
            coilSize(r.antennaWireDiaIn, units) + " diameter, copper",
        "Loading coils " + fullPrecisionText(model.coilUH) + " uH each" +
            (model.coilUH == r.inductanceUH ? " (shown as " + design.inductanceDisplay + " uH)"
                                            : std::string()) +
            ", " + numberText(model.coilOhm) + " ohm loss resistance each",
    };
    if (design.windingDone && model.coilUH == r.inductanceUH) {
        const auto coilGauge = gaugeName(design.inputs.coilWire, r.coilSwg);
        lines.push_back("Each coil " + numberText(r.turnCount) + " turns of " +
                        (coilGauge ? *coilGauge : coilSize(r.coilWireDiaIn, units) + " wire") +
                        " on a " + coilSize(r.coilFormerDiaIn, units) + " former, " +
                        numberText(reportedCoilLength(r.revisedLengthIn, units)) + " " +
                        coilUnitName(units) + " long");
    }
    const NecGeometry geometry = buildGeometry(model);
    lines.push_back(std::to_string(geometry.totalSegments) + " segments in " +
                    std::to_string(geometry.wires.size()) +
                    (geometry.wires.size() == 1 ? " wire" : " wires") + "; the feed on segment " +
                    std::to_string(geometry.feed.segment) + " of wire " +
                    std::to_string(geometry.feed.tag) +
                    (geometry.coils.size() == 1
                         ? ", both coils there too"
                         : ", each coil " +
                               (geometry.coilRun == 0
                                    ? std::string("one segment")
                                    : std::to_string(2 * geometry.coilRun + 1) + " segments") +
                               " centred on +-B"));
    if (model.insulation) {
        lines.push_back("Insulated wire: " + coilSize(model.insulation->thicknessIn, units) +
                        " thick, relative permittivity " +
                        numberText(model.insulation->permittivity));
    } else {
        lines.push_back("Bare wire");
    }
    if (model.heightFt) {
        lines.push_back(antennaLength(*model.heightFt, units) + " over " +
                        groundText(model.ground) + " (permittivity " +
                        numberText(model.ground.permittivity) + ", conductivity " +
                        numberText(model.ground.conductivitySPerM) + " S/m)");
        if (model.endHeightFt) {
            lines.push_back("Inverted V: the tips at " + antennaLength(*model.endHeightFt, units) +
                            ", the legs " + fixedText(apexAngleDeg(model), 0) + " degrees apart");
        }
    } else {
        lines.push_back("Free space");
    }
    return lines;
}

std::string designDeck(const DesignResult& design, const ModelOptions& options) {
    if (design.record.inductanceUH < 0) {
        throw NecDeckError("a negative inductance is no coil and cannot be modelled");
    }
    const AntennaModel model = designModel(design.record, design.record.inductanceUH, options);
    std::ostringstream deck;
    writeNecDeck(deck, model, designComments(design, model), {designSweep(design.record.freqMHz)});
    return deck.str();
}

std::string builtDeck(const DesignResult& design, const ModelOptions& options,
                      const std::optional<CoilWinding>& winding, double correctedUH,
                      double correctedOhm) {
    AntennaModel model = winding ? windingModel(design.record, CoilCircuit(*winding), options)
                                 : designModel(design.record, correctedUH, options);
    if (!winding) {
        model.coilOhm = correctedOhm;
    }
    std::vector<std::string> comments = designComments(design, model);
    if (winding) {
        const Units units = design.inputs.units;
        comments.push_back("Each coil as wound: " + numberText(winding->turns) + " turns at a " +
                           coilSize(std::round(winding->pitchIn * 1e4) / 1e4, units) +
                           " pitch on a " + coilSize(winding->formerDiaIn, units) +
                           " former; its impedance across its terminals and its body's on "
                           "LD 4 at each frequency");
    }
    std::ostringstream deck;
    writeNecDeck(deck, model, comments, {designSweep(design.record.freqMHz)});
    return deck.str();
}

} // namespace tarvix
