// Models and deck comments of designs.
#include "nec/design_model.h"

#include "calc/conversions.h"

#include <cmath>
#include <string>

namespace tarvix {

namespace {

constexpr double kTwoPi = 6.283185307179586;

std::string num(double value) {
    return numberText(value);
}

} // namespace

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
    model.insulation = options.insulation;
    model.refinement = options.refinement;
    return model;
}

std::vector<std::string> designComments(const DesignResult& design, const AntennaModel& model) {
    const DesignRecord& r = design.record;
    std::vector<std::string> lines{
        "Loaded dipole from tarvix-design " TARVIX_VERSION,
        "Design frequency " + num(r.freqMHz) + " MHz",
        "Total length A = " + num(model.totalLengthFt) +
            " ft, centre to coil B = " + num(model.centreToCoilFt) + " ft",
        "Antenna wire SWG " + num(r.antennaSwg) + ", " + num(r.antennaWireDiaIn) +
            " in diameter, copper",
        "Loading coils " + fullPrecisionText(model.coilUH) + " uH each" +
            (model.coilUH == r.inductanceUH ? " (shown as " + design.inductanceDisplay + " uH)"
                                            : std::string()) +
            ", " + num(model.coilOhm) + " ohm loss resistance each",
    };
    if (design.windingDone && model.coilUH == r.inductanceUH) {
        lines.push_back("Each coil " + num(r.turnCount) + " turns of SWG " + num(r.coilSwg) +
                        " on a " + num(r.coilFormerDiaIn) + " in former, " +
                        num(r.revisedLengthIn) + " in long");
    }
    const NecGeometry geometry = buildGeometry(model);
    lines.push_back(std::to_string(geometry.totalSegments) + " segments in " +
                    std::to_string(geometry.wires.size()) +
                    (geometry.wires.size() == 1 ? " wire" : " wires") + "; the feed on segment " +
                    std::to_string(geometry.feed.segment) + " of wire " +
                    std::to_string(geometry.feed.tag) +
                    (geometry.coils.size() == 1 ? ", both coils there too"
                                                : ", each coil one segment centred on +-B"));
    if (model.insulation) {
        lines.push_back("Insulated wire: " + num(model.insulation->thicknessIn) +
                        " in thick, relative permittivity " + num(model.insulation->permittivity));
    } else {
        lines.push_back("Bare wire");
    }
    if (model.heightFt) {
        lines.push_back(num(*model.heightFt) + " ft over average ground (permittivity " +
                        num(kGroundPermittivity) + ", conductivity " + num(kGroundConductivity) +
                        " S/m)");
    } else {
        lines.push_back("Free space");
    }
    return lines;
}

} // namespace tarvix
