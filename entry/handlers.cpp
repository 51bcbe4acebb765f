// Change handlers of the input boxes and of L, and the two routines that
// enable the OK buttons. A value is never rejected: it is stored as typed and,
// when it is out of range, only reported. The message texts are kept word for
// word as users have always seen them, spelling and blanks included.
#include "entry/handlers.h"

#include "calc/checked.h"
#include "calc/conversions.h"
#include "calc/fault.h"

#include <string>

namespace tarvix {

namespace {

bool isBlank(const std::string& text) {
    return trim(text).empty();
}

// A number beyond the double range cannot be stored: the box would show a
// value the record does not hold.
bool storable(const std::string& text) {
    try {
        static_cast<void>(lenientParse(text));
        return true;
    } catch (const Fault&) {
        return false;
    }
}

// What an OK button asks of each of its boxes: text, and a number that can
// be stored.
bool holdsValue(const std::string& text) {
    return !isBlank(text) && storable(text);
}

} // namespace

void EntryHandlers::txtF_Change() {
    m_record.freqMHz = storedValue(Box::txtF, Button::Command1);
    // The lower bound really is 1 MHz although the message says 1.5.
    if (m_record.freqMHz > 30 || !(m_record.freqMHz >= 1)) {
        m_form.message("Input HF range only (1.5 to 30MHz)");
    }
    Validate();
}

void EntryHandlers::txtA_Change() {
    m_record.totalLengthFt = storedValue(Box::txtA, Button::Command1);
    if (isBlank(m_form.text(Box::txtF))) {
        // No limit can be derived without a frequency; the button is left
        // as it was.
        m_form.message("Input a value for frequency");
        return;
    }
    // A full-size half-wave wire dipole is 468/F ft; a loaded one is allowed
    // at most 90 % of that, 421.2/F, in whole feet. A zero frequency stops the
    // handler here.
    m_record.maxTotalLengthFt = singleRound(Int(checked::div(421.2, m_record.freqMHz)));

    // An untrimmed comparison on purpose: a box holding blanks counts as
    // filled here, unlike in Validate.
    const double shortestTotalFt = checked::mul(2.6, m_record.centreToCoilFt);
    if (shortestTotalFt > m_record.totalLengthFt && !m_form.text(Box::txtB).empty()) {
        m_form.message("A ahould be larger than" + std::string(" ") + numberText(shortestTotalFt) +
                       " ft");
    }
    // The limit is single precision; A is compared with it at the same
    // precision, so A equal to the limit passes.
    if (singleRound(m_record.totalLengthFt) > m_record.maxTotalLengthFt) {
        m_form.message(" A should be smaller than " + std::string(" ") +
                       numberText(m_record.maxTotalLengthFt) + " ft");
    }
    Validate();
}

void EntryHandlers::txtB_Change() {
    m_record.centreToCoilFt = storedValue(Box::txtB, Button::Command1);
    // 80 % of one leg, in whole feet: the product first, then halved. It uses
    // A as it is now; a later change of A does not refresh it.
    m_record.maxCentreToCoilFt =
        singleRound(Int(checked::div(checked::mul(m_record.totalLengthFt, 0.8), 2)));
    if (singleRound(m_record.centreToCoilFt) > m_record.maxCentreToCoilFt) {
        m_form.message("B should be lower than" + std::string(" ") +
                       numberText(m_record.maxCentreToCoilFt) + " ft");
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
