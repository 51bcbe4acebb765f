// Benchmarks of the entry layer with no window: one keystroke through the
// numeric filter, the box's change handler and Validate/Validate1, and a
// megabyte pasted into an input box.
#include "bench/bench_form.h"
#include "bench/bench_main.h"
#include "calc/design_record.h"
#include "entry/handlers.h"

#include <cstddef>
#include <string>

namespace tarvix::bench {

namespace {

constexpr KeyAscii kBackspace = 8;
constexpr std::size_t kPasteBytes = std::size_t{1} << 20;

// The record, the form and the handlers wired together as the window owns
// them, with both steps filled in as on the walkthrough (7 MHz, A = 60 ft,
// B = 20 ft; L from step 1; a 1.5 in former, 3 in long). A trailing zero in
// each typed text lets a benchmark type one more "0" and take it back with
// backspace without changing any value, so no message is ever raised.
struct FilledForm {
    DesignRecord record;
    BenchForm form;
    EntryHandlers handlers{form, record};

    FilledForm() {
        form.attach(handlers);
        form.setText(Box::txtF, "7.0");
        form.setText(Box::txtA, "60.0");
        form.setText(Box::txtB, "20.0");
        form.setText(Box::L, "5.53350041759205");
        form.setText(Box::txtD1, "1.50");
        form.setText(Box::txtB1, "3.0");
    }

    // Empty when the form is as the benchmarks expect it.
    std::string problem() const {
        if (form.messages() != 0) {
            return "filling the form raised a message";
        }
        if (!form.enabled(Button::Command1) || !form.enabled(Button::Command2)) {
            return "filling the form did not enable both OK buttons";
        }
        return {};
    }
};

// One keystroke per iteration: a "0" typed at the end, then, on the next
// iteration, a backspace that removes it again.
void keystroke(benchmark::State& state, Box box) {
    FilledForm filled;
    if (const std::string problem = filled.problem(); !problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    bool typed = false;
    for (auto _ : state) {
        filled.form.keystroke(box, typed ? kBackspace : '0');
        typed = !typed;
    }
    if (filled.form.messages() != 0) {
        state.SkipWithError("a keystroke raised a message");
    }
}

// The filter alone, for a digit.
void numericFilter(benchmark::State& state) {
    BenchForm form;
    for (auto _ : state) {
        KeyAscii key = '5';
        benchmark::DoNotOptimize(key);
        key = numericKeyPress(key, form);
        benchmark::DoNotOptimize(key);
    }
}

// A paste that replaces the whole text of the box with a megabyte. Two texts
// that differ in their last character take turns, so every paste is a change.
void paste(benchmark::State& state, Box box, const std::string& head, char fill,
           bool expectMessages) {
    FilledForm filled;
    if (const std::string problem = filled.problem(); !problem.empty()) {
        state.SkipWithError(problem.c_str());
        return;
    }
    std::string first = head;
    first.resize(kPasteBytes, fill);
    std::string second = first;
    second.back() = fill == '1' ? '2' : '1';
    bool firstNext = true;
    for (auto _ : state) {
        filled.form.setText(box, firstNext ? first : second);
        firstNext = !firstNext;
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kPasteBytes));
    if ((filled.form.messages() != 0) != expectMessages) {
        state.SkipWithError(expectMessages ? "the paste raised no message"
                                           : "the paste raised a message");
    }
}

} // namespace

} // namespace tarvix::bench

int main(int argc, char** argv) {
    using namespace tarvix::bench;
    using benchmark::State;
    using tarvix::Box;
    return runBenchmarks(
        argc, argv,
        {
            {"entry/numeric_filter", numericFilter},
            {"entry/keystroke/txtF", [](State& s) { keystroke(s, Box::txtF); }},
            {"entry/keystroke/txtA", [](State& s) { keystroke(s, Box::txtA); }},
            {"entry/keystroke/txtB", [](State& s) { keystroke(s, Box::txtB); }},
            {"entry/keystroke/txtD1", [](State& s) { keystroke(s, Box::txtD1); }},
            {"entry/keystroke/txtB1", [](State& s) { keystroke(s, Box::txtB1); }},
            // 7.000...0 with a megabyte of zeros: a frequency in range, no
            // message.
            {"entry/paste_1MiB/txtF/7.000",
             [](State& s) { paste(s, Box::txtF, "7.", '0', false); }},
            {"entry/paste_1MiB/txtA/60.000",
             [](State& s) { paste(s, Box::txtA, "60.", '0', false); }},
            // A megabyte of digits is beyond any double: the overflow fault
            // is reported as a message each time.
            {"entry/paste_1MiB/txtF/111...1", [](State& s) { paste(s, Box::txtF, "", '1', true); }},
        });
}
