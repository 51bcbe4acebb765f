// The inductance of the loading coils and the winding of one coil. Each term
// is computed and stored before the next one starts, so that a fault leaves
// the record exactly as far as the calculation got.
#include "calc/design_steps.h"

#include "calc/checked.h"
#include "calc/conversions.h"
#include "calc/fault.h"
#include "calc/wire_gauge.h"

namespace tarvix {

namespace {

// (ln(span * 24 / S) - 1) * (1 / span): the log term of one part of the wire.
// 24 converts the span in feet and the diameter in inches to a ratio of
// length to radius.
double logTerm(double spanFt, double wireDiaIn) {
    const double ratio = checked::div(checked::mul(spanFt, 24), wireDiaIn);
    const double bracket = checked::sub(checked::ln(ratio), 1);
    return checked::mul(bracket, checked::div(1, spanFt));
}

// Steps 1 to 3, before the antenna wire is read: X1, X2 and K.
void spansAndScale(DesignRecord& r) {
    const double f = r.freqMHz;
    const double a = r.totalLengthFt;
    const double b = r.centreToCoilFt;

    r.innerSpanFt = checked::sub(checked::div(234, f), b);
    r.outerSpanFt = checked::sub(checked::div(a, 2), b);
    r.scaleFactor = checked::div(1000000, checked::mul(checked::square(checked::mul(f, kPi)), 68));
}

// The steps after the antenna wire is read: T1, U1, T2, U2 and L.
void termsAndInductance(DesignRecord& r, StepOutput& out) {
    const double f = r.freqMHz;
    const double b = r.centreToCoilFt;
    r.innerLogTerm = logTerm(r.innerSpanFt, r.antennaWireDiaIn);
    r.innerFreqTerm =
        checked::sub(checked::square(checked::sub(1, checked::div(checked::mul(b, f), 234))), 1);
    r.outerLogTerm = logTerm(r.outerSpanFt, r.antennaWireDiaIn);
    r.outerFreqTerm =
        checked::sub(checked::square(checked::div(checked::mul(f, r.outerSpanFt), 234)), 1);

    const double inner = checked::mul(r.innerFreqTerm, r.innerLogTerm);
    const double outer = checked::mul(r.outerFreqTerm, r.outerLogTerm);
    r.inductanceUH = checked::mul(checked::sub(inner, outer), r.scaleFactor);

    out.setInductanceText(numberText(r.inductanceUH));
}

// The ten passes, once the coil wire's diameter is known.
void windingPasses(DesignRecord& r, double coilWireDiaIn, StepOutput& out) {
    r.coilWireDiaIn = coilWireDiaIn;
    r.coilRadiusIn = checked::div(r.coilFormerDiaIn, 2);
    static const std::string passBlank(kPassBlank);
    r.passCounter = 1;
    while (r.passCounter <= kWindingPasses) {
        // Wheeler's single-layer formula solved for the turns:
        // n = sqrt(L * (9r + 10l)) / r, inches and microhenries.
        const double sum =
            checked::add(checked::mul(9, r.coilRadiusIn), checked::mul(10, r.coilLengthIn));
        r.turnCount =
            checked::div(checked::sqrt(checked::mul(r.inductanceUH, sum)), r.coilRadiusIn);
        r.turnCount = Int(r.turnCount);
        // Close wound: the turns lie side by side.
        const double closeWoundIn = checked::mul(r.turnCount, r.coilWireDiaIn);
        r.revisedLengthIn = closeWoundIn;
        out.setTurnsText(numberText(r.turnCount));
        out.setRevisedLengthText(passBlank);
        // Rounded down to a tenth of an inch, and fed back as the next length.
        r.revisedLengthIn = checked::div(Int(checked::mul(closeWoundIn, 10)), 10);
        r.coilLengthIn = r.revisedLengthIn;
        out.passDone(r);
        r.passCounter = checked::add(r.passCounter, 1);
    }
    out.setRevisedLengthText(revisedLengthMessage(r.revisedLengthIn));
}

} // namespace

void computeInductance(DesignRecord& r, std::string_view antennaSwgText, StepOutput& out) {
    spansAndScale(r);
    r.antennaSwg = strictParse(antennaSwgText);
    if (const auto diameter = antennaWireDiameter(r.antennaSwg)) {
        r.antennaWireDiaIn = *diameter;
    }
    termsAndInductance(r, out);
}

void computeInductance(DesignRecord& r, WireDiameter antennaWire, StepOutput& out) {
    spansAndScale(r);
    r.antennaWireDiaIn = antennaWire.inches;
    termsAndInductance(r, out);
}

void computeWinding(DesignRecord& r, std::string_view coilSwgText, StepOutput& out) {
    r.coilSwg = strictParse(coilSwgText);
    const auto diameter = coilWireDiameter(r.coilSwg);
    if (!diameter) {
        // Without a wire diameter every revised length would come out as 0,
        // which looks like a result but is none.
        throw Fault(FaultKind::CoilGaugeNotInTable);
    }
    windingPasses(r, *diameter, out);
}

void computeWinding(DesignRecord& r, WireDiameter coilWire, StepOutput& out) {
    windingPasses(r, coilWire.inches, out);
}

std::string revisedLengthMessage(double revisedLengthIn, Units units) {
    constexpr std::string_view kBefore = "Revised length = ";
    const std::string length = revisedLengthText(revisedLengthIn, units);
    std::string message;
    message.reserve(kBefore.size() + length.size());
    message.append(kBefore).append(length);
    return message;
}

} // namespace tarvix
