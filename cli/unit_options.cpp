// Metric lengths and wires by AWG or diameter on the command line.
#include "cli/unit_options.h"

#include "calc/wire_gauge.h"
#include "cli/command_line.h"
#include "cli/usage_error.h"

#include <CLI/CLI.hpp>

namespace tarvix {

namespace {

constexpr const char* kMetricHelp =
    "A, B, --sweep-b, --height and --end-height in metres, coil and wire sizes in mm, in and out";

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

std::string awgRange() {
    return std::to_string(kMinAwg) + " to " + std::to_string(kMaxAwg);
}

} // namespace

// The wire named by one of the two options, if either was given.
std::optional<GivenWire> UnitOptions::givenWire(const WireOption& awg, const WireOption& diameter,
                                                Units units) {
    if (awg.option->count() > 0) {
        const double gauge = optionNumber(awg.option->get_name(), awg.text);
        const auto diameterIn = awgWireDiameter(gauge);
        if (!diameterIn) {
            throw UsageError(awg.option->get_name() + ": " + quoted(awg.text) + " " +
                             notAwgGaugeText());
        }
        return GivenWire{*diameterIn, static_cast<int>(gauge)};
    }
    if (diameter.option->count() > 0) {
        const double value = optionNumber(diameter.option->get_name(), diameter.text);
        if (!(value > 0)) {
            throw UsageError(diameter.option->get_name() + ": " + quoted(diameter.text) +
                             " is not above 0");
        }
        return GivenWire{inchesFromCoilUnit(value, units), std::nullopt};
    }
    return std::nullopt;
}

UnitOptions::UnitOptions(CLI::App& app) {
    app.add_flag("--metric", m_metric, kMetricHelp);
    m_antennaAwg.option = app.add_option("--antenna-awg", m_antennaAwg.text,
                                         "antenna wire by American Wire Gauge, " + awgRange())
                              ->option_text("N")
                              ->excludes("--antenna-swg");
    m_antennaWireDia.option = app.add_option("--antenna-wire-dia", m_antennaWireDia.text,
                                             "antenna wire by diameter (in, or mm with --metric)")
                                  ->option_text("D")
                                  ->excludes("--antenna-swg")
                                  ->excludes(m_antennaAwg.option);
    m_coilAwg.option = app.add_option("--coil-awg", m_coilAwg.text,
                                      "coil wire by American Wire Gauge, " + awgRange())
                           ->option_text("N")
                           ->excludes("--coil-swg")
                           ->needs("--former-dia");
    m_coilWireDia.option = app.add_option("--coil-wire-dia", m_coilWireDia.text,
                                          "coil wire by diameter (in, or mm with --metric)")
                               ->option_text("D")
                               ->excludes("--coil-swg")
                               ->excludes(m_coilAwg.option)
                               ->needs("--former-dia");
}

void UnitOptions::apply(Request& request) const {
    const Units units = m_metric ? Units::Metric : Units::FeetAndInches;
    DesignInputs& design = request.simulation.design;
    design.units = units;
    design.totalLengthFt = feetFromAntennaUnit(design.totalLengthFt, units);
    design.centreToCoilFt = feetFromAntennaUnit(design.centreToCoilFt, units);
    design.antennaWire = givenWire(m_antennaAwg, m_antennaWireDia, units);
    if (design.winding) {
        design.winding->formerDiaIn = inchesFromCoilUnit(design.winding->formerDiaIn, units);
        design.winding->coilLengthIn = inchesFromCoilUnit(design.winding->coilLengthIn, units);
    }
    if (design.winding || request.simulation.options.build) {
        design.coilWire = givenWire(m_coilAwg, m_coilWireDia, units);
    }
    if (request.simulation.options.build) {
        CoilBuild& build = *request.simulation.options.build;
        build.formerDiaIn = inchesFromCoilUnit(build.formerDiaIn, units);
        if (build.pitchIn) {
            build.pitchIn = inchesFromCoilUnit(*build.pitchIn, units);
        }
    }
    if (request.simulation.options.model.heightFt) {
        request.simulation.options.model.heightFt =
            feetFromAntennaUnit(*request.simulation.options.model.heightFt, units);
    }
    if (request.simulation.options.model.insulation) {
        request.simulation.options.model.insulation->thicknessIn =
            inchesFromCoilUnit(request.simulation.options.model.insulation->thicknessIn, units);
    }
}

} // namespace tarvix
