// A whole design from arbitrary numbers: the step-1 inductance and then the
// winding, on a record filled from the fuzz input. Every calculation either
// ends with a result or stops with a Fault; in both cases no field of the
// record holds an infinity or a NaN, after every winding pass included.
//
// Input: fields separated by '|', in this order: frequency, total length A,
// distance B, antenna gauge text, former diameter, coil length, coil gauge
// text, and a wire diameter left by an earlier lookup. Numbers are read with
// std::from_chars, independently of the program's own parse; a missing or
// unreadable number counts as 0. Gauge texts are passed on as they are.
#include "calc/conversions.h"
#include "calc/design_record.h"
#include "calc/design_steps.h"
#include "calc/fault.h"
#include "fuzz/fuzz_check.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using namespace tarvix;
using namespace tarvix::fuzz;

namespace {

std::vector<std::string_view> splitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    while (fields.size() < 7) {
        const auto bar = text.find('|');
        fields.push_back(text.substr(0, bar));
        if (bar == std::string_view::npos) {
            text = {};
        } else {
            text.remove_prefix(bar + 1);
        }
    }
    fields.push_back(text);
    return fields;
}

// A text that is no finite number counts as 0, as a blank box would: the
// record never receives an infinity or a NaN from the boxes (from_chars would
// read "inf" and "nan").
double number(std::string_view text) {
    double value = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && std::isfinite(value) ? value : 0;
}

void checkFinite(const DesignRecord& r, std::string_view when) {
    const double fields[] = {
        r.freqMHz,           r.totalLengthFt,   r.maxTotalLengthFt, r.centreToCoilFt,
        r.maxCentreToCoilFt, r.antennaSwg,      r.antennaWireDiaIn, r.innerSpanFt,
        r.outerSpanFt,       r.scaleFactor,     r.innerLogTerm,     r.innerFreqTerm,
        r.outerLogTerm,      r.outerFreqTerm,   r.inductanceUH,     r.coilFormerDiaIn,
        r.coilLengthIn,      r.coilSwg,         r.coilWireDiaIn,    r.coilRadiusIn,
        r.turnCount,         r.revisedLengthIn, r.passCounter,
    };
    // The two single-precision limits each sit in a double's room, so a
    // field left out of the list above shows as a size mismatch.
    static_assert(sizeof fields == sizeof(DesignRecord),
                  "a record field is missing from the check");
    for (const double field : fields) {
        check(std::isfinite(field), "infinity or NaN in the record", when);
    }
}

// Records what the calculations write and checks the record after each pass.
class CheckingOutput : public KeptTexts {
public:
    void passDone(const DesignRecord& record) override {
        ++passes;
        checkFinite(record, "after a winding pass");
        check(record.passCounter == passes, "winding pass counted wrongly");
        check(record.turnCount == std::floor(record.turnCount), "turn count is not whole");
        check(turnsText == numberText(record.turnCount), "txtN differs from the turn count");
    }

    int passes = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fields = splitFields(std::string_view(reinterpret_cast<const char*>(data), size));

    DesignRecord record;
    record.freqMHz = number(fields[0]);
    record.totalLengthFt = number(fields[1]);
    record.centreToCoilFt = number(fields[2]);
    record.coilFormerDiaIn = number(fields[4]);
    record.coilLengthIn = number(fields[5]);
    record.antennaWireDiaIn = number(fields[7]);
    record.coilWireDiaIn = record.antennaWireDiaIn;
    checkFinite(record, "before step 1");

    CheckingOutput out;
    try {
        computeInductance(record, fields[3], out);
        check(out.inductanceText == numberText(record.inductanceUH),
              "L does not show the inductance");
    } catch (const Fault&) {
        check(out.inductanceText.empty(), "a failed step 1 wrote L");
    }
    checkFinite(record, "after step 1");

    // Step 2 runs on whatever step 1 left, as the window lets it once L holds
    // a non-zero number.
    try {
        computeWinding(record, fields[6], out);
        check(out.passes == kWindingPasses, "winding stopped early without a fault");
        check(out.revisedLengthText == revisedLengthMessage(record.revisedLengthIn),
              "txtB2 does not hold the revised length");
        check(record.coilLengthIn == record.revisedLengthIn,
              "last revised length not fed back as the coil length");
    } catch (const Fault&) {
        check(out.passes < kWindingPasses, "a fault after the last pass");
    }
    checkFinite(record, "after step 2");
    return 0;
}
