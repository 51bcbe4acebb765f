// The "simulation" object of the JSON report, as a user's script reads it:
// every key the manual names is there with its type, named in the design's
// units, and its lengths converted to them. The simulation is made up here,
// with every part present: no engine runs.
#include "calc/feedline.h"
#include "calc/ground.h"
#include "calc/units.h"
#include "report/build_sheet.h"
#include "report/simulation_report.h"

#include <cmath>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace tarvix {
namespace {

enum class Kind { String, Integer, Number, Boolean, NumberOrNull };

bool hasKind(const Json& value, Kind kind) {
    switch (kind) {
    case Kind::String:
        return value.is_string();
    case Kind::Integer:
        return value.is_number_integer();
    case Kind::Number:
        return value.is_number();
    case Kind::Boolean:
        return value.is_boolean();
    case Kind::NumberOrNull:
        return value.is_number() || value.is_null();
    }
    return false;
}

SimulatedPoint point(double freqMHz, double rOhm, double xOhm, double swr) {
    return SimulatedPoint{freqMHz, rOhm, xOhm, swr};
}

SimulatedAntenna antenna(double coilUH, double resonanceMHz) {
    SimulatedAntenna a;
    a.coilUH = coilUH;
    a.coilOhm = 2.4;
    a.resonanceMHz = resonanceMHz;
    a.atF = point(7, 31.5, -12.25, 1.71);
    a.efficiencyPercent = 62.5;
    a.sweep = {point(5.6, 20, -300, 30), point(7, 31.5, -12.25, 1.71), point(8.4, 60, 250, 20)};
    a.solved = a.sweep;
    return a;
}

WoundCoil coil(double turns) {
    WoundCoil c;
    c.winding = CoilWinding{turns, 0.05, 1.5, 0.036, CoilFormer::pvcPipe};
    c.atF = CoilAtFrequency{4.3, 1.1, 170};
    c.lowFrequencyUH = 4.1;
    c.selfResonanceMHz = 48;
    c.selfCapacitancePF = 1.9;
    c.analyzerOhm = {1.2, 195};
    c.apparentUH = 4.45;
    return c;
}

WindingCheck check(double turns) {
    return WindingCheck{coil(turns), antenna(4.3, 7.38), false, turns + 0.75,
                        CoilStress{1.2, 800, 3, 0.6, 40.0, 12.0}};
}

// Over ground, insulated, wound, with a coil already wound: every object
// and every key of the manual's list is in the report.
SimulationOptions options() {
    SimulationOptions o;
    o.model.heightFt = 30;
    o.model.endHeightFt = 10;
    o.model.ground = *groundOfClass("poor");
    o.model.insulation = Insulation{0.02, 3.5};
    o.model.coilQ = 170;
    o.build = CoilBuild{1.5, 0.036, std::nullopt, "SWG 20", CoilFormer::pvcPipe};
    o.givenTurns = 11;
    o.feedLine = feedLineOfType(*feedLineTypeNamed("RG-213"), 66);
    return o;
}

SimulationResult result() {
    SimulationResult r;
    r.apexAngleDeg = 95;
    r.correctedStress = CoilStress{1.5, 700, 20, 4, 35.0, 18.0};
    r.segments = 61;
    r.formula = antenna(4.0, 7.21);
    r.corrected = antenna(4.6, 7.0);
    r.formulaCoilQ = 170;
    r.correctedCoilQ = 172;
    r.build = coil(12.5);
    r.windowWinding = check(12);
    r.givenWinding = check(11);
    r.tipChangeFt = -1.5;
    r.lossDb = 2.04;
    r.swr2Band = SwrBand{6.93, 7.08};
    AdvisedFormer larger;
    larger.formerDiaIn = 3;
    larger.coil = coil(7);
    larger.atF = point(7, 40, 0.5, 1.25);
    larger.efficiencyPercent = 71.5;
    larger.swr2Band = SwrBand{6.95, 7.05};
    r.advice = DesignAdvice{true, BandAtFrequency{"40 m", 7.0, 7.2}, larger};
    r.solves = 9;
    r.frequencies = 41;
    return r;
}

// A key and its type; "{in|mm}" names the part that follows the units, the
// imperial report's first.
struct KeyCase {
    std::string path;
    Kind kind;
};

std::string inUnits(const std::string& path, Units units) {
    const auto open = path.find('{');
    if (open == std::string::npos) {
        return path;
    }
    const auto bar = path.find('|', open);
    const auto close = path.find('}', bar);
    const std::string unit = units == Units::Metric ? path.substr(bar + 1, close - bar - 1)
                                                    : path.substr(open + 1, bar - open - 1);
    return path.substr(0, open) + unit + path.substr(close + 1);
}

const std::vector<KeyCase> kAntennaKeys = {
    {"inductance_uH", Kind::Number},     {"coil_loss_ohm", Kind::Number},
    {"resonance_MHz", Kind::Number},     {"impedance_ohm/r", Kind::Number},
    {"impedance_ohm/x", Kind::Number},   {"swr", Kind::Number},
    {"efficiency_percent", Kind::Number}};

const std::vector<KeyCase> kCheckKeys = {{"turns", Kind::Number},
                                         {"pitch_{in|mm}", Kind::Number},
                                         {"inductance_uH", Kind::Number},
                                         {"low_frequency_inductance_uH", Kind::Number},
                                         {"apparent_inductance_uH", Kind::Number},
                                         {"body_uH", Kind::Number},
                                         {"self_capacitance_pF", Kind::Number},
                                         {"q", Kind::Number},
                                         {"self_resonance_MHz", Kind::Number},
                                         {"analyzer/r_ohm", Kind::Number},
                                         {"analyzer/x_ohm", Kind::Number},
                                         {"resonance_MHz", Kind::Number},
                                         {"in_swr2_band", Kind::Boolean},
                                         {"turns_for_resonance", Kind::Number},
                                         {"power/coil_current_A", Kind::Number},
                                         {"power/coil_voltage_V", Kind::Number},
                                         {"power/coil_dissipation_W", Kind::Number},
                                         {"power/coil_average_W", Kind::Number},
                                         {"power/coil_temperature_rise_C", Kind::Number}};

std::vector<KeyCase> manualKeys() {
    std::vector<KeyCase> keys = {{"engine", Kind::String},
                                 {"segments", Kind::Integer},
                                 {"height_{ft|m}", Kind::Number},
                                 {"insulation_{in|mm}", Kind::Number},
                                 {"insulation_er", Kind::Number},
                                 {"coil_q", Kind::Number},
                                 {"coil_q_from", Kind::String},
                                 {"coil_former", Kind::String},
                                 {"z0_ohm", Kind::Number},
                                 // Without the window's winding inputs the corrected coil has no
                                 // turns or revised length of the window's: null, yet named.
                                 {"corrected/turns", Kind::NumberOrNull},
                                 {"corrected/revised_length_{in|mm}", Kind::NumberOrNull},
                                 {"tip_change_{ft|m}", Kind::Number},
                                 {"corrected/winding/turns", Kind::Number},
                                 {"corrected/winding/pitch_{in|mm}", Kind::Number},
                                 {"corrected/winding/length_{in|mm}", Kind::Number},
                                 {"corrected/winding/wire_length_{ft|m}", Kind::Number},
                                 {"corrected/winding/inductance_uH", Kind::Number},
                                 {"corrected/winding/low_frequency_inductance_uH", Kind::Number},
                                 {"corrected/winding/apparent_inductance_uH", Kind::Number},
                                 {"corrected/winding/body_uH", Kind::Number},
                                 {"corrected/winding/self_capacitance_pF", Kind::Number},
                                 {"corrected/winding/analyzer/r_ohm", Kind::Number},
                                 {"corrected/winding/analyzer/x_ohm", Kind::Number},
                                 {"corrected/winding/length_to_diameter", Kind::Number},
                                 {"corrected/winding/q", Kind::Number},
                                 {"corrected/winding/loss_ohm", Kind::Number},
                                 {"corrected/winding/self_resonance_MHz", Kind::Number},
                                 {"efficiency_percent", Kind::Number},
                                 {"loss_dB", Kind::Number},
                                 {"swr2_band_MHz/low", Kind::Number},
                                 {"swr2_band_MHz/high", Kind::Number},
                                 {"advice/low_efficiency", Kind::Boolean},
                                 {"advice/efficiency_below_percent", Kind::Number},
                                 {"advice/amateur_band/name", Kind::String},
                                 {"advice/amateur_band/low_MHz", Kind::Number},
                                 {"advice/amateur_band/high_MHz", Kind::Number},
                                 {"advice/larger_former/former_dia_{in|mm}", Kind::Number},
                                 {"advice/larger_former/turns", Kind::Integer},
                                 {"advice/larger_former/pitch_{in|mm}", Kind::Number},
                                 {"advice/larger_former/length_{in|mm}", Kind::Number},
                                 {"advice/larger_former/inductance_uH", Kind::Number},
                                 {"advice/larger_former/efficiency_percent", Kind::Number},
                                 {"advice/larger_former/swr", Kind::Number},
                                 {"advice/larger_former/swr2_band_MHz/low", Kind::Number},
                                 {"advice/larger_former/swr2_band_MHz/high", Kind::Number},
                                 {"feedline/type", Kind::String},
                                 {"feedline/length_{ft|m}", Kind::Number},
                                 {"feedline/z0_ohm", Kind::Number},
                                 {"feedline/velocity_factor", Kind::Number},
                                 {"feedline/loss_dB_per_100ft", Kind::Number},
                                 {"feedline/loss_dB", Kind::Number},
                                 {"feedline/loss_with_swr_dB", Kind::Number},
                                 {"at_rig/impedance_ohm/r", Kind::Number},
                                 {"at_rig/impedance_ohm/x", Kind::Number},
                                 {"at_rig/swr", Kind::Number},
                                 {"at_rig/swr2_band_MHz/0", Kind::Number},
                                 {"at_rig/swr2_band_MHz/1", Kind::Number},
                                 {"at_rig/loss_dB", Kind::Number},
                                 {"power/input_W", Kind::Number},
                                 {"power/mode", Kind::String},
                                 {"power/duty_percent", Kind::Number},
                                 {"power/coil_current_A", Kind::Number},
                                 {"power/coil_voltage_V", Kind::Number},
                                 {"power/coil_turn_voltage_V", Kind::Number},
                                 {"power/coil_dissipation_W", Kind::Number},
                                 {"power/coil_average_W", Kind::Number},
                                 {"power/coil_temperature_rise_C", Kind::Number},
                                 {"end_height_{ft|m}", Kind::Number},
                                 {"apex_angle_deg", Kind::Number},
                                 {"ground/class", Kind::String},
                                 {"ground/conductivity_S_per_m", Kind::Number},
                                 {"ground/permittivity", Kind::Number},
                                 {"solves", Kind::Integer},
                                 {"frequencies", Kind::Integer}};
    for (const char* object : {"formula", "corrected"}) {
        for (const KeyCase& key : kAntennaKeys) {
            keys.push_back({std::string(object) + "/" + key.path, key.kind});
        }
    }
    for (const char* object : {"window_winding", "given_winding"}) {
        for (const KeyCase& key : kCheckKeys) {
            keys.push_back({std::string(object) + "/" + key.path, key.kind});
        }
    }
    return keys;
}

class SimulationJsonKeys : public testing::TestWithParam<Units> {};

} // namespace

void PrintTo(Units units, std::ostream* out) {
    *out << (units == Units::Metric ? "metric" : "imperial");
}

namespace {

TEST_P(SimulationJsonKeys, EveryKeyOfTheManualIsThereWithItsTypeInTheReportsUnits) {
    const Units units = GetParam();
    const Units other = units == Units::Metric ? Units::FeetAndInches : Units::Metric;
    const Json json = simulationJson(options(), result(), units);
    for (const KeyCase& key : manualKeys()) {
        const Json::json_pointer path("/" + inUnits(key.path, units));
        SCOPED_TRACE(path.to_string());
        ASSERT_TRUE(json.contains(path));
        EXPECT_TRUE(hasKind(json.at(path), key.kind)) << json.at(path).dump();
        // The other units' name is not there beside it.
        if (inUnits(key.path, other) != inUnits(key.path, units)) {
            EXPECT_FALSE(json.contains(Json::json_pointer("/" + inUnits(key.path, other))));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Units, SimulationJsonKeys,
                         testing::Values(Units::FeetAndInches, Units::Metric),
                         [](const testing::TestParamInfo<Units>& info) {
                             return info.param == Units::Metric ? "Metric" : "Imperial";
                         });

// A length in the metric report is the imperial one converted: metres for
// the antenna's lengths, millimetres for the coil's.
struct LengthCase {
    const char* path;
    double metricPerImperial;
};

const LengthCase kLengths[] = {{"height_{ft|m}", 0.3048},
                               {"tip_change_{ft|m}", 0.3048},
                               {"feedline/length_{ft|m}", 0.3048},
                               {"insulation_{in|mm}", 25.4},
                               {"corrected/winding/pitch_{in|mm}", 25.4},
                               {"corrected/winding/length_{in|mm}", 25.4},
                               {"corrected/winding/wire_length_{ft|m}", 0.3048},
                               {"window_winding/pitch_{in|mm}", 25.4},
                               {"given_winding/pitch_{in|mm}", 25.4},
                               {"advice/larger_former/former_dia_{in|mm}", 25.4},
                               {"advice/larger_former/length_{in|mm}", 25.4}};

TEST(SimulationJsonLengths, MetricLengthsAreTheImperialOnesConverted) {
    const Json imperial = simulationJson(options(), result(), Units::FeetAndInches);
    const Json metric = simulationJson(options(), result(), Units::Metric);
    for (const LengthCase& length : kLengths) {
        SCOPED_TRACE(length.path);
        const double inImperial =
            imperial.at(Json::json_pointer("/" + inUnits(length.path, Units::FeetAndInches)));
        const double inMetric =
            metric.at(Json::json_pointer("/" + inUnits(length.path, Units::Metric)));
        EXPECT_NE(inImperial, 0);
        EXPECT_NEAR(inMetric, inImperial * length.metricPerImperial, std::fabs(inMetric) * 1e-12);
    }
}

// The build sheet's keys, in the design's units, and its lengths converted.
DesignResult design(Units units) {
    DesignResult d;
    d.inputs.units = units;
    d.record.freqMHz = 7;
    d.record.totalLengthFt = 60;
    d.record.centreToCoilFt = 20;
    return d;
}

const std::vector<KeyCase> kSheetKeys = {{"wires/feed_to_coil_{ft|m}", Kind::Number},
                                         {"wires/coil_to_tip_{ft|m}", Kind::Number},
                                         {"wires/allowance_{in|mm}", Kind::Number},
                                         {"coil/turns", Kind::Number},
                                         {"coil/length_{in|mm}", Kind::Number},
                                         {"coil/wire_length_{ft|m}", Kind::Number},
                                         {"expect/resonance_MHz", Kind::Number},
                                         {"expect/swr2_band_MHz/low", Kind::Number},
                                         {"expect/swr2_band_MHz/high", Kind::Number},
                                         {"expect/swr", Kind::Number},
                                         {"expect/efficiency_percent", Kind::Number},
                                         {"bench/r_ohm", Kind::Number},
                                         {"bench/x_ohm", Kind::Number},
                                         {"bench/at_MHz", Kind::Number}};

TEST(BuildSheetJson, EveryKeyInBothUnitsWithTheMetricLengthsConverted) {
    const Json imperial = buildSheetJson(design(Units::FeetAndInches), result());
    const Json metric = buildSheetJson(design(Units::Metric), result());
    for (const KeyCase& key : kSheetKeys) {
        SCOPED_TRACE(key.path);
        const Json::json_pointer inFeet("/" + inUnits(key.path, Units::FeetAndInches));
        const Json::json_pointer inMetres("/" + inUnits(key.path, Units::Metric));
        ASSERT_TRUE(imperial.contains(inFeet));
        ASSERT_TRUE(metric.contains(inMetres));
        EXPECT_TRUE(hasKind(imperial.at(inFeet), key.kind));
        const double a = imperial.at(inFeet);
        const double b = metric.at(inMetres);
        const double factor = key.path.find("{ft|m}") != std::string::npos    ? 0.3048
                              : key.path.find("{in|mm}") != std::string::npos ? 25.4
                                                                              : 1;
        EXPECT_NEAR(b, a * factor, std::fabs(b) * 1e-12);
    }
    // What the design was made from, in the same units.
    for (const char* key :
         {"freq_MHz", "total_length_{ft|m}", "centre_to_coil_{ft|m}", "former_dia_{in|mm}",
          "coil_wire", "coil_wire_dia_{in|mm}", "pitch_{in|mm}"}) {
        for (const Units units : {Units::FeetAndInches, Units::Metric}) {
            EXPECT_TRUE(simulatedInputsJson(design(units), options()).contains(inUnits(key, units)))
                << key;
        }
    }
    EXPECT_DOUBLE_EQ(simulatedInputsJson(design(Units::Metric), options())["total_length_m"],
                     60 * 0.3048);
    // The worked example's coil, 12.5 turns at 0.05 in: B to its centre.
    EXPECT_NEAR(imperial["wires"]["feed_to_coil_ft"].get<double>(),
                20 - 0.3125 / 12 + imperial["wires"]["allowance_in"].get<double>() / 12, 1e-12);
}

// A metric design is kept in feet and inches; what it was made from reads back
// as the user gave it, not with the conversion's last bits (12 m came back as
// 12.000000000000002).
TEST(SimulatedInputsJson, MetricInputsReadBackAsGiven) {
    struct Given {
        double totalM, coilM, formerMm, wireMm;
    };
    for (const Given& given :
         {Given{12, 3, 50, 0.9144}, Given{20.1, 7.3, 38.1, 1.626}, Given{4.7, 0.1, 110, 0.315}}) {
        DesignResult metric = design(Units::Metric);
        metric.record.totalLengthFt = feetFromMetres(given.totalM);
        metric.record.centreToCoilFt = feetFromMetres(given.coilM);
        SimulationOptions o = options();
        o.build->formerDiaIn = inchesFromMillimetres(given.formerMm);
        o.build->wireDiaIn = inchesFromMillimetres(given.wireMm);
        const Json inputs = simulatedInputsJson(metric, o);
        EXPECT_EQ(inputs["total_length_m"].get<double>(), given.totalM);
        EXPECT_EQ(inputs["centre_to_coil_m"].get<double>(), given.coilM);
        EXPECT_EQ(inputs["former_dia_mm"].get<double>(), given.formerMm);
        EXPECT_EQ(inputs["coil_wire_dia_mm"].get<double>(), given.wireMm);
    }
}

} // namespace
} // namespace tarvix
