#pragma once
// Pieces the main window's files share.

#include "Pixel.h"

#include <QIcon>

class QObject;

namespace kestrund {

// 18 x 14 menu image of a colour.
QIcon Swatch(TColor color);
// The help context a widget carries, for the help commands.
void SetHelp(QObject* widget, int context);

} // namespace kestrund
