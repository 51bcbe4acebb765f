// The page's entry points into the program: each takes a JSON text and
// answers one. The page's main thread asks for the lists, the notes beside
// the boxes and the calculator's events; its worker asks for simulations,
// whose solves it runs in its own nec2c (nec/browser_engine.h).
#include "calc/design_run.h"
#include "calc/feedline.h"
#include "calc/ground.h"
#include "calc/transmit_modes.h"
#include "calc/wire_gauge.h"
#include "check/check_inputs.h"
#include "check/wire_conversion.h"
#include "nec/browser_engine.h"
#include "nec/simulation_outcome.h"
#include "report/design_report.h"
#include "report/simulation_report.h"
#include "report/trim_report.h"
#include "web/check_texts_json.h"
#include "web/web_form.h"

#include <array>
#include <chrono>
#include <emscripten.h>
#include <exception>
#include <sstream>
#include <stdexcept>
#include <string>
#include <utility>

namespace tarvix {

namespace {

// The answer handed to the page, valid until the next call.
const char* answer(const Json& json) {
    static std::string text;
    text = json.dump();
    return text.c_str();
}

// A request the page should never send: a fault of the page's, said in the
// answer rather than stopping the module.
template <class Work> const char* answering(const char* request, Work&& work) {
    try {
        return answer(work(Json::parse(request)));
    } catch (const std::exception& error) {
        return answer({{"request_error", error.what()}});
    }
}

Json choicesJson() {
    Json grounds = Json::array();
    for (const GroundClass& ground : groundClasses()) {
        grounds.push_back(
            {{"name", std::string(ground.name)}, {"label", std::string(ground.description)}});
    }
    Json lines = Json::array();
    for (const FeedLineType& type : feedLineTypes()) {
        lines.push_back({{"name", std::string(type.name)}, {"label", std::string(type.name)}});
    }
    Json modes = Json::array();
    for (const TransmitMode& mode : transmitModes()) {
        modes.push_back({{"name", std::string(mode.name)},
                         {"label", std::string(mode.description)},
                         {"duty_percent", mode.dutyPercent}});
    }
    Json awg = Json::array();
    for (int gauge = kMinAwg; gauge <= kMaxAwg; ++gauge) {
        awg.push_back(std::to_string(gauge));
    }
    return {{"ground_classes", std::move(grounds)},
            {"feedline_types", std::move(lines)},
            {"modes", std::move(modes)},
            {"swg", swgGaugeTexts()},
            {"awg", std::move(awg)},
            {"formers",
             {{{"name", "pvc"}, {"label", "A PVC pipe"}},
              {{"name", "air"}, {"label", "Air (self-supporting)"}},
              {{"name", "rod"}, {"label", "A solid rod"}}}},
            {"default_insulation_in", kDefaultInsulationInText},
            {"insulation_hint", kInsulationHintText}};
}

// The sweeps the page plots: the formula's antenna and the corrected one.
Json sweepJson(const SimulatedAntenna& antenna) {
    Json points = Json::array();
    for (const SimulatedPoint& point : antenna.sweep) {
        points.push_back({{"freq_MHz", point.freqMHz},
                          {"r_ohm", point.resistanceOhm},
                          {"x_ohm", point.reactanceOhm},
                          {"swr", point.swr}});
    }
    return points;
}

// One simulation of the check page's inputs (the texts of checkTextsFromJson), as the check window
// makes it: the notes, then the design, the solves and the trim, and the reports.
Json simulationAnswer(const Json& json) {
    const CheckRequest request = readCheckInputs(checkTextsFromJson(json));
    Json result = notesJson(request);
    result["error"] = nullptr;
    if (request.stop) {
        return result;
    }
    const DesignResult design = runDesign(request.design);
    if (design.fault) {
        result["error"] = std::string(stageName(design.fault->stage)) + ": " + design.fault->text;
        return result;
    }
    // "time_limit_ms" beside the texts: every deck's limit, for tests.
    std::optional<std::chrono::milliseconds> timeLimit;
    if (const auto found = json.find("time_limit_ms"); found != json.end()) {
        timeLimit = std::chrono::milliseconds(found->get<long long>());
    }
    BrowserEngine engine(timeLimit);
    const SimulationOutcome outcome = runSimulation(design, request, engine);
    result["solves"] = engine.solveCount();
    if (!outcome.simulation) {
        result["error"] = outcome.failure ? outcome.failure->message : "the run was cancelled";
        std::ostringstream report;
        writeDesignText(report, design);
        result["report"] = report.str();
        return result;
    }
    const TrimResult* trim = outcome.trim ? &*outcome.trim : nullptr;
    std::ostringstream report;
    writeSimulatedReportText(report, design, request.options, *outcome.simulation, trim,
                             request.readings, "\"Over the ground\"");
    result["report"] = report.str();
    result["json_text"] = reportJsonText(design, request.options, &*outcome.simulation, trim);
    result["deck"] = simulatedDeck(design, request.options, *outcome.simulation);
    result["sweep"] = {{"formula", sweepJson(outcome.simulation->formula)},
                       {"corrected", sweepJson(outcome.simulation->corrected)}};
    result["trim_error"] = outcome.trimFailure ? Json(outcome.trimFailure->message) : Json(nullptr);
    return result;
}

// The lengths typed, written in the other units as the check window rewrites
// its boxes when its units change: {"texts" (in their own "units"), "to"};
// the answer is {"fields": {"TotalLength": "6.096", ...}}, each box that
// holds a number.
Json unitsConverted(const Json& request) {
    const CheckTexts typed = checkTextsFromJson(request.at("texts"));
    const Units to = unitsNamed(request.at("to").get<std::string>());
    Json fields = Json::object();
    const auto convert = [&](CheckField field, const std::string& text, bool antennaLength) {
        if (const auto converted =
                lengthInUnits(text, antennaLength, typed.units, to, typed.decimalSeparator)) {
            fields[fieldName(field)] = *converted;
        }
    };
    for (const LengthBox& box : kLengthBoxes) {
        convert(box.field, typed.*box.text, box.antennaLength);
    }
    for (const auto& [field, wire] : {std::pair{CheckField::AntennaWire, typed.antennaWire},
                                      std::pair{CheckField::CoilWire, typed.coilWire}}) {
        if (wire.by == WireBy::Diameter) {
            convert(field, wire.text, false);
        }
    }
    return {{"fields", std::move(fields)}};
}

// A wire's box given another way, as the check window switches it:
// {"texts" (the wire still given the old way), "wire": "antenna" or "coil",
// "to"}; the answer is {"result": "unchanged" (no wire), "converted" (with
// its "text"), "kept" (a diameter no gauge has) or "cleared"}.
Json wireConverted(const Json& request) {
    const CheckTexts typed = checkTextsFromJson(request.at("texts"));
    const bool antenna = request.at("wire").get<std::string>() == "antenna";
    const WireSwitch change = switchedWire(antenna ? typed.antennaWire : typed.coilWire,
                                           wireByNamed(request.at("to").get<std::string>()),
                                           antenna, typed.units, typed.decimalSeparator);
    constexpr std::array kResults{"unchanged", "converted", "kept", "cleared"};
    return {{"result", kResults.at(static_cast<std::size_t>(change.outcome))},
            {"text", change.text}};
}

WebForm& calculator() {
    static WebForm form;
    return form;
}

} // namespace

} // namespace tarvix

extern "C" {

EMSCRIPTEN_KEEPALIVE const char* tarvix_choices(const char* request) {
    return tarvix::answering(request, [](const tarvix::Json&) { return tarvix::choicesJson(); });
}

EMSCRIPTEN_KEEPALIVE const char* tarvix_check_notes(const char* request) {
    return tarvix::answering(request, [](const tarvix::Json& json) {
        return tarvix::notesJson(tarvix::readCheckInputs(tarvix::checkTextsFromJson(json)));
    });
}

EMSCRIPTEN_KEEPALIVE const char* tarvix_simulate(const char* request) {
    return tarvix::answering(
        request, [](const tarvix::Json& json) { return tarvix::simulationAnswer(json); });
}

EMSCRIPTEN_KEEPALIVE const char* tarvix_convert_units(const char* request) {
    return tarvix::answering(request, tarvix::unitsConverted);
}

EMSCRIPTEN_KEEPALIVE const char* tarvix_convert_wire(const char* request) {
    return tarvix::answering(request, tarvix::wireConverted);
}

EMSCRIPTEN_KEEPALIVE const char* tarvix_form_table(const char* request) {
    return tarvix::answering(request, [](const tarvix::Json&) { return tarvix::WebForm::table(); });
}

EMSCRIPTEN_KEEPALIVE const char* tarvix_form_event(const char* request) {
    return tarvix::answering(
        request, [](const tarvix::Json& json) { return tarvix::calculator().handle(json); });
}

} // extern "C"
