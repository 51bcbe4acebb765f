// Reading the check window's boxes. The range warnings come from calc's
// step-one warnings and the model's bounds from nec/model_limits, so that the
// window says what tarvix-design says.
#include "check/check_inputs.h"

#include "calc/coil_model.h"
#include "calc/conversions.h"
#include "calc/fault.h"
#include "calc/number_parse.h"
#include "calc/step_one_warnings.h"
#include "calc/wire_gauge.h"
#include "nec/model_limits.h"

#include <algorithm>

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

CheckRequest readCheckInputs(const CheckTexts& texts) {
    CheckRequest request;
    Reader reader(texts.decimalSeparator, request.notes);
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

    ModelOptions& model = request.options.model;
    std::optional<double> height;
    if (texts.overGround) {
        height = reader.positive(CheckField::Height, texts.height, "the height over the ground");
        if (height) {
            model.heightFt = feetFromAntennaUnit(*height, units);
        }
    }
    if (texts.insulated) {
        const auto thickness = reader.positive(CheckField::Insulation, texts.insulation,
                                               "the thickness of the insulation");
        const auto permittivity = reader.number(CheckField::Permittivity, texts.permittivity,
                                                "the insulation's relative permittivity");
        if (permittivity && !(*permittivity >= 1)) {
            reader.stop(CheckField::Permittivity,
                        std::string("The permittivity ") + kBelowVacuumPermittivityText);
        }
        if (thickness && permittivity) {
            model.insulation = Insulation{inchesFromCoilUnit(*thickness, units), *permittivity};
        }
    }
    if (freq && distance && antennaWire) {
        // The model's own bounds, in the words tarvix-design uses for them.
        const auto problem =
            modelLimitProblem({design.centreToCoilFt, antennaWire->diameterIn, model.heightFt},
                              units == Units::Metric);
        if (problem) {
            switch (problem->input) {
            case ModelLimitProblem::Input::CoilDistance:
                reader.stop(CheckField::CentreToCoil, "This distance " + problem->why);
                break;
            case ModelLimitProblem::Input::WireDiameter:
                reader.stop(CheckField::AntennaWire, "The wire " + problem->why);
                break;
            case ModelLimitProblem::Input::Height:
                reader.stop(CheckField::Height, "This height " + problem->why);
                break;
            }
        }
    }

    CoilBuild build;
    const auto former =
        reader.positive(CheckField::FormerDia, texts.formerDia, "the diameter of the coil former");
    if (former) {
        build.formerDiaIn = inchesFromCoilUnit(*former, units);
    }
    const auto coilWire = reader.wire(CheckField::CoilWire, texts.coilWire, false, units);
    if (coilWire) {
        build.wireDiaIn = coilWire->diameterIn;
        build.wireName = coilWire->name;
        design.coilWire = coilWire->given;
    }
    if (!texts.closeWound) {
        const auto pitch =
            reader.positive(CheckField::Pitch, texts.pitch, "the pitch of the turns");
        if (pitch) {
            build.pitchIn = inchesFromCoilUnit(*pitch, units);
            if (coilWire && *build.pitchIn < enamelledDiameterIn(coilWire->diameterIn)) {
                reader.stop(CheckField::Pitch, std::string("The pitch ") + kPitchBelowEnamelText);
            }
        }
    }
    if (!trimmed(texts.coilLength).empty()) {
        const auto coilLength =
            reader.positive(CheckField::CoilLength, texts.coilLength, "the first coil length");
        if (coilLength && former) {
            design.winding =
                WindingInputs{build.formerDiaIn, inchesFromCoilUnit(*coilLength, units),
                              texts.coilWire.by == WireBy::Swg ? trimmed(texts.coilWire.text)
                                                               : std::string(kDefaultCoilSwgText)};
        }
    }
    build.former = texts.former;
    if (!trimmed(texts.givenTurns).empty()) {
        const auto turns =
            reader.positive(CheckField::GivenTurns, texts.givenTurns, "the turns already wound");
        if (turns && *turns > kMostTurns) {
            reader.stop(CheckField::GivenTurns,
                        "More than " + std::to_string(kMostTurns) + " turns");
        } else {
            request.options.givenTurns = turns;
        }
    }
    if (texts.qGiven) {
        const auto q = reader.positive(CheckField::Q, texts.q, "the Q of each coil");
        if (q) {
            model.coilQ = *q;
            model.coilQGiven = true;
        }
    }
    const auto z0 = reader.number(CheckField::Z0, texts.z0, "the feed line's impedance");
    if (z0) {
        if (!(*z0 >= kMinZ0Ohm && *z0 <= kMaxZ0Ohm)) {
            reader.stop(CheckField::Z0, "Not from " + numberText(kMinZ0Ohm) + " to " +
                                            numberText(kMaxZ0Ohm) + " ohm");
        } else {
            request.options.z0Ohm = *z0;
        }
    }
    request.options.build = build;

    const bool measured = !trimmed(texts.measured).empty();
    if (measured) {
        request.measuredMHz =
            reader.positive(CheckField::Measured, texts.measured, "the resonance measured");
    }
    if (!trimmed(texts.measuredSwr).empty()) {
        if (!measured) {
            reader.stop(CheckField::MeasuredSwr, kReadingNeedsResonanceText);
        } else if (const auto swr = reader.number(CheckField::MeasuredSwr, texts.measuredSwr,
                                                  "the SWR measured")) {
            if (*swr >= 1) {
                request.readings.swr = swr;
            } else {
                reader.stop(CheckField::MeasuredSwr, std::string("The SWR ") + kSwrBelowOneText);
            }
        }
    }
    if (!trimmed(texts.measuredR).empty()) {
        if (!measured) {
            reader.stop(CheckField::MeasuredR, kReadingNeedsResonanceText);
        } else {
            request.readings.resistanceOhm =
                reader.positive(CheckField::MeasuredR, texts.measuredR, "the resistance measured");
        }
    }

    for (const FieldNote& note : request.notes) {
        if (note.stopsRun) {
            request.stop = note;
            break;
        }
    }
    return request;
}

} // namespace tarvix
