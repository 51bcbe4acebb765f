// The window's two fonts: the default font of captions, labels, input boxes,
// lists and buttons, and the bold result font of the result and summary boxes.
#pragma once

#include <QFont>

namespace tarvix {

// A plain sans-serif dialog font at the largest pixel size, 11 at most, at
// which every label's caption fits the box the layout gives it.
QFont defaultFont();

// "MS Sans Serif" 12 point bold where the system has it, otherwise the
// closest sans-serif it has.
QFont resultFont();

} // namespace tarvix
