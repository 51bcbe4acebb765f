#include "web/check_texts_json.h"

#include <array>
#include <stdexcept>
#include <string_view>
#include <utility>

namespace tarvix {

namespace {

// The fields' names, in the order of CheckField.
constexpr std::array kFieldNames{"Freq",       "TotalLength", "CentreToCoil", "AntennaWire",
                                 "Height",     "EndHeight",   "Insulation",   "Permittivity",
                                 "FormerDia",  "CoilWire",    "Pitch",        "CoilLength",
                                 "GivenTurns", "Q",           "Z0",           "FeedLineLength",
                                 "Power",      "Measured",    "MeasuredSwr",  "MeasuredR"};
static_assert(kFieldNames.size() == static_cast<std::size_t>(CheckField::MeasuredR) + 1);

template <class Value> void take(const Json& json, const char* key, Value& value) {
    if (const auto found = json.find(key); found != json.end()) {
        value = found->get<Value>();
    }
}

// A name of the page's among the given ones, as their index.
template <std::size_t N>
int indexNamed(const std::array<std::string_view, N>& names, const std::string& name,
               const char* what) {
    for (std::size_t index = 0; index < N; ++index) {
        if (names[index] == name) {
            return static_cast<int>(index);
        }
    }
    throw std::invalid_argument(std::string(what) + ": no such choice: " + name);
}

// The choice named under the key, or the fallback where there is none.
template <std::size_t N>
int named(const Json& json, const char* key, const std::array<std::string_view, N>& names,
          int fallback) {
    const auto found = json.find(key);
    return found == json.end() ? fallback : indexNamed(names, found->get<std::string>(), key);
}

constexpr std::array<std::string_view, 3> kWireBy{"swg", "awg", "diameter"};
constexpr std::array<std::string_view, 2> kUnits{"imperial", "metric"};

WireText wireFromJson(const Json& json, WireText wire) {
    if (json.is_null()) {
        return wire;
    }
    wire.by = static_cast<WireBy>(named(json, "by", kWireBy, static_cast<int>(wire.by)));
    take(json, "text", wire.text);
    return wire;
}

Json noteJson(const FieldNote& note) {
    return {{"field", fieldName(note.field)}, {"text", note.text}, {"stops", note.stopsRun}};
}

} // namespace

WireBy wireByNamed(const std::string& name) {
    return static_cast<WireBy>(indexNamed(kWireBy, name, "by"));
}

Units unitsNamed(const std::string& name) {
    return static_cast<Units>(indexNamed(kUnits, name, "units"));
}

std::string fieldName(CheckField field) {
    return kFieldNames.at(static_cast<std::size_t>(field));
}

CheckTexts checkTextsFromJson(const Json& json) {
    CheckTexts texts;
    take(json, "freq", texts.freq);
    take(json, "totalLength", texts.totalLength);
    take(json, "centreToCoil", texts.centreToCoil);
    texts.antennaWire = wireFromJson(json.value("antennaWire", Json()), texts.antennaWire);
    take(json, "overGround", texts.overGround);
    take(json, "height", texts.height);
    take(json, "endHeight", texts.endHeight);
    take(json, "groundClass", texts.groundClass);
    take(json, "insulated", texts.insulated);
    take(json, "insulation", texts.insulation);
    take(json, "permittivity", texts.permittivity);
    take(json, "formerDia", texts.formerDia);
    constexpr std::array<std::string_view, 3> kFormers{"pvc", "air", "rod"};
    texts.former =
        static_cast<CoilFormer>(named(json, "former", kFormers, static_cast<int>(texts.former)));
    texts.coilWire = wireFromJson(json.value("coilWire", Json()), texts.coilWire);
    take(json, "closeWound", texts.closeWound);
    take(json, "pitch", texts.pitch);
    take(json, "coilLength", texts.coilLength);
    take(json, "givenTurns", texts.givenTurns);
    take(json, "qGiven", texts.qGiven);
    take(json, "q", texts.q);
    take(json, "z0", texts.z0);
    take(json, "feedLineType", texts.feedLineType);
    take(json, "feedLineLength", texts.feedLineLength);
    take(json, "power", texts.power);
    take(json, "mode", texts.mode);
    take(json, "measured", texts.measured);
    take(json, "measuredSwr", texts.measuredSwr);
    take(json, "measuredR", texts.measuredR);
    texts.units = static_cast<Units>(named(json, "units", kUnits, static_cast<int>(texts.units)));
    if (const auto found = json.find("decimalSeparator"); found != json.end()) {
        const std::string separator = found->get<std::string>();
        if (separator.size() != 1) {
            throw std::invalid_argument("decimalSeparator: one character");
        }
        texts.decimalSeparator = separator.front();
    }
    return texts;
}

Json notesJson(const CheckRequest& request) {
    Json notes = Json::array();
    for (const FieldNote& note : request.notes) {
        notes.push_back(noteJson(note));
    }
    return {{"notes", std::move(notes)}, {"stop", request.stop ? noteJson(*request.stop) : Json()}};
}

} // namespace tarvix
