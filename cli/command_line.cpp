// Argument parsing. CLI11 takes every value as text; the numbers are read with
// the calculations' own strict parse so that "7,1" or "7x" is refused the
// same way a gauge list's text is.
#include "cli/command_line.h"

#include "calc/coil_model.h"
#include "calc/number_text.h"
#include "calc/wire_gauge.h"
#include "cli/option_errors.h"
#include "cli/unit_options.h"
#include "cli/usage_error.h"
#include "nec/model_limits.h"

#include <CLI/CLI.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace tarvix {

namespace {

// "(default 200)": the help names each default from the constant that is it.
std::string defaultText(std::string_view value) {
    return "(default " + std::string(value) + ")";
}

constexpr const char* kFooter =
    "Exit status: 0 done, 1 a file or standard output could not be written or nec2c failed,\n"
    "2 usage error, 3 the design faulted.\n"
    "Warnings (the window's range checks) go to standard error and never stop a design.";

} // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CLI::App app{"Designs the loading coils of a shortened (loaded) HF dipole.", "tarvix-design"};
    app.footer(kFooter);
    app.set_version_flag("--version", "tarvix-design " TARVIX_VERSION);

    std::string freq, length, distance, antennaSwg = kDefaultAntennaSwgText;
    std::string formerDia, coilLength, coilPitch, coilSwg = kDefaultCoilSwgText;
    std::string sweepB, necPath, height;

    app.add_option("--freq", freq, "design frequency F")->option_text("MHZ")->required();
    app.add_option("--length", length, "total length A, tip to tip")
        ->option_text("A_FT")
        ->required();
    auto* distanceOpt =
        app.add_option("--coil-distance", distance,
                       "distance B from the feed point to each coil (needed unless --sweep-b)")
            ->option_text("B_FT");
    app.add_option("--antenna-swg", antennaSwg,
                   "antenna wire gauge " + defaultText(kDefaultAntennaSwgText))
        ->option_text("N");
    auto* formerOpt =
        app.add_option("--former-dia", formerDia, "coil former diameter D")->option_text("D_IN");
    auto* coilLengthOpt =
        app.add_option("--coil-length", coilLength, "first guess of the coil length")
            ->option_text("LEN_IN");
    auto* coilPitchOpt =
        app.add_option("--coil-pitch", coilPitch,
                       "--simulate winds the corrected coil at this pitch (default: spread)")
            ->option_text("P_IN");
    std::string coilTurns, coilFormer = coilFormerName(CoilFormer::pvcPipe);
    auto* coilTurnsOpt =
        app.add_option("--coil-turns", coilTurns,
                       "--simulate checks a coil already wound with these turns, at --coil-pitch "
                       "or close-wound")
            ->option_text("N");
    auto* coilFormerOpt =
        app.add_option("--coil-former", coilFormer,
                       "what the coil is wound on: pvc (a pipe), air or rod (solid) (default pvc)")
            ->option_text("KIND")
            ->check(CLI::IsMember(
                std::vector<std::string>(kCoilFormerNames.begin(), kCoilFormerNames.end())));
    auto* coilSwgOpt =
        app.add_option("--coil-swg", coilSwg, "coil wire gauge " + defaultText(kDefaultCoilSwgText))
            ->option_text("N");
    bool json = false;
    bool csv = false;
    auto* jsonOpt = app.add_flag("--json", json, "one JSON object (or array for --sweep-b)");
    auto* sweepOpt =
        app.add_option("--sweep-b", sweepB, "inductance for each B from FROM to TO (ft)")
            ->option_text("FROM:TO:STEP");
    auto* csvOpt = app.add_flag("--csv", csv, "the sweep as CSV");
    auto* necOpt =
        app.add_option("--nec", necPath, "write a NEC-2 deck of the design ('-': stdout)")
            ->option_text("FILE");
    auto* heightOpt =
        app.add_option("--height", height, "put the NEC model this high over average ground")
            ->option_text("FT");
    std::string coilQ, z0, insulation, insulationEr, plotPath;
    bool simulate = false;
    auto* simulateOpt = app.add_flag(
        "--simulate", simulate,
        "solve the antenna in nec2c: resonance, corrected coil, feed point, SWR band, loss");
    auto* coilQOpt =
        app.add_option("--coil-q", coilQ,
                       "quality factor of each coil " + defaultText(numberText(kDefaultCoilQ)))
            ->option_text("Q");
    auto* z0Opt =
        app.add_option("--z0", z0,
                       "feed line impedance for the SWR " + defaultText(numberText(kDefaultZ0)))
            ->option_text("OHM");
    auto* insulationOpt = app.add_option("--insulation", insulation,
                                         "thickness of the wire's insulation (mm with --metric)")
                              ->option_text("T_IN");
    auto* insulationErOpt =
        app.add_option("--insulation-er", insulationEr,
                       "relative permittivity of the insulation (default " +
                           numberText(kDefaultInsulationPermittivity) + ", PVC)")
            ->option_text("E");
    auto* plotOpt =
        app.add_option("--plot", plotPath, "draw SWR and reactance of --simulate (SVG or .png)")
            ->option_text("FILE");

    std::string measured, measuredSwr, measuredR;
    auto* measuredOpt =
        app.add_option("--measured", measured,
                       "the resonance measured on the antenna built: what to change")
            ->option_text("MHZ");
    auto* measuredSwrOpt =
        app.add_option("--measured-swr", measuredSwr, "the SWR measured there")->option_text("S");
    auto* measuredROpt = app.add_option("--measured-r", measuredR, "the resistance measured there")
                             ->option_text("OHM");

    coilLengthOpt->needs(formerOpt);
    coilPitchOpt->needs(formerOpt)->needs(simulateOpt);
    coilTurnsOpt->needs(formerOpt)->needs(simulateOpt);
    coilFormerOpt->needs(formerOpt);
    measuredOpt->needs(formerOpt)->needs(simulateOpt);
    measuredSwrOpt->needs(measuredOpt);
    measuredROpt->needs(measuredOpt);
    coilSwgOpt->needs(formerOpt);
    sweepOpt->excludes(distanceOpt)->excludes(formerOpt)->excludes(necOpt);
    csvOpt->needs(sweepOpt)->excludes(jsonOpt);
    sweepOpt->excludes(simulateOpt);
    z0Opt->needs(simulateOpt);
    plotOpt->needs(simulateOpt);
    insulationErOpt->needs(insulationOpt);
    for (CLI::Option* modelOption : {heightOpt, coilQOpt, insulationOpt}) {
        modelOption->excludes(sweepOpt);
    }

    const UnitOptions unitOptions(app);

    CommandLine result;
    try {
        app.parse(argc, argv);
        rejectOptionsTakenAsValues(app);
        Request& request = result.request;
        if (distanceOpt->count() == 0 && sweepOpt->count() == 0) {
            throw UsageError("--coil-distance is required (or --sweep-b for a table)");
        }
        request.design.freqMHz = optionNumber("--freq", freq);
        request.design.totalLengthFt = optionNumber("--length", length);
        if (distanceOpt->count() > 0) {
            request.design.centreToCoilFt = optionNumber("--coil-distance", distance);
        }
        // The gauges go to the calculations as text, as the window passes its
        // lists' text; a value that is no gauge is refused here already.
        optionGauge("--antenna-swg", antennaSwg);
        request.design.antennaSwgText = antennaSwg;
        double coilGauge = 0;
        if (formerOpt->count() > 0) {
            coilGauge = optionGauge("--coil-swg", coilSwg);
            if (coilLengthOpt->count() > 0) {
                request.design.winding =
                    WindingInputs{optionNumber("--former-dia", formerDia),
                                  optionNumber("--coil-length", coilLength), coilSwg};
            } else if (!simulate) {
                throw UsageError("--former-dia needs --coil-length (or --simulate, which winds "
                                 "the corrected coil)");
            }
            if (simulate) {
                CoilBuild build;
                // With the window's winding a former of no size faults there,
                // as in the window; without it there is nothing to wind on.
                build.formerDiaIn = coilLengthOpt->count() > 0
                                        ? optionNumber("--former-dia", formerDia)
                                        : positiveOptionNumber("--former-dia", formerDia);
                if (coilPitchOpt->count() > 0) {
                    build.pitchIn = positiveOptionNumber("--coil-pitch", coilPitch);
                }
                build.former = coilFormerNamed(coilFormer).value_or(CoilFormer::pvcPipe);
                if (coilTurnsOpt->count() > 0) {
                    request.coilTurns = positiveOptionNumber("--coil-turns", coilTurns);
                    if (*request.coilTurns > kMostTurns) {
                        throw UsageError("--coil-turns: '" + coilTurns + "' is more than " +
                                         std::to_string(kMostTurns) + " turns");
                    }
                }
                request.coilBuild = build;
            }
        }
        if (sweepOpt->count() > 0) {
            request.sweep = parseSweepRange(sweepB);
        }
        if (necOpt->count() > 0) {
            if (necPath.empty()) {
                throw UsageError("--nec: the file name is empty");
            }
            if (necPath == "-" && json) {
                throw UsageError("--nec - and --json both write to standard output");
            }
            request.necPath = necPath;
        }
        if (heightOpt->count() > 0) {
            request.model.heightFt = optionNumber("--height", height);
            if (!(*request.model.heightFt > 0)) {
                throw optionValueError("--height", height, kNotAboveGroundText);
            }
        }
        request.simulate = simulate;
        if (coilQOpt->count() > 0) {
            request.model.coilQ = positiveOptionNumber("--coil-q", coilQ);
            request.model.coilQGiven = true;
        }
        if (z0Opt->count() > 0) {
            request.z0Ohm = boundedOptionNumber("--z0", z0, kMinZ0Ohm, kMaxZ0Ohm, "ohm");
        }
        if (insulationOpt->count() > 0) {
            Insulation wireInsulation{positiveOptionNumber("--insulation", insulation),
                                      kDefaultInsulationPermittivity};
            if (insulationErOpt->count() > 0) {
                wireInsulation.permittivity = optionNumber("--insulation-er", insulationEr);
                if (!(wireInsulation.permittivity >= 1)) {
                    throw optionValueError("--insulation-er", insulationEr,
                                           kBelowVacuumPermittivityText);
                }
            }
            request.model.insulation = wireInsulation;
        }
        if (measuredOpt->count() > 0) {
            request.measuredMHz = positiveOptionNumber("--measured", measured);
            if (measuredSwrOpt->count() > 0) {
                request.measuredReadings.swr = optionNumber("--measured-swr", measuredSwr);
                if (!(*request.measuredReadings.swr >= 1)) {
                    throw UsageError("--measured-swr: '" + measuredSwr + "' " + kSwrBelowOneText);
                }
            }
            if (measuredROpt->count() > 0) {
                request.measuredReadings.resistanceOhm =
                    positiveOptionNumber("--measured-r", measuredR);
            }
        }
        if (plotOpt->count() > 0) {
            if (plotPath.empty()) {
                throw UsageError("--plot: the file name is empty");
            }
            request.plotPath = plotPath;
        }
        for (const CLI::Option* modelOption : {heightOpt, coilQOpt, insulationOpt}) {
            if (modelOption->count() > 0 && necOpt->count() == 0 && !simulate) {
                throw UsageError(modelOption->get_name() + " needs --nec or --simulate");
            }
        }
        if (simulate && necPath == "-") {
            throw UsageError("--nec - and --simulate both write to standard output");
        }
        request.format = json ? OutputFormat::Json : csv ? OutputFormat::Csv : OutputFormat::Text;
        unitOptions.apply(request);
        if (request.coilBuild) {
            CoilBuild& build = *request.coilBuild;
            const std::optional<GivenWire>& wire = request.design.coilWire;
            build.wireDiaIn = wire ? wire->diameterIn : coilWireDiameter(coilGauge).value();
            build.wireName = gaugeName(wire, coilGauge).value_or("");
            if (build.pitchIn && *build.pitchIn < enamelledDiameterIn(build.wireDiaIn)) {
                throw UsageError("--coil-pitch: '" + coilPitch + "' " + kPitchBelowEnamelText);
            }
        }
        if (necOpt->count() > 0 || simulate) {
            rejectUnmodellableInputs(request, distance, height);
        }
        rejectSharedOutputs(request);
    } catch (const CLI::CallForHelp&) {
        result.action = CommandLine::Action::ShowHelp;
        result.text = app.help();
    } catch (const CLI::CallForVersion& version) {
        result.action = CommandLine::Action::ShowVersion;
        result.text = std::string(version.what()) + "\n";
    } catch (const CLI::ParseError& error) {
        result.action = CommandLine::Action::UsageError;
        result.text = parseErrorText(app, error);
    } catch (const UsageError& error) {
        result.action = CommandLine::Action::UsageError;
        result.text = error.what();
    }
    return result;
}

} // namespace tarvix
