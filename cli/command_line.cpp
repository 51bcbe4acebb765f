// Argument parsing. CLI11 takes every value as text; the numbers are read with
// the calculations' own strict parse so that "7,1" or "7x" is refused the
// same way a gauge list's text is.
#include "cli/command_line.h"

#include "calc/coil_model.h"
#include "calc/number_text.h"
#include "calc/wire_gauge.h"
#include "cli/feedline_options.h"
#include "cli/hang_options.h"
#include "cli/option_errors.h"
#include "cli/plot_loader.h"
#include "cli/power_options.h"
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

// Every option's text as typed, and the options the relations and the
// reading look at. CLI11 takes every value as text; the numbers are read after
// the parse.
struct Options {
    std::string freq, length, distance, antennaSwg = kDefaultAntennaSwgText;
    std::string formerDia, coilLength, coilPitch, coilSwg = kDefaultCoilSwgText;
    std::string coilTurns, coilFormer = coilFormerName(CoilFormer::pvcPipe);
    std::string sweepB, necPath, height;
    std::string coilQ, z0, insulation, insulationEr, plotPath, sheetPath;
    std::string measured, measuredSwr, measuredR;
    bool json = false;
    bool csv = false;
    bool simulate = false;

    CLI::Option* distanceOpt = nullptr;
    CLI::Option* formerOpt = nullptr;
    CLI::Option* coilLengthOpt = nullptr;
    CLI::Option* coilPitchOpt = nullptr;
    CLI::Option* coilTurnsOpt = nullptr;
    CLI::Option* coilFormerOpt = nullptr;
    CLI::Option* coilSwgOpt = nullptr;
    CLI::Option* jsonOpt = nullptr;
    CLI::Option* sweepOpt = nullptr;
    CLI::Option* csvOpt = nullptr;
    CLI::Option* necOpt = nullptr;
    CLI::Option* heightOpt = nullptr;
    CLI::Option* simulateOpt = nullptr;
    CLI::Option* coilQOpt = nullptr;
    CLI::Option* z0Opt = nullptr;
    CLI::Option* insulationOpt = nullptr;
    CLI::Option* insulationErOpt = nullptr;
    CLI::Option* plotOpt = nullptr;
    CLI::Option* sheetOpt = nullptr;
    CLI::Option* measuredOpt = nullptr;
    CLI::Option* measuredSwrOpt = nullptr;
    CLI::Option* measuredROpt = nullptr;

    bool given(const CLI::Option* option) const { return option->count() > 0; }
};

void addDesignOptions(CLI::App& app, Options& o) {
    app.add_option("--freq", o.freq, "design frequency F")->option_text("MHZ")->required();
    app.add_option("--length", o.length, "total length A, tip to tip")
        ->option_text("A_FT")
        ->required();
    o.distanceOpt =
        app.add_option("--coil-distance", o.distance,
                       "distance B from the feed point to each coil (needed unless --sweep-b)")
            ->option_text("B_FT");
    app.add_option("--antenna-swg", o.antennaSwg,
                   "antenna wire gauge " + defaultText(kDefaultAntennaSwgText))
        ->option_text("N");
    o.formerOpt =
        app.add_option("--former-dia", o.formerDia, "coil former diameter D")->option_text("D_IN");
    o.coilLengthOpt =
        app.add_option("--coil-length", o.coilLength, "first guess of the coil length")
            ->option_text("LEN_IN");
    o.coilPitchOpt =
        app.add_option("--coil-pitch", o.coilPitch,
                       "--simulate winds the corrected coil at this pitch (default: spread)")
            ->option_text("P_IN");
    o.coilTurnsOpt =
        app.add_option("--coil-turns", o.coilTurns,
                       "--simulate checks a coil already wound with these turns, at --coil-pitch "
                       "or close-wound")
            ->option_text("N");
    o.coilFormerOpt =
        app.add_option("--coil-former", o.coilFormer,
                       "what the coil is wound on: pvc (a pipe), air or rod (solid) (default pvc)")
            ->option_text("KIND")
            ->check(CLI::IsMember(
                std::vector<std::string>(kCoilFormerNames.begin(), kCoilFormerNames.end())));
    o.coilSwgOpt = app.add_option("--coil-swg", o.coilSwg,
                                  "coil wire gauge " + defaultText(kDefaultCoilSwgText))
                       ->option_text("N");
    o.jsonOpt = app.add_flag("--json", o.json, "one JSON object (or array for --sweep-b)");
    o.sweepOpt = app.add_option("--sweep-b", o.sweepB, "inductance for each B from FROM to TO (ft)")
                     ->option_text("FROM:TO:STEP");
    o.csvOpt = app.add_flag("--csv", o.csv, "the sweep as CSV");
}

void addModelOptions(CLI::App& app, Options& o) {
    o.necOpt = app.add_option("--nec", o.necPath, "write a NEC-2 deck of the design ('-': stdout)")
                   ->option_text("FILE");
    o.heightOpt = app.add_option("--height", o.height,
                                 "put the NEC model's feed point this high over the ground")
                      ->option_text("FT");
    o.simulateOpt = app.add_flag(
        "--simulate", o.simulate,
        "solve the antenna in nec2c: resonance, corrected coil, feed point, SWR band, loss");
    o.coilQOpt =
        app.add_option("--coil-q", o.coilQ,
                       "quality factor of each coil " + defaultText(numberText(kDefaultCoilQ)))
            ->option_text("Q");
    o.z0Opt =
        app.add_option("--z0", o.z0,
                       "feed line impedance for the SWR " + defaultText(numberText(kDefaultZ0)))
            ->option_text("OHM");
    o.insulationOpt = app.add_option("--insulation", o.insulation,
                                     "thickness of the wire's insulation (mm with --metric)")
                          ->option_text("T_IN");
    o.insulationErOpt = app.add_option("--insulation-er", o.insulationEr,
                                       "relative permittivity of the insulation (default " +
                                           numberText(kDefaultInsulationPermittivity) + ", PVC)")
                            ->option_text("E");
    o.plotOpt =
        app.add_option("--plot", o.plotPath, "draw SWR and reactance of --simulate (SVG or .png)")
            ->option_text("FILE");
    o.sheetOpt = app.add_option("--sheet", o.sheetPath,
                                "a printable build sheet of --simulate's winding (.pdf or .svg)")
                     ->option_text("FILE");
    o.measuredOpt = app.add_option("--measured", o.measured,
                                   "the resonance measured on the antenna built: what to change")
                        ->option_text("MHZ");
    o.measuredSwrOpt =
        app.add_option("--measured-swr", o.measuredSwr, "the SWR measured there")->option_text("S");
    o.measuredROpt = app.add_option("--measured-r", o.measuredR, "the resistance measured there")
                         ->option_text("OHM");
}

// Which options need or exclude which, as CLI11 checks them in the parse.
void relateOptions(const Options& o) {
    o.coilLengthOpt->needs(o.formerOpt);
    o.coilPitchOpt->needs(o.formerOpt)->needs(o.simulateOpt);
    o.coilTurnsOpt->needs(o.formerOpt)->needs(o.simulateOpt);
    o.coilFormerOpt->needs(o.formerOpt);
    o.measuredOpt->needs(o.formerOpt)->needs(o.simulateOpt);
    o.measuredSwrOpt->needs(o.measuredOpt);
    o.measuredROpt->needs(o.measuredOpt);
    o.coilSwgOpt->needs(o.formerOpt);
    o.sweepOpt->excludes(o.distanceOpt)->excludes(o.formerOpt)->excludes(o.necOpt);
    o.csvOpt->needs(o.sweepOpt)->excludes(o.jsonOpt);
    o.sweepOpt->excludes(o.simulateOpt);
    o.z0Opt->needs(o.simulateOpt);
    o.plotOpt->needs(o.simulateOpt);
    o.sheetOpt->needs(o.simulateOpt)->needs(o.formerOpt);
    o.insulationErOpt->needs(o.insulationOpt);
    for (CLI::Option* modelOption : {o.heightOpt, o.coilQOpt, o.insulationOpt}) {
        modelOption->excludes(o.sweepOpt);
    }
}

// The design's numbers and the winding the calculator and --simulate build;
// returns the coil wire's SWG gauge.
double readDesign(const Options& o, Request& request) {
    DesignInputs& design = request.simulation.design;
    if (!o.given(o.distanceOpt) && !o.given(o.sweepOpt)) {
        throw UsageError("--coil-distance is required (or --sweep-b for a table)");
    }
    design.freqMHz = optionNumber("--freq", o.freq);
    design.totalLengthFt = optionNumber("--length", o.length);
    if (o.given(o.distanceOpt)) {
        design.centreToCoilFt = optionNumber("--coil-distance", o.distance);
    }
    // The gauges go to the calculations as text, as the window passes its
    // lists' text; a value that is no gauge is refused here already.
    optionGauge("--antenna-swg", o.antennaSwg);
    design.antennaSwgText = o.antennaSwg;
    if (!o.given(o.formerOpt)) {
        return 0;
    }
    const double coilGauge = optionGauge("--coil-swg", o.coilSwg);
    if (o.given(o.coilLengthOpt)) {
        design.winding = WindingInputs{optionNumber("--former-dia", o.formerDia),
                                       optionNumber("--coil-length", o.coilLength), o.coilSwg};
    } else if (!o.simulate) {
        throw UsageError("--former-dia needs --coil-length (or --simulate, which winds "
                         "the corrected coil)");
    }
    if (o.simulate) {
        CoilBuild build;
        build.formerDiaIn = optionNumber("--former-dia", o.formerDia);
        if (o.given(o.coilPitchOpt)) {
            build.pitchIn = optionNumber("--coil-pitch", o.coilPitch);
        }
        build.former = coilFormerNamed(o.coilFormer).value_or(CoilFormer::pvcPipe);
        if (o.given(o.coilTurnsOpt)) {
            request.simulation.options.givenTurns = optionNumber("--coil-turns", o.coilTurns);
        }
        request.simulation.options.build = build;
    }
    return coilGauge;
}

void readOutputs(const Options& o, Request& request) {
    if (o.given(o.sweepOpt)) {
        request.sweep = parseSweepRange(o.sweepB);
    }
    if (o.given(o.necOpt)) {
        if (o.necPath.empty()) {
            throw UsageError("--nec: the file name is empty");
        }
        if (o.necPath == "-" && o.json) {
            throw UsageError("--nec - and --json both write to standard output");
        }
        request.necPath = o.necPath;
    }
    if (o.given(o.plotOpt)) {
        if (o.plotPath.empty()) {
            throw UsageError("--plot: the file name is empty");
        }
        request.plotPath = o.plotPath;
    }
    if (o.given(o.sheetOpt)) {
        if (o.sheetPath.empty()) {
            throw UsageError("--sheet: the file name is empty");
        }
        if (o.sheetPath == "-") {
            throw UsageError("--sheet: the page goes to a file, not to standard output");
        }
        if (!isBuildSheetName(o.sheetPath)) {
            throw optionValueError("--sheet", o.sheetPath, "does not end in .pdf or .svg");
        }
        request.sheetPath = o.sheetPath;
    }
    request.simulate = o.simulate;
    request.format = o.json ? OutputFormat::Json : o.csv ? OutputFormat::Csv : OutputFormat::Text;
}

// The antenna as modelled, and the measurement for the trim.
void readModel(const Options& o, Request& request) {
    SimulationRequest& simulation = request.simulation;
    ModelOptions& model = simulation.options.model;
    if (o.given(o.heightOpt)) {
        model.heightFt = optionNumber("--height", o.height);
    }
    if (o.given(o.coilQOpt)) {
        model.coilQ = optionNumber("--coil-q", o.coilQ);
        model.coilQGiven = true;
    }
    if (o.given(o.z0Opt)) {
        simulation.options.z0Ohm = optionNumber("--z0", o.z0);
    }
    if (o.given(o.insulationOpt)) {
        model.insulation =
            Insulation{optionNumber("--insulation", o.insulation), kDefaultInsulationPermittivity};
        if (o.given(o.insulationErOpt)) {
            model.insulation->permittivity = optionNumber("--insulation-er", o.insulationEr);
        }
    }
    if (o.given(o.measuredOpt)) {
        simulation.measuredMHz = optionNumber("--measured", o.measured);
        if (o.given(o.measuredSwrOpt)) {
            simulation.readings.swr = optionNumber("--measured-swr", o.measuredSwr);
        }
        if (o.given(o.measuredROpt)) {
            simulation.readings.resistanceOhm = optionNumber("--measured-r", o.measuredR);
        }
    }
    for (const CLI::Option* modelOption : {o.heightOpt, o.coilQOpt, o.insulationOpt}) {
        if (modelOption->count() > 0 && !o.given(o.necOpt) && !o.simulate) {
            throw UsageError(modelOption->get_name() + " needs --nec or --simulate");
        }
    }
    if (o.simulate && o.necPath == "-") {
        throw UsageError("--nec - and --simulate both write to standard output");
    }
}

// The first input the simulation's rules refuse, named by its option and
// the text typed there.
void rejectRefusedInputs(const Options& o, const std::vector<const OptionGroup*>& groups,
                         const Request& request) {
    const std::vector<InputProblem> problems = simulationInputProblems(request.simulation);
    if (problems.empty()) {
        return;
    }
    const InputProblem& problem = problems.front();
    for (const OptionGroup* group : groups) {
        if (std::optional<UsageError> error = group->refused(problem)) {
            throw *error;
        }
    }
    if (problem.input == SimulationInput::AntennaWire) {
        throw UsageError("--antenna-wire-dia: the wire " + problem.why);
    }
    // Where each of the rest is typed.
    const std::pair<SimulationInput, std::pair<std::string_view, const std::string*>> typed[] = {
        {SimulationInput::Freq, {"--freq", &o.freq}},
        {SimulationInput::TotalLength, {"--length", &o.length}},
        {SimulationInput::CoilDistance, {"--coil-distance", &o.distance}},
        {SimulationInput::Height, {"--height", &o.height}},
        {SimulationInput::Insulation, {"--insulation", &o.insulation}},
        {SimulationInput::Permittivity, {"--insulation-er", &o.insulationEr}},
        {SimulationInput::FormerDia, {"--former-dia", &o.formerDia}},
        {SimulationInput::Pitch, {"--coil-pitch", &o.coilPitch}},
        {SimulationInput::GivenTurns, {"--coil-turns", &o.coilTurns}},
        {SimulationInput::CoilQ, {"--coil-q", &o.coilQ}},
        {SimulationInput::Z0, {"--z0", &o.z0}},
        {SimulationInput::Measured, {"--measured", &o.measured}},
        {SimulationInput::MeasuredSwr, {"--measured-swr", &o.measuredSwr}},
        {SimulationInput::MeasuredR, {"--measured-r", &o.measuredR}}};
    for (const auto& [input, option] : typed) {
        if (input == problem.input) {
            throw optionValueError(option.first, *option.second, problem.why);
        }
    }
    throw UsageError(problem.why); // an input no option names: a rule without its option
}

Request readRequest(const CLI::App& app, const Options& o, const UnitOptions& unitOptions,
                    const std::vector<const OptionGroup*>& groups) {
    rejectOptionsTakenAsValues(app);
    Request request;
    const double coilGauge = readDesign(o, request);
    readOutputs(o, request);
    readModel(o, request);
    unitOptions.apply(request);
    for (const OptionGroup* group : groups) {
        group->apply(request);
    }
    if (std::optional<CoilBuild>& build = request.simulation.options.build) {
        const std::optional<GivenWire>& wire = request.simulation.design.coilWire;
        build->wireDiaIn = wire ? wire->diameterIn : coilWireDiameter(coilGauge).value();
        build->wireName = gaugeName(wire, coilGauge).value_or("");
    }
    if (o.given(o.necOpt) || o.simulate) {
        rejectRefusedInputs(o, groups, request);
        request.simulation.options.feedLine = requestedFeedLine(request.simulation);
    }
    rejectSharedOutputs(request);
    return request;
}

} // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CLI::App app{"Designs the loading coils of a shortened (loaded) HF dipole.", "tarvix-design"};
    app.footer(kFooter);
    app.set_version_flag("--version", "tarvix-design " TARVIX_VERSION);
    Options options;
    addDesignOptions(app, options);
    addModelOptions(app, options);
    relateOptions(options);
    const UnitOptions unitOptions(app);
    const HangOptions hang(app, options.heightOpt);
    const FeedLineOptions line(app, options.simulateOpt);
    const TransmitOptions power(app, options.simulateOpt);

    CommandLine result;
    try {
        app.parse(argc, argv);
        result.request = readRequest(app, options, unitOptions, {&hang, &line, &power});
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
