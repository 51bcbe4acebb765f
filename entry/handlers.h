// The window's event handlers for data entry: keystroke filters, the change
// handlers of the input boxes and of L, and the two routines that enable the
// OK buttons. Handler names are the window's own (control_event), kept as the
// program has always named them.
#pragma once

#include "calc/design_record.h"
#include "entry/form.h"

namespace tarvix {

// Character code of a classic key-press event: 8 backspace, 13 enter, 27
// escape, 1..26 for Ctrl+letter, printable characters as their code point.
// 0 means the character is discarded.
using KeyAscii = int;

// Digits, "." and backspace pass; anything else is discarded and the user is
// told "Type only numbers". Used by txtF, txtA, txtB, txtD1 and txtB1.
KeyAscii numericKeyPress(KeyAscii key, Form& form);

// Discards every character, silently. Used by the summary boxes and the text
// field of the two gauge lists.
KeyAscii discardKeyPress(KeyAscii key);

class EntryHandlers {
public:
    EntryHandlers(Form& form, DesignRecord& record) : m_form(form), m_record(record) {}

    // Run on every change of the box's text. They may throw Fault (a zero
    // frequency, a text in L that is not a number); see reportFaults.
    void txtF_Change();
    void txtA_Change();
    void txtB_Change();
    void txtD1_Change();
    void txtB1_Change();
    void L_Change();

    // Enable their OK button when each of its boxes holds text, and none
    // holds a number beyond the double range.
    void Validate();  // enables Command1
    void Validate1(); // enables Command2

private:
    // The lenient parse of the box. A number beyond range disables the OK
    // button before the fault goes on to stop the handler.
    double storedValue(Box box, Button okButton);

    Form& m_form;
    DesignRecord& m_record;
};

// Runs one handler; a Fault it throws stops it and is shown to the user as a
// message. Every event the window handles goes through here.
template <class Handler> void reportFaults(Form& form, Handler&& handler);

} // namespace tarvix

#include "entry/report_faults.h"
