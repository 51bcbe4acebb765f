// Benchmarks of the calculation layer: a whole design from the record, each
// step on its own, and the three conversions between text and numbers.
#include "bench/bench_main.h"
#include "calc/coil_model.h"
#include "calc/conversions.h"
#include "calc/design_record.h"
#include "calc/design_steps.h"

#include <string>
#include <string_view>

namespace tarvix::bench {

namespace {

// The design the program's own walkthrough uses: 7 MHz, A = 60 ft, B = 20 ft,
// gauge 14 antenna wire; a 1.5 in former, a first guess of 3 in, gauge 20.
DesignRecord typedDesign() {
    DesignRecord record;
    record.freqMHz = 7;
    record.totalLengthFt = 60;
    record.centreToCoilFt = 20;
    record.coilFormerDiaIn = 1.5;
    record.coilLengthIn = 3;
    return record;
}

constexpr std::string_view kAntennaSwg = "14";
constexpr std::string_view kCoilSwg = "20";

void wholeDesign(benchmark::State& state) {
    const DesignRecord typed = typedDesign();
    KeptTexts sink;
    for (auto _ : state) {
        // Every pass overwrites the coil length, so each design starts afresh
        // from the typed values.
        DesignRecord record = typed;
        benchmark::DoNotOptimize(record);
        computeInductance(record, kAntennaSwg, sink);
        computeWinding(record, kCoilSwg, sink);
        benchmark::DoNotOptimize(record);
    }
}

void inductanceStep(benchmark::State& state) {
    const DesignRecord typed = typedDesign();
    KeptTexts sink;
    for (auto _ : state) {
        DesignRecord record = typed;
        benchmark::DoNotOptimize(record);
        computeInductance(record, kAntennaSwg, sink);
        benchmark::DoNotOptimize(record);
    }
}

void windingStep(benchmark::State& state) {
    DesignRecord afterStepOne = typedDesign();
    KeptTexts sink;
    computeInductance(afterStepOne, kAntennaSwg, sink);
    for (auto _ : state) {
        DesignRecord record = afterStepOne;
        benchmark::DoNotOptimize(record);
        computeWinding(record, kCoilSwg, sink);
        benchmark::DoNotOptimize(record);
    }
}

// A thin former and thick wire: the length still grows at the tenth pass.
void windingStepUnsettled(benchmark::State& state) {
    DesignRecord start;
    start.inductanceUH = 7;
    start.coilFormerDiaIn = 0.5;
    start.coilLengthIn = 2;
    KeptTexts sink;
    for (auto _ : state) {
        DesignRecord record = start;
        benchmark::DoNotOptimize(record);
        computeWinding(record, "10", sink);
        benchmark::DoNotOptimize(record);
    }
    if (sink.revisedLengthText != "Revised length = 18.4 inch") {
        state.SkipWithError("the winding did not run all ten passes");
    }
}

void lenientParseOf(benchmark::State& state, std::string_view text) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(text);
        double value = lenientParse(text);
        benchmark::DoNotOptimize(value);
    }
}

void strictParseOf(benchmark::State& state, std::string_view text) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(text);
        double value = strictParse(text);
        benchmark::DoNotOptimize(value);
    }
}

template <class Number> void numberTextOf(benchmark::State& state, Number value) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        std::string text = numberText(value);
        benchmark::DoNotOptimize(text);
    }
}

// A close-wound coil of SWG 20 on a 2 in former at 7 MHz: the field solution of
// every turn's surface currents.
void coilAtFrequencyOf(benchmark::State& state, double turns) {
    const CoilWinding coil{turns, enamelledDiameterIn(0.036), 2, 0.036};
    for (auto _ : state) {
        CoilAtFrequency atF = coilAtFrequency(coil, 7);
        benchmark::DoNotOptimize(atF);
    }
}

} // namespace

} // namespace tarvix::bench

int main(int argc, char** argv) {
    using namespace tarvix::bench;
    using benchmark::State;
    // The texts are what the boxes hold on the walkthrough: a typed value, the
    // full-precision inductance written to L, a gauge from a list.
    return runBenchmarks(
        argc, argv,
        {
            {"calc/whole_design", wholeDesign},
            {"calc/inductance_step", inductanceStep},
            {"calc/winding_step_10_passes", windingStep},
            {"calc/winding_step_10_passes_unsettled", windingStepUnsettled},
            {"calc/lenient_parse/7", [](State& s) { lenientParseOf(s, "7"); }},
            {"calc/lenient_parse/60.00", [](State& s) { lenientParseOf(s, "60.00"); }},
            {"calc/lenient_parse/5.53350041759205",
             [](State& s) { lenientParseOf(s, "5.53350041759205"); }},
            {"calc/strict_parse/14", [](State& s) { strictParseOf(s, "14"); }},
            {"calc/strict_parse/5.53350041759205",
             [](State& s) { strictParseOf(s, "5.53350041759205"); }},
            {"calc/number_text/5.533500417592047",
             [](State& s) { numberTextOf(s, 5.533500417592047); }},
            {"calc/number_text/25", [](State& s) { numberTextOf(s, 25.0); }},
            {"calc/number_text/single_60", [](State& s) { numberTextOf(s, 60.0F); }},
            {"calc/coil_at_frequency/10_turns", [](State& s) { coilAtFrequencyOf(s, 10); }},
            {"calc/coil_at_frequency/100_turns", [](State& s) { coilAtFrequencyOf(s, 100); }},
            {"calc/coil_at_frequency/400_turns", [](State& s) { coilAtFrequencyOf(s, 400); }},
            {"calc/coil_at_frequency/400.5_turns", [](State& s) { coilAtFrequencyOf(s, 400.5); }},
        });
}
