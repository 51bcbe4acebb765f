// The window's two fonts: the default font of captions, labels, input boxes,
// lists and buttons, and the bold result font of the result and summary boxes.
#pragma once

#include <QFont>
#include <QLatin1StringView>

#include <span>

namespace tarvix {

// A plain sans-serif dialog font at the largest pixel size, 11 at most, at
// which every label's caption fits the box the layout gives it.
QFont defaultFont();

// That pixel size for a font, found by laying every caption out at each size
// in turn. defaultFont measures only for a family it has no size for.
int fittingPixelSize(QFont font);

// The families defaultFont knows the size for without measuring.
struct FittedFamily {
    QLatin1StringView family;
    int pixelSize;
};
std::span<const FittedFamily> fittedFamilies();

// "MS Sans Serif" 12 point bold where the system has it, otherwise the
// closest sans-serif it has.
QFont resultFont();

} // namespace tarvix
