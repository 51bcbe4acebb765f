// Change handlers of the input boxes and of L, and the two routines that
// enable the OK buttons. A value is never rejected: it is stored as typed and,
// when it is out of range, only reported, with the step-1 limits and messages
// of calc/step_one_limits.h.
#include "entry/handlers.h"

#include "calc/checked.h"
#include "calc/conversions.h"
#include "calc/fault.h"
#include "calc/step_one_limits.h"

#include <string>

namespace tarvix {

namespace {

bool isBlank(const std::string& text) {
    return trim(text).empty();
}

// What an OK button asks of each of its boxes: text, and a number that can
// be stored. One beyond the double range cannot: the box would show a value
// the record does not hold.
bool holdsValue(const std::string& text) {
    return !isBlank(text) && readsWithinRange(text);
}

} // namespace

void EntryHandlers::txtF_Change() {
    m_record.freqMHz = storedValue(Box::txtF, Button::Command1);
    if (frequencyOutOfRange(m_record.freqMHz)) {
        m_form.message(kFrequencyRangeMessage);
    }
    Validate();
}

void EntryHandlers::txtA_Change() {
    m_record.totalLengthFt = storedValue(Box::txtA, Button::Command1);
    if (isBlank(m_form.text(Box::txtF))) {
        // No limit can be derived without a frequency; the button is left
        // as it was.
        m_form.message(kFrequencyMissingMessage);
        return;
    }
    // A zero frequency stops the handler here.
    m_record.maxTotalLengthFt = totalLengthLimit(m_record.freqMHz);

    // An untrimmed comparison on purpose: a box holding blanks counts as
    // filled here, unlike in Validate.
    const double shortestTotalFt = shortestTotalLength(m_record.centreToCoilFt);
    if (shortestTotalFt > m_record.totalLengthFt && !m_form.text(Box::txtB).empty()) {
        m_form.message(shortTotalLengthMessage(shortestTotalFt));
    }
    if (aboveLimit(m_record.totalLengthFt, m_record.maxTotalLengthFt)) {
        m_form.message(totalLengthLimitMessage(m_record.maxTotalLengthFt));
    }
    Validate();
}

void EntryHandlers::txtB_Change() {
    m_record.centreToCoilFt = storedValue(Box::txtB, Button::Command1);
    // Uses A as it is now; a later change of A does not refresh it.
    m_record.maxCentreToCoilFt = coilDistanceLimit(m_record.totalLengthFt);
    if (aboveLimit(m_record.centreToCoilFt, m_record.maxCentreToCoilFt)) {
        m_form.message(coilDistanceLimitMessage(m_record.maxCentreToCoilFt));
    }
    Validate();
}

void EntryHandlers::txtD1_Change() {
    m_record.coilFormerDiaIn = storedValue(Box::txtD1, Button::Command2);
    Validate1();
}

void EntryHandlers::txtB1_Change() {
    m_record.coilLengthIn = storedValue(Box::txtB1, Button::Command2);
    Validate1();
}

double EntryHandlers::storedValue(Box box, Button okButton) {
    try {
        return lenientParse(m_form.text(box));
    } catch (const Fault&) {
        // The field keeps its old value, which the box no longer shows: the
        // step's OK button waits until the box holds a number again, so a
        // design never runs on a value the user cannot see.
        m_form.setEnabled(okButton, false);
        throw;
    }
}

void EntryHandlers::L_Change() {
    const double shown = strictParse(m_form.text(Box::L));
    // Rounded down, towards minus infinity, to one decimal. Only the box is
    // rounded: inductanceUH keeps its full precision for the winding.
    const double roundedDown = checked::div(Int(checked::mul(shown, 10)), 10);
    // A changed text runs this handler once more, nested; a value already at
    // one decimal gives back its own text, which ends the nesting there.
    m_form.setText(Box::L, numberText(roundedDown));
    Validate1();
}

void EntryHandlers::Validate() {
    // Presence is tested, not ranges: "0" or a lone "." counts as filled.
    m_form.setEnabled(Button::Command1, holdsValue(m_form.text(Box::txtF)) &&
                                            holdsValue(m_form.text(Box::txtA)) &&
                                            holdsValue(m_form.text(Box::txtB)));
}

void EntryHandlers::Validate1() {
    // All three terms are evaluated on every call, so a text in L that is not
    // a number stops this routine before Command2 is set, whatever the boxes
    // hold.
    const bool formerGiven = holdsValue(m_form.text(Box::txtD1));
    const bool lengthGiven = holdsValue(m_form.text(Box::txtB1));
    const bool inductanceNonZero = strictParse(m_form.text(Box::L)) != 0;
    m_form.setEnabled(Button::Command2, formerGiven && lengthGiven && inductanceNonZero);
}

} // namespace tarvix
