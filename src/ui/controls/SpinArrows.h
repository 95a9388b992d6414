#pragma once
// The built-in arrow images of the spin buttons, drawn by the program so that they stay
// crisp at their exact pixel sizes: 9 x 6 for normal arrows, 7 x 5 for small ones.

#include <QImage>
#include <QPalette>
#include <QStringView>

namespace kestrund {

// One of "SpinUp", "SpinDown", "InActiveSpinUp", "InActiveSpinDown", "SmallSpinUp",
// "SmallSpinDown", "InActiveSmallSpinUp", "InActiveSmallSpinDown"; a null image for any other
// name. Arrows are drawn in the palette's button text colour (greyed for the inactive ones) on
// a transparent ground.
QImage SpinArrowImage(QStringView name, const QPalette& palette);

// The name of the built-in arrow for a direction, size and state.
QStringView SpinArrowName(bool up, bool small, bool enabled);

} // namespace kestrund
