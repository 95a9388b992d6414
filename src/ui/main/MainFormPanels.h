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
// The help context shown for a right click at pos in root: that of the deepest control there
// that has one (a label's Tag, another control's HelpContext), else root's own.
int HelpContextAt(QWidget* root, const QPoint& pos);

} // namespace kestrund
