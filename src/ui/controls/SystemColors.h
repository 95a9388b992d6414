#pragma once
// Colour values of the program (0x00BBGGRR, or 0x80000000 + n for system colour n) and their
// translation to Qt colours. System colours follow the widget palette so that they change with
// the desktop theme.

#include <QColor>
#include <QPalette>

#include "Colors.h"

#include <cstdint>

namespace kestrund {


// The palette entry that plays the part of system colour n (only the low byte of n counts,
// as with the platform's own lookup); unknown numbers give black.
QColor SystemColorToQColor(unsigned n, const QPalette& palette);

// Any colour value as a Qt colour; system colours are looked up in the given palette.
QColor ColorToQColor(TColor color, const QPalette& palette);
// Same, with the application's palette.
QColor ColorToQColor(TColor color);

// A Qt colour as a plain 0x00BBGGRR value (alpha dropped).
TColor QColorToColor(const QColor& color);

} // namespace kestrund
