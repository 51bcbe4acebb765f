// The simulation's input rules, once for both front ends.
#include "nec/simulation_request.h"

#include "calc/coil_winding.h"
#include "calc/conversions.h"
#include "calc/fault.h"
#include "calc/feedline.h"
#include "calc/number_parse.h"
#include "calc/number_text.h"
#include "calc/wire_gauge.h"
#include "nec/model_limits.h"
#include "nec/winding_search.h"

#include <algorithm>
#include <cmath>

namespace tarvix {

namespace {

// The antenna wire's bare diameter, or 0 where its gauge is not one of the
// table's (the model's bounds then refuse it as too thin).
double antennaWireDiaIn(const DesignInputs& design) {
    if (design.antennaWire) {
        return design.antennaWire->diameterIn;
    }
    try {
        return antennaWireDiameter(strictParse(design.antennaSwgText)).value_or(0);
    } catch (const Fault&) {
        return 0;
    }
}

class Problems {
public:
    void add(SimulationInput input, std::string why) {
        const bool said = std::any_of(m_problems.begin(), m_problems.end(),
                                      [input](const InputProblem& p) { return p.input == input; });
        if (!said) {
            m_problems.push_back({input, std::move(why)});
        }
    }
    void positive(SimulationInput input, const std::optional<double>& value) {
        if (value && !(*value > 0)) {
            add(input, kNotAboveZeroText);
        }
    }
    std::vector<InputProblem> take() { return std::move(m_problems); }

private:
    std::vector<InputProblem> m_problems;
};

SimulationInput inputOf(ModelLimitProblem::Input input) {
    switch (input) {
    case ModelLimitProblem::Input::CoilDistance:
        return SimulationInput::CoilDistance;
    case ModelLimitProblem::Input::WireDiameter:
        return SimulationInput::AntennaWire;
    case ModelLimitProblem::Input::Height:
        break;
    }
    return SimulationInput::Height;
}

std::string lengthText(double feet, Units units) {
    return units == Units::Metric ? numberText(metresFromFeet(feet)) + " m"
                                  : numberText(feet) + " ft";
}

// F, A and B as the design takes them, and whether the formula gives the
// antenna coils at all.
void checkDesign(const SimulationRequest& request, Problems& problems) {
    const DesignInputs& design = request.design;
    const bool freqRead = design.freqMHz >= kLowestFreqMHz && design.freqMHz <= kHighestFreqMHz;
    if (!freqRead) {
        problems.add(SimulationInput::Freq, "must be between " + numberText(kLowestFreqMHz) +
                                                " and " + numberText(kHighestFreqMHz) + " MHz");
    }
    if (!(design.totalLengthFt > 0)) {
        problems.add(SimulationInput::TotalLength, kNotAboveZeroText);
        return;
    }
    const double halfFt = design.totalLengthFt / 2;
    if (!(std::fabs(design.centreToCoilFt) < halfFt)) {
        problems.add(SimulationInput::CoilDistance,
                     "must be less than half of A (" + lengthText(halfFt, design.units) + ")");
        return;
    }
    if (!freqRead) {
        return;
    }
    DesignInputs stepOne = design;
    stepOne.winding.reset();
    const DesignResult formula = runDesign(stepOne);
    if (formula.inductanceDone && !(formula.record.inductanceUH > 0)) {
        problems.add(SimulationInput::TotalLength,
                     "is already a half wave at " + numberText(design.freqMHz) +
                         " MHz or longer: the antenna needs no coils");
    }
}

// An inverted V's tips: over the ground, below the feed point, within a leg's
// reach of it; and the ground's figures.
void checkHang(const SimulationRequest& request, Problems& problems) {
    const DesignInputs& design = request.design;
    const ModelOptions& model = request.options.model;
    if (model.endHeightFt) {
        const double tips = *model.endHeightFt;
        const double lowestFt = kMinHeightRadii * antennaWireDiaIn(design) / 2 / kInchesPerFoot;
        if (!model.heightFt) {
            problems.add(SimulationInput::EndHeight, kEndHeightNeedsHeightText);
        } else if (!(tips > 0)) {
            problems.add(SimulationInput::EndHeight, kNotAboveGroundText);
        } else if (!(tips > lowestFt)) {
            problems.add(SimulationInput::EndHeight,
                         "puts the tips in the ground for the NEC model (they must be above " +
                             numberText(kMinHeightRadii) + " wire radii)");
        } else if (tips > *model.heightFt) {
            problems.add(SimulationInput::EndHeight, kTipsAboveFeedText);
        } else if (*model.heightFt - tips >= design.totalLengthFt / 2) {
            problems.add(SimulationInput::EndHeight,
                         "is further below the feed point than a leg is long (" +
                             lengthText(design.totalLengthFt / 2, design.units) + ")");
        }
    }
    if (!(model.ground.conductivitySPerM > 0) || !std::isfinite(model.ground.conductivitySPerM)) {
        problems.add(SimulationInput::GroundConductivity, kNotAboveZeroText);
    }
    if (!(model.ground.permittivity >= 1) || !std::isfinite(model.ground.permittivity)) {
        problems.add(SimulationInput::GroundPermittivity, kBelowVacuumPermittivityText);
    }
}

void checkAntenna(const SimulationRequest& request, Problems& problems) {
    const DesignInputs& design = request.design;
    const ModelOptions& model = request.options.model;
    if (model.heightFt && !(*model.heightFt > 0)) {
        problems.add(SimulationInput::Height, kNotAboveGroundText);
    } else if (const auto limit = modelLimitProblem(
                   {design.centreToCoilFt, antennaWireDiaIn(design), model.heightFt},
                   design.units == Units::Metric)) {
        problems.add(inputOf(limit->input), limit->why);
    }
    checkHang(request, problems);
    if (model.insulation) {
        problems.positive(SimulationInput::Insulation, model.insulation->thicknessIn);
        if (!(model.insulation->permittivity >= 1)) {
            problems.add(SimulationInput::Permittivity, kBelowVacuumPermittivityText);
        }
    }
}

void checkCoil(const SimulationRequest& request, Problems& problems) {
    const SimulationOptions& options = request.options;
    if (options.build) {
        const CoilBuild& build = *options.build;
        // With the calculator's own winding asked for, a former of no size
        // is the design's fault at its winding step, as in the calculator.
        if (!request.design.winding) {
            problems.positive(SimulationInput::FormerDia, build.formerDiaIn);
        }
        if (build.pitchIn) {
            if (!(*build.pitchIn > 0)) {
                problems.add(SimulationInput::Pitch, kNotAboveZeroText);
            } else if (*build.pitchIn < enamelledDiameterIn(build.wireDiaIn)) {
                problems.add(SimulationInput::Pitch, kPitchBelowEnamelText);
            }
        }
    }
    if (options.givenTurns) {
        if (!(*options.givenTurns > 0)) {
            problems.add(SimulationInput::GivenTurns, kNotAboveZeroText);
        } else if (*options.givenTurns > kMostTurns) {
            problems.add(SimulationInput::GivenTurns,
                         "is more than " + std::to_string(kMostTurns) + " turns");
        }
    }
    if (options.model.coilQGiven) {
        problems.positive(SimulationInput::CoilQ, options.model.coilQ);
    }
    if (!(options.z0Ohm >= kMinZ0Ohm && options.z0Ohm <= kMaxZ0Ohm)) {
        problems.add(SimulationInput::Z0, "is not from " + numberText(kMinZ0Ohm) + " to " +
                                              numberText(kMaxZ0Ohm) + " ohm");
    }
    // A transmitter from a milliwatt to the legal limits and beyond.
    if (!(options.power.powerW > 0 && options.power.powerW <= kMostPowerW)) {
        problems.add(SimulationInput::Power,
                     "is not above 0 W and at most " + numberText(kMostPowerW) + " W");
    }
    if (!(options.power.dutyPercent > 0 && options.power.dutyPercent <= 100)) {
        problems.add(SimulationInput::Duty, "is not above 0 and at most 100 %");
    }
}

std::string dbText(double db) {
    return numberText(std::round(db * 10) / 10) + " dB";
}

// A line given by its figures: each in its range.
void checkLineFigures(const FeedLineFigures& figures, Problems& problems) {
    if (!(figures.z0Ohm >= kMinLineZ0Ohm && figures.z0Ohm <= kMaxLineZ0Ohm)) {
        problems.add(SimulationInput::FeedLineData,
                     "has an impedance of " + numberText(figures.z0Ohm) + " ohm, not from " +
                         numberText(kMinLineZ0Ohm) + " to " + numberText(kMaxLineZ0Ohm) + " ohm");
    } else if (!(figures.velocityFactor > 0 && figures.velocityFactor <= 1)) {
        problems.add(SimulationInput::FeedLineData, "has a velocity factor of " +
                                                        numberText(figures.velocityFactor) +
                                                        ": it must be above 0 and at most 1");
    } else if (!(figures.dbPer100Ft >= 0 && figures.dbPer100Ft <= kMostLineDbPer100Ft)) {
        problems.add(SimulationInput::FeedLineData,
                     "has a loss of " + numberText(figures.dbPer100Ft) +
                         " dB per 100 ft: it must be from 0 to " + numberText(kMostLineDbPer100Ft));
    }
}

void checkFeedLine(const SimulationRequest& request, Problems& problems) {
    if (!request.feedLine) {
        return;
    }
    const FeedLineInput& input = *request.feedLine;
    if (input.figures) {
        checkLineFigures(*input.figures, problems);
    } else if (!feedLineTypeNamed(input.typeName)) {
        problems.add(SimulationInput::FeedLine, "is not a type of line (" + feedLineTypeNames() +
                                                    "; or --feedline-data for another)");
    }
    if (!(input.lengthFt > 0)) {
        problems.add(SimulationInput::FeedLineLength, kNotAboveZeroText);
    }
}

// Readings at the rig through a line: one so lossy that they tell nothing of
// the antenna, or an SWR the line cannot give back.
void checkReadingsThroughLine(const SimulationRequest& request, Problems& problems) {
    const std::optional<FeedLine> line = requestedFeedLine(request);
    if (!line || !request.measuredMHz || !(*request.measuredMHz > 0) || !(line->lengthFt > 0)) {
        return;
    }
    const double lossDb = line->matchedLossDb(*request.measuredMHz);
    if (lossDb > kMostReadableLineLossDb) {
        problems.add(SimulationInput::Measured,
                     "was read at the rig through " + dbText(lossDb) + " of line: above " +
                         numberText(kMostReadableLineLossDb) +
                         " dB a reading there says nothing about the antenna");
        return;
    }
    const std::optional<double> swr = request.readings.swr;
    if (!swr || !(*swr >= 1)) {
        return;
    }
    const double z0 = request.options.z0Ohm;
    if (std::fabs(line->z0Ohm - z0) > 1e-9 * z0) {
        problems.add(SimulationInput::MeasuredSwr,
                     "was read on " + numberText(z0) + " ohm through a " + numberText(line->z0Ohm) +
                         "-ohm line: only on the line's own impedance does it tell the "
                         "antenna's (give --measured-r instead)");
    } else if (!readingsAtAntenna(*line, request.readings, *request.measuredMHz).swr) {
        problems.add(SimulationInput::MeasuredSwr,
                     "is more than the line lets back: through " + dbText(lossDb) +
                         " of loss the SWR at the rig stays below " +
                         fixedText(swrOfReflection(std::pow(10.0, -lossDb / 10)), 2));
    }
}

void checkMeasurement(const SimulationRequest& request, Problems& problems) {
    problems.positive(SimulationInput::Measured, request.measuredMHz);
    if (request.readings.swr && !(*request.readings.swr >= 1)) {
        problems.add(SimulationInput::MeasuredSwr, kSwrBelowOneText);
    }
    problems.positive(SimulationInput::MeasuredR, request.readings.resistanceOhm);
}

} // namespace

std::vector<InputProblem> simulationInputProblems(const SimulationRequest& request) {
    Problems problems;
    checkDesign(request, problems);
    checkAntenna(request, problems);
    checkCoil(request, problems);
    checkFeedLine(request, problems);
    checkMeasurement(request, problems);
    checkReadingsThroughLine(request, problems);
    return problems.take();
}

std::optional<FeedLine> requestedFeedLine(const SimulationRequest& request) {
    if (!request.feedLine) {
        return std::nullopt;
    }
    const FeedLineInput& input = *request.feedLine;
    if (input.figures) {
        return feedLineOfFigures(input.figures->z0Ohm, input.figures->velocityFactor,
                                 input.figures->dbPer100Ft, request.design.freqMHz, input.lengthFt);
    }
    const std::optional<FeedLineType> type = feedLineTypeNamed(input.typeName);
    if (!type) {
        return std::nullopt;
    }
    return feedLineOfType(*type, input.lengthFt);
}

AntennaReadings readingsAtAntenna(const FeedLine& line, const MeasuredReadings& readings,
                                  double measuredMHz) {
    AntennaReadings atAntenna;
    if (readings.swr && *readings.swr >= 1) {
        const double reflection =
            reflectionOfSwr(*readings.swr) * std::pow(10.0, line.matchedLossDb(measuredMHz) / 10);
        if (reflection < 1) {
            atAntenna.swr = swrOfReflection(reflection);
        }
    }
    if (readings.resistanceOhm) {
        atAntenna.impedanceOhm = lineLoadOhm(line, {*readings.resistanceOhm, 0}, measuredMHz);
    }
    return atAntenna;
}

} // namespace tarvix
