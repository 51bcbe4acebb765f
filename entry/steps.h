// The window's two OK buttons and its change handlers, as the entry checks'
// Form sees them: the desktop window and the browser's page run the same
// steps on the same boxes.
#pragma once

#include "calc/design_record.h"
#include "entry/form.h"
#include "entry/handlers.h"

#include <optional>

namespace tarvix {

// Command1: step 2's panel replaces step 1's, then the inductance is
// computed into L. The panels switch first: a fault in the calculation
// leaves step 2 shown and L as it was. Faults are shown as messages.
void Command1_Click(Form& form, DesignRecord& record);

// Command2: the summary and the winding's panels replace step 2's, the
// summary is filled with the stored values (a typed 7.10 shows as 7.1) and
// the gauge texts as they stand, then the coil is wound. The summary is
// filled before the winding, so a fault there leaves a full summary.
void Command2_Click(Form& form, DesignRecord& record);

// The handler run on every change of the box's text, by typing, deleting,
// pasting or the program's own writes; none for a box without one.
using ChangeHandler = void (EntryHandlers::*)();
std::optional<ChangeHandler> changeHandlerOf(Box box);

// The keystroke filter of a box: the numeric one for the five input boxes,
// the silent one for the summary boxes and the gauge lists; none for the
// result boxes, which are read-only.
enum class KeyFilter { None, Numeric, Discard };
KeyFilter keyFilterOf(Box box);

} // namespace tarvix
