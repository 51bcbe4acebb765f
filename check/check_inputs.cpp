// Reading the check window's boxes: the range warnings from calc's step-one
// warnings, the rest from the simulation's rules, as tarvix-design says them.
#include "check/check_inputs.h"

#include "calc/coil_model.h"
#include "calc/conversions.h"
#include "calc/fault.h"
#include "calc/feedline.h"
#include "calc/ground.h"
#include "calc/number_parse.h"
#include "calc/step_one_warnings.h"
#include "calc/transmit_modes.h"
#include "calc/wire_gauge.h"
#include "nec/model_limits.h"
#include "nec/simulation_request.h"

#include <algorithm>
#include <tuple>

namespace tarvix {

namespace {

// An SWR or resistance typed without the resonance it was read at.
constexpr const char* kReadingNeedsResonanceText = "Type the resonance it was read at first";

// A box's text without the spaces and tabs around it.
std::string trimmed(const std::string& text) {
    return std::string(trim(text, " \t"));
}

// Collects the notes and the numbers of one reading.
class Reader {
public:
    Reader(char separator, std::vector<FieldNote>& notes)
        : m_separator(separator), m_notes(notes) {}

    void warn(CheckField field, const std::optional<std::string>& warning) {
        if (warning) {
            m_notes.push_back({field, *warning, false});
        }
    }
    void stop(CheckField field, const std::string& why) { m_notes.push_back({field, why, true}); }

    // A number typed in the box, or none with the reason noted.
    std::optional<double> number(CheckField field, const std::string& text,
                                 const std::string& what) {
        if (trimmed(text).empty()) {
            stop(field, "Type " + what);
            return std::nullopt;
        }
        const std::optional<double> value = readLocalNumber(text, m_separator);
        if (!value) {
            stop(field, "'" + text + "' " + kNotANumberText);
        }
        return value;
    }

    std::optional<double> positive(CheckField field, const std::string& text,
                                   const std::string& what) {
        std::optional<double> value = number(field, text, what);
        if (value && !(*value > 0)) {
            stop(field, std::string("The value ") + kNotAboveZeroText);
            return std::nullopt;
        }
        return value;
    }

    // A wire by gauge or diameter: its bare diameter and its name in the
    // report ("SWG 20", "AWG 18"; empty for a diameter).
    struct Wire {
        double diameterIn = 0;
        std::optional<GivenWire> given;
        std::string name;
    };
    std::optional<Wire> wire(CheckField field, const WireText& wire, bool antenna, Units units) {
        const std::optional<double> value = number(field, wire.text, "the wire");
        if (!value) {
            return std::nullopt;
        }
        switch (wire.by) {
        case WireBy::Swg: {
            const auto diameter = antenna ? antennaWireDiameter(*value) : coilWireDiameter(*value);
            if (!diameter) {
                stop(field, std::string("The gauge ") + kNotSwgGaugeText);
                return std::nullopt;
            }
            return Wire{*diameter, std::nullopt, "SWG " + trimmed(wire.text)};
        }
        case WireBy::Awg: {
            const auto diameter = awgWireDiameter(*value);
            if (!diameter) {
                stop(field, "The gauge " + notAwgGaugeText());
                return std::nullopt;
            }
            const int gauge = static_cast<int>(*value);
            return Wire{*diameter, GivenWire{*diameter, gauge}, "AWG " + std::to_string(gauge)};
        }
        case WireBy::Diameter:
            if (!(*value > 0)) {
                stop(field, std::string("The diameter ") + kNotAboveZeroText);
                return std::nullopt;
            }
            const double inches = inchesFromCoilUnit(*value, units);
            return Wire{inches, GivenWire{inches, std::nullopt}, ""};
        }
        return std::nullopt;
    }

private:
    char m_separator;
    std::vector<FieldNote>& m_notes;
};

} // namespace

std::optional<double> readLocalNumber(const std::string& text, char decimalSeparator) {
    std::string typed = trimmed(text);
    if (typed.empty()) {
        return std::nullopt;
    }
    if (decimalSeparator != '.') {
        std::replace(typed.begin(), typed.end(), decimalSeparator, '.');
    }
    try {
        return strictParse(typed);
    } catch (const Fault&) {
        return std::nullopt;
    }
}

namespace {

// Where each rule's input is typed, and the words that name it there.
struct RuleBox {
    CheckField field;
    const char* subject;
};

RuleBox ruleBox(SimulationInput input) {
    switch (input) {
    case SimulationInput::Freq:
        return {CheckField::Freq, "F"};
    case SimulationInput::TotalLength:
        return {CheckField::TotalLength, "A"};
    case SimulationInput::CoilDistance:
        return {CheckField::CentreToCoil, "This distance"};
    case SimulationInput::AntennaWire:
        return {CheckField::AntennaWire, "The wire"};
    case SimulationInput::EndHeight:
        return {CheckField::EndHeight, "The tips' height"};
    case SimulationInput::Height:
    case SimulationInput::GroundConductivity: // the window's grounds are classes
    case SimulationInput::GroundPermittivity:
        return {CheckField::Height, "This height"};
    case SimulationInput::Insulation:
        return {CheckField::Insulation, "The thickness"};
    case SimulationInput::Permittivity:
        return {CheckField::Permittivity, "The permittivity"};
    case SimulationInput::FormerDia:
        return {CheckField::FormerDia, "The diameter"};
    case SimulationInput::Pitch:
        return {CheckField::Pitch, "The pitch"};
    case SimulationInput::GivenTurns:
        return {CheckField::GivenTurns, "The value"};
    case SimulationInput::CoilQ:
        return {CheckField::Q, "The Q"};
    case SimulationInput::FeedLine:
    case SimulationInput::FeedLineLength:
        return {CheckField::FeedLineLength, "The line"};
    case SimulationInput::Power:
        return {CheckField::Power, "The power"};
    case SimulationInput::Duty: // the window's duties are its modes'
    case SimulationInput::Z0:
    case SimulationInput::FeedLineData: // the window's lines are types
        return {CheckField::Z0, "The impedance"};
    case SimulationInput::Measured:
        return {CheckField::Measured, "The resonance"};
    case SimulationInput::MeasuredSwr:
        return {CheckField::MeasuredSwr, "The SWR"};
    case SimulationInput::MeasuredR:
        break;
    }
    return {CheckField::MeasuredR, "The resistance"};
}

// F, A, B and the antenna wire, with the calculator's range warnings.
void readDesign(const CheckTexts& texts, Reader& reader, CheckRequest& request) {
    const Units units = texts.units;
    DesignInputs& design = request.design;
    design.units = units;
    const auto freq = reader.number(CheckField::Freq, texts.freq, "the design frequency");
    if (freq) {
        design.freqMHz = *freq;
        reader.warn(CheckField::Freq, frequencyWarning(*freq));
    }
    const auto length =
        reader.number(CheckField::TotalLength, texts.totalLength, "the total length A, tip to tip");
    if (length) {
        design.totalLengthFt = feetFromAntennaUnit(*length, units);
        reader.warn(CheckField::TotalLength, negativeLengthWarning(design.totalLengthFt, units));
        if (freq) {
            reader.warn(CheckField::TotalLength,
                        lengthLimitWarning(*freq, design.totalLengthFt, units));
        }
    }
    const auto distance = reader.number(CheckField::CentreToCoil, texts.centreToCoil,
                                        "the distance B from the feed point to each coil");
    if (distance) {
        design.centreToCoilFt = feetFromAntennaUnit(*distance, units);
        reader.warn(CheckField::CentreToCoil,
                    negativeDistanceWarning(design.centreToCoilFt, units));
        if (length) {
            reader.warn(
                CheckField::CentreToCoil,
                coilDistanceRatioWarning(design.totalLengthFt, design.centreToCoilFt, units));
            reader.warn(
                CheckField::CentreToCoil,
                coilDistanceLimitWarning(design.totalLengthFt, design.centreToCoilFt, units));
        }
    }
    const auto antennaWire = reader.wire(CheckField::AntennaWire, texts.antennaWire, true, units);
    if (antennaWire) {
        if (antennaWire->given) {
            design.antennaWire = antennaWire->given;
        } else {
            design.antennaSwgText = trimmed(texts.antennaWire.text);
        }
    }
}

// The heights, the ground and the insulation.
void readModel(const CheckTexts& texts, Reader& reader, CheckRequest& request) {
    ModelOptions& model = request.options.model;
    if (texts.overGround) {
        const auto height =
            reader.number(CheckField::Height, texts.height, "the height over the ground");
        if (height) {
            model.heightFt = feetFromAntennaUnit(*height, texts.units);
        }
        if (!trimmed(texts.endHeight).empty()) {
            const auto tips =
                reader.number(CheckField::EndHeight, texts.endHeight, "the tips' height");
            if (tips) {
                model.endHeightFt = feetFromAntennaUnit(*tips, texts.units);
            }
        }
        model.ground = groundOf(groundClasses()[std::min<std::size_t>(
            static_cast<std::size_t>(texts.groundClass), groundClasses().size() - 1)]);
    }
    if (texts.insulated) {
        const auto thickness = reader.number(CheckField::Insulation, texts.insulation,
                                             "the thickness of the insulation");
        const auto permittivity = reader.number(CheckField::Permittivity, texts.permittivity,
                                                "the insulation's relative permittivity");
        if (thickness && permittivity) {
            model.insulation =
                Insulation{inchesFromCoilUnit(*thickness, texts.units), *permittivity};
        }
    }
}

// The former, the coil wire, the pitch, the calculator's own winding and a
// coil already wound.
void readCoil(const CheckTexts& texts, Reader& reader, CheckRequest& request) {
    const Units units = texts.units;
    CoilBuild build;
    const auto former =
        reader.number(CheckField::FormerDia, texts.formerDia, "the diameter of the coil former");
    if (former) {
        build.formerDiaIn = inchesFromCoilUnit(*former, units);
    }
    const auto coilWire = reader.wire(CheckField::CoilWire, texts.coilWire, false, units);
    if (coilWire) {
        build.wireDiaIn = coilWire->diameterIn;
        build.wireName = coilWire->name;
        request.design.coilWire = coilWire->given;
    }
    if (!texts.closeWound) {
        const auto pitch = reader.number(CheckField::Pitch, texts.pitch, "the pitch of the turns");
        if (pitch) {
            build.pitchIn = inchesFromCoilUnit(*pitch, units);
        }
    }
    if (!trimmed(texts.coilLength).empty()) {
        const auto coilLength =
            reader.positive(CheckField::CoilLength, texts.coilLength, "the first coil length");
        if (coilLength && former) {
            request.design.winding =
                WindingInputs{build.formerDiaIn, inchesFromCoilUnit(*coilLength, units),
                              texts.coilWire.by == WireBy::Swg ? trimmed(texts.coilWire.text)
                                                               : std::string(kDefaultCoilSwgText)};
        }
    }
    build.former = texts.former;
    if (!trimmed(texts.givenTurns).empty()) {
        request.options.givenTurns =
            reader.number(CheckField::GivenTurns, texts.givenTurns, "the turns already wound");
    }
    request.options.build = build;
}

// The Q, the feed line, and what was measured on the antenna built.
void readLineAndMeasurement(const CheckTexts& texts, Reader& reader, CheckRequest& request) {
    if (texts.qGiven) {
        const auto q = reader.number(CheckField::Q, texts.q, "the Q of each coil");
        if (q) {
            request.options.model.coilQ = *q;
            request.options.model.coilQGiven = true;
        }
    }
    const auto z0 = reader.number(CheckField::Z0, texts.z0, "the feed line's impedance");
    if (z0) {
        request.options.z0Ohm = *z0;
    }
    if (const auto watts = reader.number(CheckField::Power, texts.power, "the power")) {
        request.options.power.powerW = *watts;
    }
    const TransmitMode mode = transmitModes()[std::min<std::size_t>(
        static_cast<std::size_t>(texts.mode), transmitModes().size() - 1)];
    request.options.power = {request.options.power.powerW, std::string(mode.name),
                             mode.dutyPercent};
    const auto types = feedLineTypes();
    if (texts.feedLineType > 0 && texts.feedLineType <= static_cast<int>(types.size())) {
        const auto length = reader.number(CheckField::FeedLineLength, texts.feedLineLength,
                                          "the feed line's length");
        request.feedLine =
            FeedLineInput{std::string(types[static_cast<std::size_t>(texts.feedLineType - 1)].name),
                          std::nullopt, length ? feetFromAntennaUnit(*length, texts.units) : 0};
    }
    const bool measured = !trimmed(texts.measured).empty();
    if (measured) {
        request.measuredMHz =
            reader.number(CheckField::Measured, texts.measured, "the resonance measured");
    }
    for (const auto& [field, text, what, value] :
         {std::tuple{CheckField::MeasuredSwr, texts.measuredSwr, "the SWR measured",
                     &request.readings.swr},
          std::tuple{CheckField::MeasuredR, texts.measuredR, "the resistance measured",
                     &request.readings.resistanceOhm}}) {
        if (trimmed(text).empty()) {
            continue;
        }
        if (!measured) {
            reader.stop(field, kReadingNeedsResonanceText);
        } else {
            *value = reader.number(field, text, what);
        }
    }
}

// The simulation's rules, on what could be read: a box that could not be
// read has said so already, and the model's bounds need B and the wire.
void applyRules(Reader& reader, CheckRequest& request) {
    const auto unread = [&](CheckField field) {
        return std::any_of(
            request.notes.begin(), request.notes.end(),
            [field](const FieldNote& note) { return note.stopsRun && note.field == field; });
    };
    const bool antennaRead = !unread(CheckField::CentreToCoil) && !unread(CheckField::AntennaWire);
    for (const InputProblem& problem : simulationInputProblems(request)) {
        const RuleBox box = ruleBox(problem.input);
        const bool modelBound = problem.input == SimulationInput::CoilDistance ||
                                problem.input == SimulationInput::AntennaWire ||
                                problem.input == SimulationInput::Height ||
                                problem.input == SimulationInput::EndHeight;
        if (!unread(box.field) && (antennaRead || !modelBound)) {
            reader.stop(box.field, std::string(box.subject) + " " + problem.why);
        }
    }
    // The notes in the order of the boxes, each box's as they came.
    std::stable_sort(request.notes.begin(), request.notes.end(),
                     [](const FieldNote& a, const FieldNote& b) { return a.field < b.field; });
}

} // namespace

CheckRequest readCheckInputs(const CheckTexts& texts) {
    CheckRequest request;
    Reader reader(texts.decimalSeparator, request.notes);
    readDesign(texts, reader, request);
    readModel(texts, reader, request);
    readCoil(texts, reader, request);
    readLineAndMeasurement(texts, reader, request);
    applyRules(reader, request);
    for (const FieldNote& note : request.notes) {
        if (note.stopsRun) {
            request.stop = note;
            break;
        }
    }
    if (!request.stop) {
        request.options.feedLine = requestedFeedLine(request);
    }
    return request;
}

} // namespace tarvix
