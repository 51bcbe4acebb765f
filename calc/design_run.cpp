// Runs the two calculations of one design and keeps everything they showed.
#include "calc/design_run.h"

#include "calc/char_conv.h"
#include "calc/checked.h"
#include "calc/conversions.h"
#include "calc/design_steps.h"
#include "calc/fault.h"
#include "calc/step_one_warnings.h"

#include <array>
#include <charconv>

namespace tarvix {

namespace {

// Keeps the texts the calculations write to the window's result boxes, and
// each winding pass.
class RecordingOutput : public KeptTexts {
public:
    void passDone(const DesignRecord& record) override {
        m_passes.push_back({record.turnCount, record.revisedLengthIn});
    }

    const std::vector<WindingPass>& passes() const { return m_passes; }

private:
    std::vector<WindingPass> m_passes;
};

// The lengths and distances of the inputs that are below zero. They are
// computed with all the same.
std::vector<std::string> inputWarnings(const DesignInputs& inputs) {
    std::vector<std::optional<std::string>> warnings{
        negativeLengthWarning(inputs.totalLengthFt, inputs.units),
        negativeDistanceWarning(inputs.centreToCoilFt, inputs.units)};
    if (inputs.winding) {
        const char* unit = coilUnitName(inputs.units);
        warnings.push_back(
            negativeWarning("the coil former diameter",
                            coilUnitFromInches(inputs.winding->formerDiaIn, inputs.units), unit));
        warnings.push_back(
            negativeWarning("the coil length",
                            coilUnitFromInches(inputs.winding->coilLengthIn, inputs.units), unit));
    }
    std::vector<std::string> texts;
    for (const auto& warning : warnings) {
        if (warning) {
            texts.push_back(*warning);
        }
    }
    return texts;
}

} // namespace

const char* stageName(Stage stage) {
    return stage == Stage::Inductance ? "inductance" : "winding";
}

std::string inductanceDisplayText(const std::string& inductanceText) {
    const double value = strictParse(inductanceText);
    return numberText(checked::div(Int(checked::mul(value, 10)), 10));
}

std::string fullPrecisionText(double value) {
    std::array<char, 32> buffer{};
    const auto result = toChars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

DesignResult runInductance(const DesignInputs& inputs) {
    DesignResult result;
    result.inputs = inputs;
    DesignRecord& record = result.record;
    record.freqMHz = inputs.freqMHz;
    record.totalLengthFt = inputs.totalLengthFt;
    record.centreToCoilFt = inputs.centreToCoilFt;
    RecordingOutput output;
    try {
        if (inputs.antennaWire) {
            computeInductance(record, WireDiameter{inputs.antennaWire->diameterIn}, output);
        } else {
            computeInductance(record, inputs.antennaSwgText, output);
        }
        result.inductanceDisplay = inductanceDisplayText(output.inductanceText);
        result.inductanceDone = true;
    } catch (const Fault& fault) {
        result.fault = StageFault{Stage::Inductance, fault.kind(), fault.what()};
    }
    return result;
}

std::vector<std::string> designWarnings(const DesignResult& result) {
    const DesignInputs& inputs = result.inputs;
    std::vector<std::string> warnings =
        stepOneWarnings(inputs.freqMHz, inputs.totalLengthFt, inputs.centreToCoilFt, inputs.units);
    for (auto& warning : inputWarnings(inputs)) {
        warnings.push_back(std::move(warning));
    }
    if (result.inductanceDone) {
        if (auto warning = negativeInductanceWarning(result.record.inductanceUH)) {
            warnings.push_back(std::move(*warning));
        }
    }
    return warnings;
}

DesignResult runDesign(const DesignInputs& inputs) {
    DesignResult result = runInductance(inputs);
    result.warnings = designWarnings(result);
    if (result.inductanceDone && inputs.winding) {
        runWinding(result, *inputs.winding);
    }
    return result;
}

void runWinding(DesignResult& result, const WindingInputs& winding) {
    DesignRecord& record = result.record;
    record.coilFormerDiaIn = winding.formerDiaIn;
    record.coilLengthIn = winding.coilLengthIn;
    RecordingOutput output;
    try {
        if (result.inputs.coilWire) {
            computeWinding(record, WireDiameter{result.inputs.coilWire->diameterIn}, output);
        } else {
            computeWinding(record, winding.coilSwgText, output);
        }
        result.windingDone = true;
        result.turnsText = output.turnsText;
    } catch (const Fault& fault) {
        result.fault = StageFault{Stage::Winding, fault.kind(), fault.what()};
    }
    result.passes = output.passes();
}

} // namespace tarvix
